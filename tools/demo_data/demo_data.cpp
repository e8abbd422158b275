#include "tools/demo_data/demo_data.h"

#include <cstdio>

#include "base/files.h"

std::string MakeDemoFiles(std::vector<DemoFile>& files) {
  files.clear();
  DemoWorld world = MakeDemoWorld();
  DemoCatalogs catalogs = MakeDemoCatalogs();
  files.push_back({DataPath("world.bin"), EncodeWorldMap(world)});
  std::string error = MakeCatalogFiles(catalogs, files);
  if (!error.empty()) return error;
  MakePictureFiles(catalogs, files);
  files.push_back({"demo_small.btl", EncodeScenario(MakeSmallScenario(world, catalogs))});
  files.push_back({"demo_large.btl", EncodeScenario(MakeLargeScenario(world, catalogs))});
  files.push_back({"demo_messy.btl", EncodeScenario(MakeMessyScenario(world, catalogs))});
  return {};
}

namespace {

std::string WriteWholeFile(const std::string& path, const std::string& bytes) {
  FILE* f = OpenFile(path, "wb");
  if (!f) return "无法创建文件：" + path;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = fclose(f) == 0 && ok;
  return ok ? std::string() : "写入文件失败：" + path;
}

}  // namespace

std::string WriteDemoData(const std::string& out_dir) {
  std::vector<DemoFile> files;
  std::string error = MakeDemoFiles(files);
  if (!error.empty()) return error;
  const std::string folders[] = {out_dir, JoinPath(out_dir, DataPath("")),
                                 JoinPath(out_dir, PicturePath("")),
                                 JoinPath(out_dir, PicturePath("smallheads"))};
  for (const std::string& folder : folders)
    if (!MakeFolder(folder)) return "无法创建文件夹：" + folder;
  for (const DemoFile& f : files) {
    error = WriteWholeFile(JoinPath(out_dir, f.path), f.bytes);
    if (!error.empty()) return error;
  }
  return {};
}
