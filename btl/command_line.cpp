#include "btl/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <sstream>

#include "base/version.h"
#include "btl/render.h"

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
  std::string prefer;

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

    CLI::App* info =
        Add(line, Command::kInfo, "info",
            "显示文件头、地图范围、记录数、军团、将军和附加数据；数据文件夹中有游戏目录"
            "时带上国家和将军的名称");
    info->add_option("文件", line.input, "战役文件；- 为标准输入")->required()->type_name("");
    info->add_flag("--json", line.json, "以一个 JSON 文档输出同样的内容");
    CLI::App* check = Add(line, Command::kCheck, "check",
                          "检查文件能否载入，按类列出范围外的记录、同一格上的多条记录、16 位位置"
                          "无法表示的格子、不属于任何军团的归属、超出世界地图的范围、保存会改变"
                          "什么，以及（数据文件夹中有游戏目录时）编辑器问题报告的各项；"
                          "退出码 0 没有发现，1 有发现，2 无法载入");
    check->add_option("文件", line.input, "战役文件；- 为标准输入")->required()->type_name("");
    check->add_flag("--all", line.all, "列出全部，不只每类的前 20 行");
    check->add_flag("--json", line.json, "以一个 JSON 文档输出同样的内容");
    CLI::App* resave =
        Add(line, Command::kResave, "resave",
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
    exporter->add_option("输入", line.input, "战役文件；- 为标准输入")->required()->type_name("");
    exporter->add_option("输出", line.output, "写入的 JSON 文件；不写或写 - 时输出到标准输出")
        ->type_name("");
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
    CLI::App* merge =
        Add(line, Command::kMerge, "merge",
            "三方合并（可作 git 的合并程序）: 以共同的版本为准，只有一方改了的取那一方，"
            "两方改得相同的取一次，两方把同一处改得不同的是冲突；逐格比较归属、建筑和部队，"
            "逐项比较军团、将军和文件头的各个字段，附加数据整体比较。三个文件的地图范围"
            "须相同。一格上有多条记录时取文件中最后一条（保存时保留的那条），合并结果每格"
            "一条、按位置顺序写出，所以编辑器保存的文件合并后仍是保存的形式；两个文件字节"
            "相同时原样取第三个（或我方）的字节。有冲突时列出每处冲突，冲突处取我方"
            "（或 --prefer 指定的一方），退出码 1（给了 --prefer 时为 0）；无法合并时退出码 2，"
            "不写文件");
    merge->add_option("共同版本", line.input, "两方共同的祖先版本")->required()->type_name("");
    merge->add_option("我方", line.ours, "我方的版本")->required()->type_name("");
    merge->add_option("对方", line.theirs, "对方的版本")->required()->type_name("");
    merge->add_option("-o,--output", line.output, "合并结果写入的文件（可以是我方的文件）")
        ->required()
        ->type_name("文件");
    merge->add_option("--prefer", prefer, "冲突处取哪一方: ours（我方）或 theirs（对方）")
        ->check(CLI::IsMember({"ours", "theirs"}))
        ->type_name("ours|theirs");
    CLI::App* blank =
        Add(line, Command::kNew, "new",
            "新建一个空白的战役文件: 给定的地图范围和军团，没有归属、建筑、部队和将军；"
            "范围须在世界地图之内");
    blank->add_option("输出", line.output, "保存到的战役文件")->required()->type_name("");
    blank->add_option("--range", range, "地图范围: 起点列 起点行 宽 高")
        ->expected(4)
        ->required()
        ->type_name("整数");
    blank
        ->add_option("--teams", line.teams,
                     "各军团的国家（编号，或数据文件夹中有国家目录时也可以写名称），用逗号分开")
        ->type_name("国家,国家,…");
    CLI::App* render =
        Add(line, Command::kRender, "render",
            "把战役画成 PNG 图片，与编辑器的地图一样: 交错的六角格按归属的颜色或海的颜色，"
            "带上“图片”文件夹（数据文件夹旁边的）中的旗帜、城市图、满级标记、设施和防空图标，"
            "有带中文字形的字体时写上部队和建筑的文字；没有图片或字体时只画颜色并提示一次");
    render->add_option("输入", line.input, "战役文件")->required()->type_name("");
    render->add_option("输出", line.output, "写入的 PNG 文件")->required()->type_name("");
    render
        ->add_option(
            "--hex", line.hex,
            "每格边长的像素数（2 到 400）；默认 50，图片超过 8192 × 8192 时取放得下的最大值")
        ->type_name("整数");
    render
        ->add_option("--range", range,
                     "只画这一部分（全局的起点列 起点行 宽 高），须在文件的范围内")
        ->expected(4)
        ->type_name("整数");
    render
        ->add_option("--diff", line.other,
                     "另一个战役文件: 归属、部队或建筑与它不同的格加上黄框，图下加一行说明；"
                     "退出码 0 没有不同，1 有不同，2 出错")
        ->type_name("文件");
    render
        ->add_option("--font", line.font,
                     "写文字用的字体文件（.ttf 或 .ttc，须有中文字形）；"
                     "默认找系统的中文字体")
        ->type_name("文件");
  }

  CLI::App* Add(CommandLine& line, Command command, const char* name, const char* description) {
    CLI::App* sub = app.add_subcommand(name, description);
    sub->group("命令");
    sub->get_help_ptr()->group("选项");
    sub->parse_complete_callback([&line, command] { line.command = command; });
    return sub;
  }
};

// "btl --help info" asks for the command's help as "btl info --help" does: a help flag
// before the command's name is moved after it.
std::vector<std::string> HelpAfterCommand(const std::vector<std::string>& args, CLI::App& app) {
  std::vector<std::string> ordered = args;
  auto isHelp = [](const std::string& a) { return a == "-h" || a == "--help"; };
  auto help = std::find_if(ordered.begin(), ordered.end(), isHelp);
  if (help == ordered.end()) return ordered;
  auto command = std::find_if(help, ordered.end(), [&](const std::string& a) {
    const CLI::App& all = app;
    return !all.get_subcommands([&a](const CLI::App* sub) { return sub->get_name() == a; }).empty();
  });
  if (command == ordered.end()) return ordered;
  std::rotate(help, help + 1, command + 1);
  return ordered;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& line, std::string& out,
                      std::string& err, int& status) {
  line = CommandLine{};
  Parser parser(line);
  // CLI11 takes the arguments last first.
  std::vector<std::string> ordered = HelpAfterCommand(args, parser.app);
  std::vector<std::string> reversed(ordered.rbegin(), ordered.rend());
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
    std::vector<std::string> left = parser.app.remaining(true);
    if (parser.app.get_subcommands().empty() && !left.empty()) {
      err += "错误: 没有名为 " + left.front() + " 的命令。\n";
      err += "用法见 btl --help。\n";
      status = kExitTrouble;
      return false;
    }
    if (dynamic_cast<const CLI::ExtrasError*>(&e) && !left.empty()) {
      // Named from what was left over, in the user's order (CLI11's own sentence lists them
      // last first, since it was handed the line that way).
      std::string words;
      for (const std::string& word : left) words += " " + word;
      err += "错误: 多余的参数:" + words + "。\n";
      err += "用法见 btl --help 或 btl 命令 --help。\n";
      status = kExitTrouble;
      return false;
    }
    err += "错误: " + WhatIsWrong(e) + "（" + e.what() + "）。\n";
    err += "用法见 btl --help 或 btl 命令 --help。\n";
    status = kExitTrouble;
    return false;
  }
  if (parser.app.count("--data") && line.dataDir.empty()) {
    err += "错误: --data 后的数据文件夹为空。\n";
    status = kExitTrouble;
    return false;
  }
  line.preferGiven = !parser.prefer.empty();
  line.preferTheirs = parser.prefer == "theirs";
  if (parser.range.size() == 4) {
    line.hasRange = true;
    line.range = {parser.range[0], parser.range[1], parser.range[2], parser.range[3]};
  }
  return true;
}
