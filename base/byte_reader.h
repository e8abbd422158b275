// A cursor over a block of bytes that checks every read against what remains. A failed
// read leaves the cursor where it was, reads nothing, and is remembered (sticky), so a
// sequence of reads can be checked once at its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t offset() const { return pos_; }
  size_t remaining() const { return size_ - pos_; }
  bool ok() const { return ok_; }

  // The next n bytes, or null when fewer remain.
  const uint8_t* take(size_t n) {
    if (!ok_ || n > remaining()) {
      ok_ = false;
      return nullptr;
    }
    const uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
  }

  bool read(void* out, size_t n) {
    const uint8_t* p = take(n);
    if (p && n) memcpy(out, p, n);
    return p != nullptr;
  }

  // Little-endian 32-bit value; the build targets are little-endian, as is the file format.
  bool readI32(int32_t& v) { return read(&v, sizeof v); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

static_assert(sizeof(int32_t) == 4);
