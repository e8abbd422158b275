#include "scenario/record_fields.h"

#include <cstring>
#include <limits>

#include "scenario/battle_format.h"
#include "scenario/field_text.h"

namespace {

constexpr Field Number(const char* key, const char* label, FieldKind kind, uint16_t offset) {
  return {key, label, kind, offset,
          uint16_t(kind == FieldKind::kU8    ? 1
                   : kind == FieldKind::kU16 ? 2
                                             : 4)};
}
constexpr Field Bytes(const char* key, const char* label, uint16_t offset, uint16_t size) {
  return {key, label, FieldKind::kBytes, offset, size};
}

constexpr FieldKind U8 = FieldKind::kU8, U16 = FieldKind::kU16, I32 = FieldKind::kI32;

const Field kHeader[] = {
    Bytes("keep0", "文件头字节 0-7", 0, 8),
    Number("originX", "范围起点列", I32, offsetof(BtlHeader, originX)),
    Number("originY", "范围起点行", I32, offsetof(BtlHeader, originY)),
    {"rangeWidth", "范围宽度", I32, offsetof(BtlHeader, rangeWidth), 4, 0, kMaxGrid},
    {"rangeHeight", "范围高度", I32, offsetof(BtlHeader, rangeHeight), 4, 0, kMaxGrid},
    Bytes("keep36", "文件头字节 36-39", offsetof(BtlHeader, keep36), 4),
    Bytes("keep44", "文件头字节 44-115", offsetof(BtlHeader, keep44), 72),
};

const Field kTechLevels[] = {
    Number("infantry", "步兵科技", I32, 0),  Number("artillery", "火炮科技", I32, 4),
    Number("tank", "坦克科技", I32, 8),      Number("bunker", "碉堡科技", I32, 12),
    Number("navy", "海军科技", I32, 16),     Number("airForce", "空军科技", I32, 20),
    Number("supply", "补给科技", I32, 24),   Number("antiAir", "防空科技", I32, 28),
    Number("missile", "导弹科技", I32, 32),  Number("nuclear", "核弹科技", I32, 36),
    Number("aviation", "航空科技", I32, 40), Number("ion", "离子科技", I32, 44),
};

const Field kBombStocks[] = {
    Number("nuclear", "核弹", I32, 0),
    Number("hydrogen", "氢弹", I32, 4),
    Number("antimatter", "反物质弹", I32, 8),
};

const Field kTeam[] = {
    Number("teamNumber", "军团编号", I32, offsetof(TeamRecord, teamNumber)),
    Number("country", "国家", I32, offsetof(TeamRecord, country)),
    Number("money", "金钱", I32, offsetof(TeamRecord, money)),
    Number("steel", "钢铁", I32, offsetof(TeamRecord, steel)),
    Number("oil", "石油", I32, offsetof(TeamRecord, oil)),
    Number("control", "控制", I32, offsetof(TeamRecord, control)),
    Number("camp", "阵营", I32, offsetof(TeamRecord, camp)),
    Number("victoryCondition", "胜利条件", I32, offsetof(TeamRecord, victoryCondition)),
    {"unitBonus", "兵种加成", FieldKind::kF32, offsetof(TeamRecord, unitBonus), 4},
    {"taxRate", "税率", FieldKind::kF32, offsetof(TeamRecord, taxRate), 4},
    {"colour", "颜色", FieldKind::kColour, offsetof(TeamRecord, fileColour), 3},
    Number("alpha", "颜色 alpha 字节", U8, offsetof(TeamRecord, fileColour) + 3),
    {"techLevels", "科技", FieldKind::kGroup, offsetof(TeamRecord, techLevels), 48, 0, 0,
     kTechLevels},
    {"bombStocks", "炸弹", FieldKind::kGroup, offsetof(TeamRecord, bombStocks), 12, 0, 0,
     kBombStocks},
    Bytes("keep104", "军团字节 104-115", offsetof(TeamRecord, keep104), 12),
};

const Field kBuilding[] = {
    Number("position", "位置", U16, offsetof(BuildingRecord, position)),
    {"column", "列", FieldKind::kColumn, 0, 0},
    {"row", "行", FieldKind::kRow, 0, 0},
    Number("cityName", "建筑名称", U16, offsetof(BuildingRecord, cityName)),
    Number("facilityType", "设施类型", U8, offsetof(BuildingRecord, facilityType)),
    Number("facilityLevel", "设施等级", U8, offsetof(BuildingRecord, facilityLevel)),
    Number("buildingCode", "建筑等级", U16, offsetof(BuildingRecord, buildingCode)),
    Number("appearance", "外观", U8, offsetof(BuildingRecord, appearance)),
    Number("industry", "工业", U8, offsetof(BuildingRecord, industry)),
    Number("airport", "机场", U8, offsetof(BuildingRecord, airport)),
    Number("missile", "导弹", U8, offsetof(BuildingRecord, missile)),
    Number("nuclear", "核弹", U8, offsetof(BuildingRecord, nuclear)),
    Number("defence", "防御", U8, offsetof(BuildingRecord, defence)),
    Bytes("keep14", "建筑字节 14-15", offsetof(BuildingRecord, keep14), 2),
    Number("flag", "国旗", U8, offsetof(BuildingRecord, flag)),
    Number("target", "目标", U8, offsetof(BuildingRecord, target)),
    Number("dialogue", "对话", U8, offsetof(BuildingRecord, dialogue)),
    Number("fire", "火焰", U8, offsetof(BuildingRecord, fire)),
};

const Field kUnit[] = {
    Number("position", "位置", U16, offsetof(UnitRecord, position)),
    {"column", "列", FieldKind::kColumn, 0, 0},
    {"row", "行", FieldKind::kRow, 0, 0},
    Number("unitClass", "兵种类别", U8, offsetof(UnitRecord, unitClass)),
    Number("unitLevel", "兵种等级", U8, offsetof(UnitRecord, unitLevel)),
    Number("hp", "当前血量", U16, offsetof(UnitRecord, hp)),
    Number("maxHp", "血量上限", U16, offsetof(UnitRecord, maxHp)),
    Bytes("keep8", "部队字节 8-9", offsetof(UnitRecord, keep8), 2),
    Number("buildTime", "建造时间", U16, offsetof(UnitRecord, buildTime)),
    Number("general", "将军", U8, offsetof(UnitRecord, general)),
    Number("movement", "移动能力", U8, offsetof(UnitRecord, movement)),
    Number("morale", "士气", U8, offsetof(UnitRecord, morale)),
    Bytes("keep15", "部队字节 15", offsetof(UnitRecord, keep15), 1),
    Number("earlyPolicy", "前期方针", U8, offsetof(UnitRecord, earlyPolicy)),
    Number("latePolicy", "后期方针", U8, offsetof(UnitRecord, latePolicy)),
    Number("changeTurn", "改变回合", U16, offsetof(UnitRecord, changeTurn)),
    Number("target", "目标", U8, offsetof(UnitRecord, target)),
    Bytes("keep21", "部队字节 21", offsetof(UnitRecord, keep21), 1),
    Number("direction", "方向", U8, offsetof(UnitRecord, direction)),
    Number("attack", "是否攻击", U8, offsetof(UnitRecord, attack)),
    Bytes("keep24", "部队字节 24-25", offsetof(UnitRecord, keep24), 2),
    Number("dialogue", "对话", U8, offsetof(UnitRecord, dialogue)),
    Bytes("keep27", "部队字节 27", offsetof(UnitRecord, keep27), 1),
};

const Field kGeneral[] = {
    Number("commander", "统帅", U16, offsetof(GeneralEntry, commander)),
    Number("rank", "军衔", U16, offsetof(GeneralEntry, rank)),
};

}  // namespace

const RecordFields& HeaderFields() {
  static const RecordFields r{"文件头", kHeaderBytes, kHeader};
  return r;
}
const RecordFields& TeamFields() {
  static const RecordFields r{"军团", kTeamFileBytes, kTeam};
  return r;
}
const RecordFields& BuildingFields() {
  static const RecordFields r{"建筑", sizeof(BuildingRecord), kBuilding};
  return r;
}
const RecordFields& UnitFields() {
  static const RecordFields r{"部队", sizeof(UnitRecord), kUnit};
  return r;
}
const RecordFields& GeneralFields() {
  static const RecordFields r{"将军", sizeof(GeneralEntry), kGeneral};
  return r;
}

int64_t FieldMin(const Field& f) {
  if (f.min || f.max) return f.min;
  return f.kind == FieldKind::kI32 ? std::numeric_limits<int32_t>::min() : 0;
}

int64_t FieldMax(const Field& f) {
  if (f.min || f.max) return f.max;
  switch (f.kind) {
    case FieldKind::kU8: return 0xFF;
    case FieldKind::kU16: return 0xFFFF;
    default: return std::numeric_limits<int32_t>::max();
  }
}

int64_t ReadNumber(const Field& f, const uint8_t* record) {
  const uint8_t* p = record + f.offset;
  switch (f.kind) {
    case FieldKind::kU8: return p[0];
    case FieldKind::kU16: return p[0] | p[1] << 8;
    default: {
      int32_t v;
      memcpy(&v, p, 4);
      return v;
    }
  }
}

void WriteNumber(const Field& f, int64_t value, uint8_t* record) {
  uint8_t* p = record + f.offset;
  switch (f.kind) {
    case FieldKind::kU8: p[0] = uint8_t(value); break;
    case FieldKind::kU16: p[0] = uint8_t(value), p[1] = uint8_t(value >> 8); break;
    default: {
      int32_t v = int32_t(value);
      memcpy(p, &v, 4);
    }
  }
}

std::string FieldValueText(const Field& f, const uint8_t* record) {
  switch (f.kind) {
    case FieldKind::kF32: {
      float v;
      memcpy(&v, record + f.offset, 4);
      std::string text = ShortestFloatText(v);
      return text.empty() ? FloatBitsText(v) : text;
    }
    case FieldKind::kBytes: return HexText(record + f.offset, f.size);
    case FieldKind::kColour: return "#" + HexText(record + f.offset, 3);
    default: return std::to_string(ReadNumber(f, record));
  }
}

// Bytes longer than this are named by where they start to differ, not shown whole.
constexpr uint16_t kBytesShownWhole = 12;

void FieldChanges(std::span<const Field> fields, const uint8_t* a, const uint8_t* b,
                  std::vector<std::string>& changes) {
  for (const Field& f : fields) {
    if (f.kind == FieldKind::kColumn || f.kind == FieldKind::kRow) continue;
    if (f.kind == FieldKind::kGroup) {
      FieldChanges(f.group, a + f.offset, b + f.offset, changes);
      continue;
    }
    std::string before = FieldValueText(f, a), after = FieldValueText(f, b);
    if (before == after) continue;
    if (f.kind == FieldKind::kBytes && f.size > kBytesShownWhole) {
      size_t first = 0;
      while (a[f.offset + first] == b[f.offset + first]) ++first;
      changes.push_back(std::string(f.label) + " 从其第 " + std::to_string(first) + " 字节起不同");
    } else {
      changes.push_back(std::string(f.label) + " " + before + " → " + after);
    }
  }
}
