#include "tools/demo_data/demo_data.h"

#include <cstdio>

#include "base/files.h"
#include "tools/demo_data/platform.h"

std::string make_demo_files(std::vector<DemoFile>& files) {
  files.clear();
  DemoWorld world = make_demo_world();
  DemoCatalogs catalogs = make_demo_catalogs();
  files.push_back({data_path("world.bin"), encode_world_map(world)});
  std::string error = make_catalog_files(catalogs, files);
  if (!error.empty()) return error;
  make_picture_files(catalogs, files);
  files.push_back({"demo_small.btl", encode_scenario(make_small_scenario(world, catalogs))});
  files.push_back({"demo_large.btl", encode_scenario(make_large_scenario(world, catalogs))});
  files.push_back({"demo_messy.btl", encode_scenario(make_messy_scenario(world, catalogs))});
  return {};
}

namespace {

std::string write_file(const std::string& path, const std::string& bytes) {
  FILE* f = open_file(path, "wb");
  if (!f) return "无法创建文件：" + path;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = fclose(f) == 0 && ok;
  return ok ? std::string() : "写入文件失败：" + path;
}

}  // namespace

std::string write_demo_data(const std::string& out_dir) {
  std::vector<DemoFile> files;
  std::string error = make_demo_files(files);
  if (!error.empty()) return error;
  const std::string folders[] = {out_dir, join_path(out_dir, data_path("")),
                                 join_path(out_dir, picture_path("")),
                                 join_path(out_dir, picture_path("smallheads"))};
  for (const std::string& folder : folders)
    if (!make_folder(folder)) return "无法创建文件夹：" + folder;
  for (const DemoFile& f : files) {
    error = write_file(join_path(out_dir, f.path), f.bytes);
    if (!error.empty()) return error;
  }
  return {};
}
