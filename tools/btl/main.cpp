#include "tools/btl/companion.h"
#include "tools/btl/console.h"

int main(int argc, char** argv) {
  std::string out, err;
  int status = RunCompanion(ProgramArguments(argc, argv), out, err);
  WriteText(Stream::kOut, out);
  WriteText(Stream::kErr, err);
  return status;
}
