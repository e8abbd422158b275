// Reads the JSON form of a battle file (see export_json.h) back into the file's bytes. Keys may
// come in any order; the read-only helpers ("column", "row") are ignored. A document that is
// not JSON, lacks a key, has a key it should not, a value of the wrong type or a number
// outside its field's range is refused with the JSON path and line of what is wrong; nothing
// is guessed. The bytes given back always load as a battle file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"

// `name` names the document in messages.
Status BattleBytesFromJson(const std::string& text, const std::string& name,
                           std::vector<uint8_t>& bytes);
// Reads the document from a file as it goes, without holding its text.
Status BattleBytesFromJsonFile(const std::string& path, std::vector<uint8_t>& bytes);
