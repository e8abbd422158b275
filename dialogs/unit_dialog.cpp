#include "dialogs/unit_dialog.h"

#include <string>
#include <vector>

#include "catalogs/catalogs.h"
#include "dialogs/fields.h"
#include "dialogs/resource_ids.h"

namespace {

const std::vector<std::string> kPolicyItems = {"0:无", "1:积极进攻", "2:保守", "3:防守", "4:撤退"};
const std::vector<std::string> kDirectionItems = {"0:无", "1:左", "2:上", "3:右", "4:下"};
const std::vector<std::string> kAttackItems = {"0:不攻击", "1:攻击"};

constexpr char kNoGeneralText[] = "无";

void FillAndSelect(Form& form, int id, const std::vector<std::string>& items, uint32_t value) {
  FillCombo(form, id, items);
  SelectOrShowNumber(form, id, value);
}

// Catalog hit points of a type with the attached general's rank bonus, in 16 bits.
uint16_t MaxHpWithGeneral(int32_t type, const GeneralEntry& general) {
  return uint16_t(ArmyHpOf(type) + RankLifeOf(general.rank));
}

}  // namespace

void UnitDialog::OnInit(Form& form) {
  type_ = ArmyIdOf(unit_.unitClass, unit_.unitLevel);
  typeUnknown_ = type_ == 0 && unit_.unitClass != 0;

  FillTypes(form);
  if (typeUnknown_) {
    // No item carries this pair; say what is stored rather than pretend it is "无".
    form.SelectComboItem(IDC_UNIT_TYPE, -1);
    form.SetText(IDC_UNIT_TYPE,
                 "未知兵种 " + DecimalText(unit_.unitClass) + ":" + DecimalText(unit_.unitLevel));
  } else {
    SelectByNumber(form, IDC_UNIT_TYPE, uint32_t(type_));
  }
  WriteNumber(form, IDC_UNIT_HP, unit_.hp);
  ShowGeneralAndMaxHp(form, true);
  WriteNumber(form, IDC_UNIT_BUILDTIME, unit_.buildTime);
  WriteNumber(form, IDC_UNIT_MOVEMENT, unit_.movement);
  WriteNumber(form, IDC_UNIT_MORALE, unit_.morale);
  FillAndSelect(form, IDC_UNIT_EARLYPOLICY, kPolicyItems, unit_.earlyPolicy);
  FillAndSelect(form, IDC_UNIT_LATEPOLICY, kPolicyItems, unit_.latePolicy);
  WriteNumber(form, IDC_UNIT_CHANGETURN, unit_.changeTurn);
  WriteNumber(form, IDC_UNIT_TARGET, unit_.target);
  WriteNumber(form, IDC_UNIT_DIALOGUE, unit_.dialogue);
  FillAndSelect(form, IDC_UNIT_DIRECTION, kDirectionItems, unit_.direction);
  FillAndSelect(form, IDC_UNIT_ATTACK, kAttackItems, unit_.attack);
  // 当前血量 keeps showing the stored value; only the record is clamped.
  if (unit_.hp >= unit_.maxHp) unit_.hp = unit_.maxHp;
}

void UnitDialog::OnCommand(Form& form, int id, Notice notice) {
  if (id == IDC_UNIT_TYPE && notice == Notice::kSelectionChanged) {
    PickType(form, form.ComboSelection(IDC_UNIT_TYPE));
  } else if (id == IDC_UNIT_APPLY && notice == Notice::kClicked) {
    Apply(form);
  }
}

void UnitDialog::FillTypes(Form& form) {
  form.ClearCombo(IDC_UNIT_TYPE);
  form.AddComboItem(IDC_UNIT_TYPE, "0:无");
  int count = g_catalogs.ArmyCount < kArmyIdSlots ? g_catalogs.ArmyCount : kArmyIdSlots;
  for (int i = 0; i < count; ++i)
    form.AddComboItem(IDC_UNIT_TYPE,
                      NumberedItem(g_catalogs.ArmyIds[i], ":", ArmyNameOf(g_catalogs.ArmyIds[i])));
}

// 将军 and 血量上限. At opening a unit without a general keeps its stored maximum (the box
// shows the catalog's figure); a type change always takes the catalog's figure.
void UnitDialog::ShowGeneralAndMaxHp(Form& form, bool atOpening) {
  const GeneralEntry* general = AttachedGeneral(unit_);
  if (general) {
    form.SetText(IDC_UNIT_GENERAL, NameText(CommanderNameOf(general->commander)));
    // A type the catalog does not know has no hit points to build a maximum from.
    if (!typeUnknown_) unit_.maxHp = MaxHpWithGeneral(type_, *general);
    WriteNumber(form, IDC_UNIT_MAXHP, unit_.maxHp);
    return;
  }
  form.SetText(IDC_UNIT_GENERAL, kNoGeneralText);
  if (atOpening) {
    uint32_t shown = typeUnknown_           ? unit_.maxHp
                     : unit_.unitClass != 0 ? uint32_t(ArmyHpOf(type_))
                                            : 0;
    WriteNumber(form, IDC_UNIT_MAXHP, shown);
  } else {
    unit_.maxHp = uint16_t(ArmyHpOf(type_));
    WriteNumber(form, IDC_UNIT_MAXHP, unit_.maxHp);
  }
}

void UnitDialog::PickType(Form& form, int index) {
  // Item 0 is "0:无"; item i names the (i-1)th army of the catalog.
  int count = g_catalogs.ArmyCount < kArmyIdSlots ? g_catalogs.ArmyCount : kArmyIdSlots;
  if (index < 0 || index > count) return;
  type_ = index == 0 ? 0 : g_catalogs.ArmyIds[index - 1];
  typeUnknown_ = false;
  WriteNumber(form, IDC_UNIT_MOVEMENT, uint32_t(ArmyMobilityOf(type_)));
  ShowGeneralAndMaxHp(form, false);
  unit_.hp = unit_.maxHp;
  WriteNumber(form, IDC_UNIT_HP, unit_.hp);
}

void UnitDialog::Apply(Form& form) {
  if (!typeUnknown_) {
    int slot = ArmySlotOf(type_);
    unit_.unitLevel = slot < 0 ? 0 : g_catalogs.ArmyLevel[slot];
    unit_.unitClass = slot < 0 ? 0 : g_catalogs.ArmyType[slot];
  }
  uint16_t hp = ReadFieldU16(form, IDC_UNIT_HP);
  if (hp >= unit_.maxHp) hp = unit_.maxHp;
  if (hp == 0) hp = unit_.maxHp;  // an empty or zero entry means full strength
  unit_.hp = hp;
  WriteNumber(form, IDC_UNIT_HP, hp);

  unit_.buildTime = ReadFieldU16(form, IDC_UNIT_BUILDTIME);
  unit_.movement = ReadFieldU8(form, IDC_UNIT_MOVEMENT);
  unit_.morale = ReadFieldU8(form, IDC_UNIT_MORALE);
  unit_.earlyPolicy = ReadFieldU8(form, IDC_UNIT_EARLYPOLICY);
  unit_.latePolicy = ReadFieldU8(form, IDC_UNIT_LATEPOLICY);
  unit_.changeTurn = ReadFieldU16(form, IDC_UNIT_CHANGETURN);
  unit_.target = ReadFieldU8(form, IDC_UNIT_TARGET);
  unit_.dialogue = ReadFieldU8(form, IDC_UNIT_DIALOGUE);
  unit_.attack = ReadFieldU8(form, IDC_UNIT_ATTACK);
  unit_.direction = ReadFieldU8(form, IDC_UNIT_DIRECTION);
}
