#include "platform/file_requests.h"

#include "platform/system.h"

namespace {
FileRequestHandler g_handler = nullptr;
}

void SetFileRequestHandler(FileRequestHandler handler) { g_handler = handler; }

bool AskOpenBattleFile(std::string& path) {
  return g_handler ? g_handler(false, path) : SystemFileRequest(false, path);
}

bool AskSaveBattleFile(std::string& path) {
  return g_handler ? g_handler(true, path) : SystemFileRequest(true, path);
}
