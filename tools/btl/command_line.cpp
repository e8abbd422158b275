#include "tools/btl/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <sstream>

#include "base/version.h"

namespace {

const char kFooter[] =
    "\n世界地图从“数据/world.bin”读取（相对于当前文件夹）；--data 指定另一个数据文件夹，"
    "可以写在命令行的任何位置。\n"
    "退出码: 0 成功，1 发现问题或差异，2 命令行有误或文件无法读写（此时不写任何文件）。\n"
    "每个命令的说明: btl 命令 --help\n";

// The help's headings and value names in Chinese.
void ChineseLabels(CLI::App& app) {
  auto f = app.get_formatter();
  f->label("Usage", "用法");
  f->label("OPTIONS", "选项");
  f->label("SUBCOMMAND", "命令");
  f->label("SUBCOMMANDS", "命令");
  f->label("Positionals", "参数");
  f->label("Options", "选项");
  f->label("Subcommands", "命令");
  f->label("REQUIRED", "必需");
  f->label("TEXT", "文本");
  f->label("INT", "整数");
  f->column_width(34);
}

// What kind of mistake CLI11 found, in the user's words; its own sentence follows in brackets.
std::string WhatIsWrong(const CLI::ParseError& e) {
  if (dynamic_cast<const CLI::ExtrasError*>(&e)) return "多余的参数";
  if (dynamic_cast<const CLI::RequiredError*>(&e)) return "缺少命令或参数";
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&e)) return "选项后的参数个数不对";
  if (dynamic_cast<const CLI::ConversionError*>(&e)) return "参数不是所需的整数";
  if (dynamic_cast<const CLI::ValidationError*>(&e)) return "参数的值无效";
  return "无法理解的命令行";
}

struct Parser {
  CLI::App app{"btl：用编辑器的核心读取、检查和重新保存战役文件（.btl）。", "btl"};
  std::vector<int32_t> range;

  explicit Parser(CommandLine& line) {
    ChineseLabels(app);
    app.option_defaults()->group("选项");
    app.set_help_flag("-h,--help", "显示说明后退出");
    app.set_version_flag("--version", std::string("btl ") + kProgramVersion, "显示版本后退出");
    app.add_option("--data", line.dataDir, "数据文件夹（默认为当前文件夹下的“数据”）")
        ->type_name("文件夹");
    app.footer(kFooter);
    // Options of the whole program (--data) are also taken after the command.
    app.fallthrough();
    app.require_subcommand(1);

    CLI::App* info = Add(line, Command::kInfo, "info",
                         "显示文件头、地图范围、记录数、军团、将军和附加数据；数据文件夹中有游戏目录"
                         "时带上国家和将军的名称");
    info->add_option("文件", line.input, "战役文件")->required()->type_name("");
    info->add_flag("--json", line.json, "以一个 JSON 文档输出同样的内容");
    CLI::App* check = Add(line, Command::kCheck, "check",
                          "检查文件能否载入，按类列出范围外的记录、同一格上的多条记录、16 位位置"
                          "无法表示的格子、不属于任何军团的归属、超出世界地图的范围、保存会改变"
                          "什么，以及（数据文件夹中有游戏目录时）编辑器问题报告的各项；"
                          "退出码 0 没有发现，1 有发现，2 无法载入");
    check->add_option("文件", line.input, "战役文件")->required()->type_name("");
    check->add_flag("--all", line.all, "列出全部，不只每类的前 20 行");
    check->add_flag("--json", line.json, "以一个 JSON 文档输出同样的内容");
    CLI::App* resave = Add(line, Command::kResave, "resave",
                           "按文件自己的范围（或 --range 给定的范围）载入再保存，与编辑器按 S 相同；"
                           "文件的范围为空或超出世界地图时不保存，需用 --range 指定范围");
    resave->add_option("输入", line.input, "战役文件")->required()->type_name("");
    resave->add_option("输出", line.output, "保存到的文件")->required()->type_name("");
    resave->add_option("--range", range, "保存的地图范围: 起点列 起点行 宽 高")
        ->expected(4)
        ->type_name("整数");
    CLI::App* exporter = Add(line, Command::kExport, "export",
                             "把整个文件按文件中的顺序写成 JSON 文本（UTF-8），import 能由它写回"
                             "完全相同的文件；记录的 column 和 row 只供阅读");
    exporter->add_option("输入", line.input, "战役文件")->required()->type_name("");
    exporter->add_option("输出", line.output, "写入的 JSON 文件")->required()->type_name("");
    CLI::App* importer = Add(line, Command::kImport, "import",
                             "由 export 写的（或手工改过的）JSON 文本写回战役文件；有错的文本"
                             "会指出 JSON 路径和行号，不写任何文件");
    importer->add_option("输入", line.input, "JSON 文件")->required()->type_name("");
    importer->add_option("输出", line.output, "保存到的战役文件")->required()->type_name("");
    CLI::App* diff = Add(line, Command::kDiff, "diff",
                         "按文件头、军团、归属、建筑、部队、将军和附加数据列出两个文件的不同；"
                         "退出码 0 相同，1 不同，2 出错");
    diff->add_option("文件一", line.input, "战役文件")->required()->type_name("");
    diff->add_option("文件二", line.output, "战役文件")->required()->type_name("");
    diff->add_flag("--all", line.all, "列出全部不同，不只每类的前 20 处");
  }

  CLI::App* Add(CommandLine& line, Command command, const char* name, const char* description) {
    CLI::App* sub = app.add_subcommand(name, description);
    sub->group("命令");
    sub->get_help_ptr()->group("选项");
    sub->parse_complete_callback([&line, command] { line.command = command; });
    return sub;
  }
};

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& line, std::string& out,
                      std::string& err, int& status) {
  line = CommandLine{};
  Parser parser(line);
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    parser.app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    out += parser.app.help();
    status = kExitOk;
    return false;
  } catch (const CLI::CallForVersion& e) {
    out += std::string(e.what()) + "\n";
    status = kExitOk;
    return false;
  } catch (const CLI::ParseError& e) {
    // A word that names no command is left over when CLI11 finds no command.
    std::vector<std::string> left = parser.app.remaining();
    if (parser.app.get_subcommands().empty() && !left.empty()) {
      err += "错误: 没有名为 " + left.front() + " 的命令。\n";
      err += "用法见 btl --help。\n";
      status = kExitTrouble;
      return false;
    }
    err += "错误: " + WhatIsWrong(e) + "（" + e.what() + "）。\n";
    err += "用法见 btl --help 或 btl 命令 --help。\n";
    status = kExitTrouble;
    return false;
  }
  if (parser.range.size() == 4) {
    line.hasRange = true;
    line.range = {parser.range[0], parser.range[1], parser.range[2], parser.range[3]};
  }
  return true;
}
