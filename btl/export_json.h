// The battle file as one JSON document, losslessly: every byte of the file can be read back
// from it (see import_json.h), and its layout is stable, so two exports diff line by line.
//
//   {"format": "btl", "version": 1,
//    "header": {named fields, uninterpreted bytes in hex},      one field a line
//    "teams": [{...}, ...],                                     one team a line
//    "owners": ["FF0001...", ...],                              one row of the range a line
//    "buildings": [...], "units": [...], "generals": [...],     one record a line, file order
//    "tail": ["00A1...", ...]}                                  32 bytes a line, in hex
//
// Keys keep the order of scenario/record_fields.h. Records keep the file's order, with
// duplicates and records outside the range, so nothing is placed or dropped. A float is its
// shortest decimal that reads back to the same bits, or, when none does (NaN, infinities), the
// string "0x" and its eight hex digits. "column" and "row" (a record's global hex, when the
// world's width is known) are there for reading; import ignores them.
#pragma once

#include <cstdint>
#include <string>

#include "base/status.h"
#include "scenario/battle_read.h"

// The JSON text of `image`. `worldWidth` > 0 adds each record's global column and row.
std::string ExportJson(const BattleImage& image, int32_t worldWidth);
// Saves the same text to `path` through the safe save, writing it as it is made, so that the
// whole text (about nine times the battle file) is never held at once. `size` is its length.
Status SaveExportJson(const BattleImage& image, int32_t worldWidth, const std::string& path,
                      size_t& size);
