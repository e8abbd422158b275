// make_icon FILE.ico: writes the editor's application icon (kept as app/btl_editor.ico).
#include <cstdio>

#include "base/files.h"
#include "tools/icon/app_icon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "用法：make_icon 图标文件.ico\n");
    return 2;
  }
  std::string icon = MakeAppIconFile();
  FILE* f = OpenFile(argv[1], "wb");
  bool ok = f && !icon.empty() && fwrite(icon.data(), 1, icon.size(), f) == icon.size();
  if (f) ok = fclose(f) == 0 && ok;
  if (!ok) {
    fprintf(stderr, "无法写入 %s\n", argv[1]);
    return 1;
  }
  return 0;
}
