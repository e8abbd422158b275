// The area: a set of hexes of the range that edits and finds work on at once, beside the one
// selected hex. Kept in grid coordinates, so scrolling never moves it. Stored as one byte a
// hex in row-major order (row by row, each from its first column), the order in which finds
// list their matches and F3 walks the area.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "view/hex_address.h"

class HexArea {
 public:
  // Empty, over a range of width x height hexes.
  void Reset(int32_t width, int32_t height);
  void Clear();

  bool empty() const { return count_ == 0; }
  size_t count() const { return count_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

  // False for a hex outside the range.
  bool Contains(int32_t x, int32_t y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_ && in_[Index(x, y)];
  }
  // Hexes outside the range are left out.
  void Add(int32_t x, int32_t y);
  void Toggle(int32_t x, int32_t y);
  // Becomes every hex whose column lies between x0 and x1 and whose row between y0 and y1,
  // both ends included, in either order.
  void SetRectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
  void SetAll();
  void SetHexes(const std::vector<GridHex>& hexes);

  // The first hex of the area after (x, y) in row-major order, wrapping round at the end;
  // with forward false, the one before it. (x, y) itself comes last, so an area of one hex
  // gives that hex. Nothing when the area is empty.
  std::optional<GridHex> Next(int32_t x, int32_t y, bool forward) const;
  // The first and the last hex in row-major order.
  std::optional<GridHex> First() const;
  std::optional<GridHex> Last() const;

  // Every hex of the area in row-major order.
  std::vector<GridHex> Hexes() const;

 private:
  size_t Index(int32_t x, int32_t y) const { return size_t(y) * size_t(width_) + size_t(x); }
  GridHex At(size_t index) const {
    return {int32_t(index % size_t(width_)), int32_t(index / size_t(width_))};
  }

  int32_t width_ = 0, height_ = 0;
  std::vector<uint8_t> in_;
  size_t count_ = 0;
};
