// The native build has no picture decoder (GDI+ is Windows only): every picture is reported
// as not loadable, exactly as a missing file would be, and surfaces stay empty. Native tests
// of drawing fill surfaces themselves.
#include "catalogs/artwork.h"
#include "platform/prompts.h"

void start_pictures() {}

bool load_picture(Surface& surface, const std::string& utf8Path, double, uint32_t) {
  ShowMessage(nullptr, utf8Path, "文件缺失", kMbOk);
  set_target(&surface);
  return false;
}
