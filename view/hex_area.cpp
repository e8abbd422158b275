#include "view/hex_area.h"

#include <algorithm>
#include <cstring>

void HexArea::Reset(int32_t width, int32_t height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  in_.assign(size_t(width_) * size_t(height_), 0);
  count_ = 0;
}

void HexArea::Clear() {
  if (count_ == 0) return;
  std::fill(in_.begin(), in_.end(), uint8_t(0));
  count_ = 0;
}

void HexArea::Add(int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint8_t& in = in_[Index(x, y)];
  count_ += !in;
  in = 1;
}

void HexArea::Toggle(int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint8_t& in = in_[Index(x, y)];
  in ^= 1;
  count_ = in ? count_ + 1 : count_ - 1;
}

void HexArea::SetRectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  Clear();
  const int32_t left = std::max(std::min(x0, x1), 0),
                right = std::min(std::max(x0, x1), width_ - 1);
  const int32_t top = std::max(std::min(y0, y1), 0),
                bottom = std::min(std::max(y0, y1), height_ - 1);
  if (left > right || top > bottom) return;
  for (int32_t y = top; y <= bottom; ++y) memset(&in_[Index(left, y)], 1, size_t(right - left + 1));
  count_ = size_t(right - left + 1) * size_t(bottom - top + 1);
}

void HexArea::SetAll() {
  std::fill(in_.begin(), in_.end(), uint8_t(1));
  count_ = in_.size();
}

void HexArea::SetHexes(const std::vector<GridHex>& hexes) {
  Clear();
  for (const GridHex& h : hexes) Add(h.x, h.y);
}

std::optional<GridHex> HexArea::Next(int32_t x, int32_t y, bool forward) const {
  if (count_ == 0) return std::nullopt;
  const size_t n = in_.size();
  // A start outside the range counts as lying before the first hex (forward) or after the
  // last (backward), so the walk begins at an end.
  const bool inside = x >= 0 && y >= 0 && x < width_ && y < height_;
  size_t at = inside ? Index(x, y) : (forward ? n - 1 : 0);
  for (size_t step = 0; step < n; ++step) {
    at = forward ? (at + 1) % n : (at + n - 1) % n;
    if (in_[at]) return At(at);
  }
  return std::nullopt;
}

std::optional<GridHex> HexArea::First() const {
  auto found = std::find(in_.begin(), in_.end(), uint8_t(1));
  if (found == in_.end()) return std::nullopt;
  return At(size_t(found - in_.begin()));
}

std::optional<GridHex> HexArea::Last() const {
  auto found = std::find(in_.rbegin(), in_.rend(), uint8_t(1));
  if (found == in_.rend()) return std::nullopt;
  return At(in_.size() - 1 - size_t(found - in_.rbegin()));
}

std::vector<GridHex> HexArea::Hexes() const {
  std::vector<GridHex> hexes;
  hexes.reserve(count_);
  for (size_t i = 0; i < in_.size(); ++i)
    if (in_[i]) hexes.push_back(At(i));
  return hexes;
}
