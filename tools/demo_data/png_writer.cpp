#include "tools/demo_data/png_writer.h"

#include <array>
#include <cstdio>

#include "base/files.h"

namespace {

// A stored deflate block carries at most 65,535 bytes (its LEN field is 16 bits).
constexpr size_t kStoredBlockMax = 65535;

const std::array<uint32_t, 256>& CrcTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

void PutU32Be(std::string& out, uint32_t v) {
  out.push_back(char(v >> 24));
  out.push_back(char(v >> 16));
  out.push_back(char(v >> 8));
  out.push_back(char(v));
}

// Length, type, data, then the CRC of type and data.
void PutChunk(std::string& out, const char type[4], const std::string& data) {
  PutU32Be(out, uint32_t(data.size()));
  std::string body(type, 4);
  body += data;
  out += body;
  PutU32Be(out, PngCrc32(body.data(), body.size()));
}

// Each row: filter byte 0 (none), then the pixels' R, G, B, A bytes.
std::string FilteredRows(int w, int h, const uint32_t* pixels) {
  std::string rows;
  rows.reserve(size_t(h) * (1 + 4 * size_t(w)));
  for (int y = 0; y < h; ++y) {
    rows.push_back('\0');
    for (int x = 0; x < w; ++x) {
      uint32_t p = pixels[size_t(y) * w + x];
      for (int shift = 0; shift < 32; shift += 8) rows.push_back(char(p >> shift));
    }
  }
  return rows;
}

// zlib header (deflate, 32 KiB window, no dictionary), stored blocks, Adler-32.
std::string ZlibStored(const std::string& raw) {
  std::string z;
  z.push_back(char(0x78));
  z.push_back(char(0x01));  // 0x7801 is a multiple of 31, as the header check requires
  size_t at = 0;
  do {
    size_t n = raw.size() - at < kStoredBlockMax ? raw.size() - at : kStoredBlockMax;
    bool last = at + n == raw.size();
    z.push_back(char(last ? 1 : 0));  // BFINAL in bit 0, BTYPE 00 = stored
    z.push_back(char(n & 0xFF));      // LEN, little-endian
    z.push_back(char(n >> 8));
    z.push_back(char(~n & 0xFF));  // NLEN, its one's complement
    z.push_back(char((~n >> 8) & 0xFF));
    z.append(raw, at, n);
    at += n;
  } while (at < raw.size());
  PutU32Be(z, PngAdler32(raw.data(), raw.size()));
  return z;
}

}  // namespace

uint32_t PngCrc32(const void* data, size_t size, uint32_t crc) {
  const auto& table = CrcTable();
  const auto* p = static_cast<const uint8_t*>(data);
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t PngAdler32(const void* data, size_t size, uint32_t adler) {
  const auto* p = static_cast<const uint8_t*>(data);
  uint32_t a = adler & 0xFFFF, b = adler >> 16;
  for (size_t i = 0; i < size; ++i) {
    a = (a + p[i]) % 65521;
    b = (b + a) % 65521;
  }
  return b << 16 | a;
}

std::string EncodePng(int w, int h, const uint32_t* pixels) {
  if (w <= 0 || h <= 0 || !pixels) return {};
  // Keep the filtered image and its zlib wrapping well inside one 31-bit chunk length.
  if ((1 + 4 * uint64_t(w)) * uint64_t(h) > 0x7F000000u) return {};

  std::string ihdr;
  PutU32Be(ihdr, uint32_t(w));
  PutU32Be(ihdr, uint32_t(h));
  ihdr.push_back(8);  // bits per channel
  ihdr.push_back(6);  // colour type: RGB with alpha
  ihdr.push_back(0);  // compression: deflate
  ihdr.push_back(0);  // filter method: adaptive (every row here uses filter 0)
  ihdr.push_back(0);  // no interlace

  std::string png("\x89PNG\r\n\x1a\n", 8);
  PutChunk(png, "IHDR", ihdr);
  PutChunk(png, "IDAT", ZlibStored(FilteredRows(w, h, pixels)));
  PutChunk(png, "IEND", {});
  return png;
}

bool WritePng(const std::string& utf8path, int w, int h, const uint32_t* pixels) {
  std::string png = EncodePng(w, h, pixels);
  if (png.empty()) return false;
  FILE* f = OpenFile(utf8path, "wb");
  if (!f) return false;
  bool ok = fwrite(png.data(), 1, png.size(), f) == png.size();
  ok = fclose(f) == 0 && ok;
  return ok;
}
