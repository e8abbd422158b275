#include <cstdio>
#include <string>
#include <vector>

#include "tools/btl/companion.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include "base/wide.h"

// Arguments as UTF-8, whatever the system's code page.
static std::vector<std::string> Arguments(int, char**) {
  int n = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n);
  std::vector<std::string> args;
  for (int i = 1; i < n; ++i) args.push_back(Utf8FromWide(wide[i]));
  LocalFree(wide);
  SetConsoleOutputCP(CP_UTF8);
  return args;
}
#else
static std::vector<std::string> Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}
#endif

int main(int argc, char** argv) {
  std::string out, err;
  int status = RunCompanion(Arguments(argc, argv), out, err);
  fwrite(out.data(), 1, out.size(), stdout);
  fwrite(err.data(), 1, err.size(), stderr);
  return status;
}
