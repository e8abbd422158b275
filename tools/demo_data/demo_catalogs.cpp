#include <cstdio>
#include <set>

#include "base/files.h"
#include "base/text.h"
#include "tools/demo_data/demo_data.h"
#include "tools/demo_data/noise.h"

namespace {

constexpr uint64_t kCatalogSeed = 0xCA7A10600D5EEDull;
// Names go into 20-byte GBK slots through a copy that also holds the line break and the
// terminating zero, so a name may take at most 18 bytes of UTF-8.
constexpr size_t kMaxNameBytes = 18;

// Picks one of a list of UTF-8 pieces.
template <size_t N>
const char* pick(DemoRng& rng, const char* const (&list)[N]) {
  return list[rng.below(int(N))];
}

// Phonetic syllables for foreign-sounding names of countries and cities.
const char* const kSyllables[] = {"阿", "巴", "卡", "达", "埃", "法", "加", "哈", "伊", "贾",
                                  "克", "拉", "马", "纳", "奥", "帕", "瑞", "萨", "塔", "乌",
                                  "维", "沃", "西", "泽", "贝", "多", "芬", "格", "赫", "科",
                                  "利", "莫", "尼", "诺", "佩", "罗", "斯", "特", "图", "瓦",
                                  "兰", "里", "索", "提", "德", "波", "尔", "蒙", "基", "卢"};

const char* const kCountrySuffixes[] = {"国",   "王国", "联邦", "共和国",
                                        "公国", "帝国", "亚",   "尼亚"};

const char* const kCityFirst[] = {"东", "西", "南", "北", "新", "金", "银", "白", "青", "红",
                                  "龙", "凤", "云", "石", "长", "安", "平", "宁", "海", "河",
                                  "铁", "松", "林", "雪", "望", "临", "永", "定", "镇", "兴"};
const char* const kCitySecond[] = {"江", "山", "川", "州", "阳", "原", "岭", "湖", "泉", "峰",
                                   "林", "台", "门", "溪", "沙", "丰", "宁", "安", "昌", "远"};
const char* const kCitySuffixes[] = {"城", "港", "堡", "镇", "市", "关", "湾", "堡垒"};

const char* const kSurnames[] = {
    "王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周",   "吴",   "徐",   "孙",  "胡", "朱",
    "高", "林", "何", "郭", "马", "罗", "梁", "宋", "郑",   "谢",   "韩",   "唐",  "冯", "于",
    "董", "萧", "程", "曹", "袁", "邓", "许", "傅", "沈",   "曾",   "彭",   "吕",  "苏", "卢",
    "蒋", "蔡", "贾", "丁", "魏", "薛", "叶", "阎", "欧阳", "司马", "诸葛", "上官"};
const char* const kGivenNames[] = {
    "伟", "刚", "勇", "毅", "俊", "峰", "强", "军", "平", "保", "东", "文", "辉", "力", "明",
    "永", "健", "世", "广", "志", "义", "兴", "良", "海", "山", "仁", "波", "宁", "贵", "福",
    "生", "龙", "元", "全", "国", "胜", "学", "祥", "才", "发", "武", "新", "利", "清", "飞",
    "彬", "富", "顺", "信", "子", "杰", "涛", "昌", "成", "康", "星", "光", "天", "达", "安",
    "岩", "中", "茂", "进", "坚", "和", "彪", "博", "诚", "先", "敬", "震", "振", "壮", "思",
    "群", "豪", "心", "邦", "承", "乐", "绍", "功", "松", "善", "厚", "庆", "磊", "民", "友",
    "裕", "哲", "江", "超", "浩", "亮", "政", "谦", "奇", "翰", "朗", "伯", "宏", "鸣", "鹏"};

size_t Utf8Chars(const std::string& s) {
  size_t n = 0;
  for (unsigned char ch : s) n += (ch & 0xC0) != 0x80;
  return n;
}

// Draws names until one is new and short enough for a slot.
template <typename MakeName>
std::string UniqueName(std::set<std::string>& taken, MakeName make) {
  for (;;) {
    std::string name = make();
    if (name.size() <= kMaxNameBytes && taken.insert(name).second) return name;
  }
}

std::vector<DemoRank> MakeRanks() {
  const char* const names[] = {"少尉", "中尉", "上尉", "少校", "中校",
                               "上校", "大校", "少将", "中将", "上将"};
  std::vector<DemoRank> ranks;
  for (int i = 0; i < 10; ++i) ranks.push_back({i + 1, 100 + 25 * i * (i + 3) / 2, names[i]});
  return ranks;
}

std::vector<DemoCountry> MakeCountries(DemoRng& rng) {
  // 120 Ids out of 1..199, with gaps as a game's list grows them.
  std::vector<DemoCountry> countries;
  std::set<std::string> taken;
  for (int id = 1; id <= 199 && countries.size() < 120; ++id) {
    if (199 - id + 1 > int(120 - countries.size()) && rng.chance(40)) continue;
    std::string name = UniqueName(taken, [&] {
      std::string n;
      int syllables = rng.between(2, 3);
      for (int k = 0; k < syllables; ++k) n += pick(rng, kSyllables);
      n += pick(rng, kCountrySuffixes);
      return n;
    });
    countries.push_back({id, name});
  }
  return countries;
}

struct ArmyKind {
  const char* base;      // the category's name; its first character labels the unit
  const char* sizes[5];  // appended for levels 1..5
  int hp, mobility, attack, cost;
};

// Categories 1..8 in catalog order.
const ArmyKind kArmyKinds[] = {
    {"步兵", {"", "连", "营", "团", "师"}, 100, 3, 10, 100},
    {"炮兵", {"", "连", "营", "团", "旅"}, 90, 2, 18, 180},
    {"坦克", {"", "连", "营", "团", "旅"}, 160, 5, 22, 300},
    {"舰艇", {"", "分队", "支队", "编队", "舰队"}, 220, 6, 25, 400},
    {"战机", {"", "中队", "大队", "联队", "师"}, 120, 9, 20, 450},
    {"轰炸机", {"", "中队", "大队", "联队", "师"}, 140, 7, 30, 550},
    {"防空", {"", "连", "营", "团", "旅"}, 110, 3, 16, 220},
    {"导弹", {"", "连", "营", "团", "旅"}, 80, 2, 35, 600},
};

std::vector<DemoArmy> MakeArmies() {
  std::vector<DemoArmy> armies;
  int id = 100001;
  for (int c = 0; c < 8; ++c) {
    const ArmyKind& k = kArmyKinds[c];
    for (int level = 1; level <= 5; ++level) {
      int grow = 100 + 30 * (level - 1);  // percent of the level-1 figures
      armies.push_back({id++, c + 1, level, k.hp * grow / 100, k.mobility + (level - 1) / 2,
                        k.attack * grow / 100, k.cost * grow / 100,
                        std::string(k.base) + k.sizes[level - 1]});
    }
  }
  return armies;
}

std::vector<DemoCommander> MakeCommanders(DemoRng& rng) {
  std::vector<DemoCommander> commanders;
  std::set<std::string> taken;
  for (int i = 0; i < 300; ++i) {
    std::string name = UniqueName(taken, [&] {
      std::string surname = pick(rng, kSurnames);
      std::string n = surname + pick(rng, kGivenNames);
      // Two-character surnames take one given character, others one or two.
      if (Utf8Chars(surname) == 1 && rng.chance(60)) n += pick(rng, kGivenNames);
      return n;
    });
    char photo[16];
    snprintf(photo, sizeof photo, "c%04d", i + 1);
    commanders.push_back({101 + i, photo, name});
  }
  return commanders;
}

std::vector<DemoBuilding> MakeBuildings() {
  const char* const others[] = {"机场",   "港口",   "要塞", "油井", "钢铁厂", "兵工厂", "雷达站",
                                "发电厂", "炼油厂", "仓库", "桥梁", "铁路站", "码头",   "碉堡",
                                "指挥部", "医院",   "矿山", "船坞", "导弹井", "核电站"};
  std::vector<DemoBuilding> buildings;
  for (int i = 0; i < 20; ++i) buildings.push_back({i + 1, others[i]});
  for (int i = 0; i < kCityLevels; ++i)
    buildings.push_back({kFirstCityCode + i, "城市" + std::to_string(i + 1) + "级"});
  return buildings;
}

std::vector<DemoCity> MakeCities(DemoRng& rng) {
  std::vector<DemoCity> cities;
  std::set<std::string> taken;
  for (int i = 0; i < 320; ++i) {
    std::string name = UniqueName(taken, [&] {
      std::string n;
      if (rng.chance(50)) {
        n = std::string(pick(rng, kCityFirst)) + pick(rng, kCitySecond);
      } else {
        int syllables = rng.between(2, 3);
        for (int k = 0; k < syllables; ++k) n += pick(rng, kSyllables);
      }
      if (rng.chance(70)) n += pick(rng, kCitySuffixes);
      return n;
    });
    cities.push_back({i + 1, name});
  }
  return cities;
}

// ---- JSON ------------------------------------------------------------------------------

// One key of a flat catalog object: a number or a text.
struct Field {
  const char* key;
  std::string text;
  bool quoted;
};

Field num(const char* key, long long v) { return {key, std::to_string(v), false}; }
Field str(const char* key, const std::string& v) {
  std::string q;
  for (char ch : v) {
    if (ch == '"' || ch == '\\') q.push_back('\\');
    q.push_back(ch);
  }
  return {key, q, true};
}

// An array of objects, four-space indented, CR LF line ends, as the game's tools write them.
std::string JsonArray(const std::vector<std::vector<Field>>& objects) {
  std::string out = "[\r\n";
  for (size_t i = 0; i < objects.size(); ++i) {
    out += "    {\r\n";
    const auto& fields = objects[i];
    for (size_t k = 0; k < fields.size(); ++k) {
      const Field& f = fields[k];
      out += "        \"" + std::string(f.key) + "\": ";
      out += f.quoted ? "\"" + f.text + "\"" : f.text;
      out += k + 1 < fields.size() ? ",\r\n" : "\r\n";
    }
    out += i + 1 < objects.size() ? "    },\r\n" : "    }\r\n";
  }
  out += "]\r\n";
  return out;
}

std::string RankJson(const DemoCatalogs& c) {
  std::vector<std::vector<Field>> rows;
  for (const DemoRank& r : c.ranks)
    rows.push_back({num("Id", r.id), str("OName", r.name), num("Life", r.life),
                    num("Command", 2 + r.id / 2), num("Exp", r.id * r.id * 50)});
  return JsonArray(rows);
}

std::string CountryJson(const DemoCatalogs& c) {
  std::vector<std::vector<Field>> rows;
  for (const DemoCountry& k : c.countries)
    rows.push_back({num("Id", k.id), str("OName", k.name),
                    str("Flag", "flag_" + std::to_string(k.id)), num("Difficulty", 1 + k.id % 5)});
  return JsonArray(rows);
}

std::string ArmyJson(const DemoCatalogs& c) {
  std::vector<std::vector<Field>> rows;
  for (const DemoArmy& a : c.armies)
    rows.push_back({num("Id", a.id), str("OName", a.name), num("Army", a.category),
                    num("Level", a.level), num("HP", a.hp), num("Mobility", a.mobility),
                    num("Attack", a.attack), num("Cost", a.cost), num("Steel", a.cost / 4),
                    num("Oil", a.category >= 3 ? a.cost / 5 : 0)});
  return JsonArray(rows);
}

std::string CommanderJson(const DemoCatalogs& c) {
  std::vector<std::vector<Field>> rows;
  for (const DemoCommander& k : c.commanders)
    rows.push_back({num("Id", k.id), str("OName", k.name), str("Photo", k.photo),
                    num("Attack", 40 + k.id * 37 % 60), num("Defence", 40 + k.id * 53 % 60),
                    num("Skill", k.id * 7 % 12)});
  return JsonArray(rows);
}

std::string BuildingJson(const DemoCatalogs& c) {
  std::vector<std::vector<Field>> rows;
  for (const DemoBuilding& b : c.buildings) {
    bool city = b.id / 100 == kFirstCityCode / 100;
    rows.push_back({num("Id", b.id), str("OName", b.name), num("Type", city ? 1 : 2),
                    num("HP", city ? 500 + 100 * (b.id % 100) : 200 + 10 * b.id),
                    num("Income", city ? 100 * (1 + b.id % 100) : 0)});
  }
  return JsonArray(rows);
}

// ---- Text files --------------------------------------------------------------------------

std::string StringTable(const DemoCatalogs& c) {
  std::string t;
  auto line = [&](const std::string& s) { t += s + "\r\n"; };
  line("; 语言文件：简体中文");
  line("; 编码 UTF-8，每行 键=值");
  line("");
  line("[System]");
  line("text1_title=战争沙盘");
  line("text1_version=1.0.3");
  line("text1_loading=正在载入……");
  line("text1_confirm=确定");
  line("text1_cancel=取消");
  line("");
  line("[Menu]");
  const char* const menu[] = {"新游戏", "读取进度", "保存进度", "设置", "退出"};
  for (int i = 0; i < 5; ++i) line("text2_menu_" + std::to_string(i + 1) + "=" + menu[i]);
  line("");
  line("[Country]");
  line("; 国家名称与简介");
  for (const DemoCountry& k : c.countries) {
    line("text3_countryname_" + std::to_string(k.id) + "=" + k.name);
    line("text3_countryinfo_" + std::to_string(k.id) + "=" + k.name + "位于大陆" +
         std::to_string(1 + k.id % 5) + "号区域。");
  }
  line("");
  line("[Army]");
  for (const DemoArmy& a : c.armies) line("text4_armyname_" + std::to_string(a.id) + "=" + a.name);
  line("");
  line("[City]");
  line("; 城市名称");
  for (const DemoCity& city : c.cities) {
    line("city_cityname_" + std::to_string(city.id) + "=" + city.name);
    if (city.id % 4 == 0)
      line("city_citydesc_" + std::to_string(city.id) + "=" + city.name + "是一座重要的城市。");
  }
  line("");
  line("[Tips]");
  line("tips_1=占领敌方首都即可获胜。");
  line("tips_2=将领能提高部队的士气。");
  line("tips_3=城市等级越高，收入越多。");
  return t;
}

std::string ConfigText() {
  return "; 编辑器配置，格子边长为地图范围选择时每格的像素\r\n"
         "[配置]\r\n"
         "格子边长=3\r\n"
         "窗口长=12\r\n"
         "窗口宽=10\r\n"
         "语言文件=stringtable_cn.ini\r\n";
}

}  // namespace

DemoCatalogs MakeDemoCatalogs() {
  DemoRng rng(kCatalogSeed);
  DemoCatalogs c;
  c.ranks = MakeRanks();
  c.countries = MakeCountries(rng);
  c.armies = MakeArmies();
  c.commanders = MakeCommanders(rng);
  c.buildings = MakeBuildings();
  c.cities = MakeCities(rng);
  return c;
}

std::string MakeCatalogFiles(const DemoCatalogs& catalogs, std::vector<DemoFile>& files) {
  files.push_back({DataPath("RankSettings.json"), RankJson(catalogs)});
  files.push_back({DataPath("CountrySettings.json"), CountryJson(catalogs)});
  files.push_back({DataPath("ArmySettings.json"), ArmyJson(catalogs)});
  files.push_back({DataPath("CommanderSettings.json"), CommanderJson(catalogs)});
  files.push_back({DataPath("BuildingSettings.json"), BuildingJson(catalogs)});
  files.push_back({DataPath("stringtable_cn.ini"), StringTable(catalogs)});
  // A character GBK lacks would come out as '?': the text must come back unchanged.
  const std::string text = ConfigText();
  const std::string gbk = GbkFromUtf8(text);
  if (Utf8FromGbk(gbk) != text) return "无法把配置文件转换为GBK编码。";
  files.push_back({DataPath("配置.ini"), gbk});
  return {};
}
