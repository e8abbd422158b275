#include "platform/file_requests.h"

bool system_file_request(bool save, std::string& path);  // file_requests_win32/_native.cpp

namespace {
FileRequestHandler g_handler = nullptr;
}

void set_file_request_handler(FileRequestHandler handler) { g_handler = handler; }

bool ask_open_battle_file(std::string& path) {
  return g_handler ? g_handler(false, path) : system_file_request(false, path);
}

bool ask_save_battle_file(std::string& path) {
  return g_handler ? g_handler(true, path) : system_file_request(true, path);
}
