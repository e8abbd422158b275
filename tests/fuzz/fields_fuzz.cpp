// Fuzz target: the field helpers that read what the user typed. Each number is checked
// against a second reading of the same digits (the whole decimal number wraps the same way
// as the field's running value), texts the helpers write read back as what was written, and
// a combo filled from the input selects only an item carrying the asked-for number.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "dialogs/fields.h"
#include "tests/fuzz/fuzz_form.h"

namespace {

// The leading decimal digits of the first 29 characters, wrapping at 64 bits; every field
// width divides 64, so its low bits are the field's value.
uint64_t LeadingDigits64(std::string_view text) {
  uint64_t v = 0;
  for (char c : text.substr(0, kNumberFieldChars)) {
    if (c < '0' || c > '9') break;
    v = v * 10 + uint64_t(c - '0');
  }
  return v;
}

void CheckNumber(std::string_view text) {
  uint64_t digits = LeadingDigits64(text);
  if (LeadingNumber(text, 8) != (digits & 0xFF) || LeadingNumber(text, 16) != (digits & 0xFFFF) ||
      LeadingNumber(text, 32) != (digits & 0xFFFFFFFF))
    abort();
  uint32_t v = LeadingNumber(text, 32);
  if (LeadingNumber(DecimalText(v), 32) != v) abort();
}

void CheckFloat(std::string_view text) {
  const float old = 12.5f;
  float f = ParseFloatOr(text, old);
  if (!std::isfinite(f)) abort();
  // "%f" of a finite value reads back close to it (six decimals, and a number always).
  float again = ParseFloatOr(FloatText(f), -1.0f);
  if (!std::isfinite(again) ||
      std::fabs(double(again) - double(f)) > 1e-6 * (1 + std::fabs(double(f))))
    abort();
}

void CheckCombo(const std::vector<std::string>& lines) {
  FuzzForm form;
  const int id = 1;
  for (size_t i = 1; i < lines.size(); ++i) form.AddComboItem(id, lines[i]);
  uint32_t wanted = LeadingNumber(lines[0], 32);
  bool found = SelectByNumber(form, id, wanted);
  int sel = form.ComboSelection(id);
  if (found != (sel >= 0)) abort();
  if (found && ReadFieldU32(form, id) != wanted) abort();
  SelectOrShowNumber(form, id, wanted);
  if (ReadFieldU32(form, id) != wanted) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;  // a field holds a line; longer inputs add nothing
  std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckNumber(text);
  CheckFloat(text);
  CheckCombo(SplitLines(data, size));
  if (NameText(std::string(text).c_str()).size() > 4 * size + 3) abort();
  return 0;
}
