// Fuzz target: the language string table reader. Every stored name is a terminated slot and
// every listed city Id indexes the city table.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "catalogs/string_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReadStringTable(std::string_view(reinterpret_cast<const char*>(data), size));
  if (g_strings.CityCount < 0 || g_strings.CityCount > kCityIdSlots) abort();
  for (int i = 0; i < g_strings.CityCount; ++i) {
    if (g_strings.CityIds[i] < 0 || g_strings.CityIds[i] >= kCityNameSlots) abort();
    if (!memchr(CityNameOf(g_strings.CityIds[i]), 0, kSlotBytes)) abort();
  }
  for (int id = 0; id < kCountryNameSlots; ++id)
    if (!memchr(CountryNameOf(id), 0, kSlotBytes)) abort();
  return 0;
}
