#include "platform/file_requests.h"
#include "platform/system.h"

// No file dialogs natively: a request without a test handler is a cancel.
bool SystemFileRequest(bool, std::string&) { return false; }

void ProposeSaveName(const std::string&) {}
