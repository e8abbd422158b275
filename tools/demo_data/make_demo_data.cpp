// make_demo_data OUTDIR: writes the demo game data folder and three battle files.
#include <cstdio>

#include "tools/demo_data/demo_data.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "用法：make_demo_data 输出文件夹\n");
    return 2;
  }
  std::string error = WriteDemoData(argv[1]);
  if (!error.empty()) {
    fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  return 0;
}
