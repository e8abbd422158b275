// One undo step in the user's words, the words the companion's diff uses: what a notice after
// an undo or a redo names ("军团 2 金钱 17000 → 99999", "30 格的归属", "位置 (15, 7) 的建筑").
#pragma once

#include <cstdint>
#include <string>

#include "scenario/edit_history.h"

// What `step` changed, in UTF-8, as seen going forward; hexes are named by global column and
// row (the range's origin added). Long descriptions are cut with "……".
std::string DescribeStep(const EditStep& step, int32_t originX, int32_t originY);
