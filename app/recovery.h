// Keeps the recovery file of the scenario being edited (scenario/recovery_file.h): written
// off the main loop soon after each step while there are unsaved edits, removed when there are
// none, after 否 at the close question and after a save; offered when a file that has one is
// opened. Off until EnableRecovery names a folder (tests leave it off).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scenario/recovery_file.h"

// How long after a step its recovery file is written: well within two seconds, late enough
// that a held paste's passes make one write.
constexpr int64_t kRecoveryDelayMs = 500;

void EnableRecovery(const std::string& folder);

// On opening the file `path` (absolute) of `bytes`: with a matching recovery file, the
// question; true with `data` when the user takes the edits back (否 removes the file). One
// that does not match, or cannot be read, is set aside and the user told once.
bool OfferRecovery(const std::string& path, const std::vector<uint8_t>& bytes, RecoveryData& data);

// The scenario now edited is the file `key` (as opened or just saved) placed with `range`.
void WatchScenario(const RecoveryKey& key, const MapRange& range);

// Once a pass: writes or removes the file when the history changed kRecoveryDelayMs ago or
// more. Gives, once, a sentence when a write failed (empty otherwise).
std::string KeepRecoveryFile(int64_t nowMs);

// The edits are given up (否 at the close question): the file goes now.
void DropRecoveryFile();

// Before the program ends: waits for the write or removal under way.
void FinishRecovery();
