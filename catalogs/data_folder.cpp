#include "catalogs/data_folder.h"

#include "base/files.h"
#include "base/status.h"
#include "scenario/world_map.h"

namespace {

std::string Missing(const std::string& folder, const FileExistsFn& exists) {
  std::vector<std::string> missing;
  for (const std::string& f : RequiredDataFiles())
    if (!exists(JoinPath(folder, f))) missing.push_back(f);
  if (missing.empty()) return {};
  if (!exists(JoinPath(folder, "数据"))) return "没有“数据”文件夹";
  std::string out = "缺少 " + missing[0];
  if (missing.size() > 1) out += " 等 " + std::to_string(missing.size()) + " 个文件";
  return out;
}

}  // namespace

std::vector<std::string> RequiredDataFiles() {
  return {WorldMapPath(),
          DataPath("RankSettings.json"),
          DataPath("CountrySettings.json"),
          DataPath("ArmySettings.json"),
          DataPath("CommanderSettings.json"),
          DataPath("BuildingSettings.json")};
}

DataFolderChoice ChooseDataFolder(const std::string& current, const std::string& programFolder,
                                  const FileExistsFn& exists) {
  const std::string inCurrent = Missing(current, exists);
  if (inCurrent.empty()) return {true, current, {}};
  const bool same = programFolder.empty() || programFolder == current;
  const std::string inProgram = same ? inCurrent : Missing(programFolder, exists);
  if (!same && inProgram.empty()) return {true, programFolder, {}};
  std::string text =
      "没有找到游戏数据（“数据”文件夹中的 world.bin 和五个目录文件）。找过的文件夹：\n";
  if (same) {
    text += "  当前文件夹，也是程序所在的文件夹：" + current + "（" + inCurrent + "）\n";
  } else {
    text += "  当前文件夹：" + current + "（" + inCurrent + "）\n";
    text += "  程序所在的文件夹：" + programFolder + "（" + inProgram + "）\n";
  }
  text +=
      "\n请把编辑器放进游戏的文件夹（同时含有“数据”和“图片”的那个文件夹），或者从那个文件夹"
      "启动它。编辑器现在退出。";
  return {false, {}, text};
}

DataFolderChoice FindAndEnterDataFolder() {
  DataFolderChoice choice = ChooseDataFolder(CurrentFolderPath(), ProgramFolderPath(),
                                             [](const std::string& p) { return FileExists(p); });
  if (choice.found && !EnterFolder(choice.folder))
    return {
        false, {}, "无法进入游戏数据所在的文件夹" + Quoted(choice.folder) + "。编辑器现在退出。"};
  return choice;
}
