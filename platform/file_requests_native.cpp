#include <string>

// No file dialogs natively: a request without a test handler is a cancel.
bool system_file_request(bool, std::string&) { return false; }
