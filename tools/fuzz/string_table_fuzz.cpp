// Fuzz target: the language string table reader. Every stored name is a terminated slot and
// every listed city Id indexes the city table.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "catalogs/string_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReadStringTable(std::string_view(reinterpret_cast<const char*>(data), size));
  if (CityCount < 0 || CityCount > kCityIdSlots) abort();
  for (int i = 0; i < CityCount; ++i) {
    if (CityIds[i] < 0 || CityIds[i] >= kCityNameSlots) abort();
    if (!memchr(CityNameOf(CityIds[i]), 0, kSlotBytes)) abort();
  }
  for (int id = 0; id < kCountryNameSlots; ++id)
    if (!memchr(CountryNameOf(id), 0, kSlotBytes)) abort();
  return 0;
}
