#include "btl/companion.h"
#include "btl/console.h"

int main(int argc, char** argv) {
  std::string out, err;
  int status = RunCompanion(ProgramArguments(argc, argv), out, err, ReadStandardInput);
  // Output that never arrived (a closed pipe, a full disk) is trouble, not success.
  if (!WriteText(Stream::kOut, out)) {
    err += "错误: 无法写入标准输出。\n";
    status = kExitTrouble;
  }
  WriteText(Stream::kErr, err);
  return status;
}
