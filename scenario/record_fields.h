// The battle file's records field by field, by name: the JSON form's keys, the words diff
// uses, where each field lies in its record and what values it takes. Export, import and diff
// read the same tables, so a field is named and bounded in one place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

enum class FieldKind {
  kU8,
  kU16,
  kI32,
  kF32,     // a float; exact decimal, or its bits in hex when no decimal gives them back
  kBytes,   // uninterpreted bytes, in hex
  kColour,  // red, green, blue bytes as "#RRGGBB"
  kGroup,   // a nested object of fields that start at this field's offset
  kColumn,  // read-only helpers for a record with a position: its global column and row,
  kRow,     // written when the world's width is known, ignored by import
};

struct Field {
  const char* key;    // JSON key
  const char* label;  // the user's word for it (diff)
  FieldKind kind;
  uint16_t offset;
  uint16_t size;                      // bytes (kBytes, kColour: 3)
  int64_t min = 0, max = 0;           // allowed values of a number; both 0: the type's range
  std::span<const Field> group = {};  // kGroup: its fields, offsets relative to this one
};

struct RecordFields {
  const char* what;  // the user's word for one record
  size_t size;       // bytes of one record in the file
  std::span<const Field> fields;
};

const RecordFields& HeaderFields();    // the 116-byte header without its four counts
const RecordFields& TeamFields();      // 116 bytes
const RecordFields& BuildingFields();  // 20 bytes
const RecordFields& UnitFields();      // 28 bytes
const RecordFields& GeneralFields();   // 4 bytes

// The range a number field accepts.
int64_t FieldMin(const Field& field);
int64_t FieldMax(const Field& field);

// Reads and writes a number field (kU8, kU16, kI32) of a record's bytes, little-endian.
int64_t ReadNumber(const Field& field, const uint8_t* record);
void WriteNumber(const Field& field, int64_t value, uint8_t* record);

// A field's value in `record` as diff and merge write it: a number, a float's shortest
// decimal (or its bits), bytes in hex, a colour as "#RRGGBB".
std::string FieldValueText(const Field& field, const uint8_t* record);
// Each field of two records that differs, appended to `changes` as "金钱 7000 → 8000"; long
// byte fields are named by where they start to differ.
void FieldChanges(std::span<const Field> fields, const uint8_t* a, const uint8_t* b,
                  std::vector<std::string>& changes);
