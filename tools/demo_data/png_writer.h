// PNG files of generated pictures: 8-bit RGBA, encoded by stb's writer with its fixed
// settings, so the same pixels always give the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A pixel as the PNG holds it: red in the low byte, then green, blue and alpha, so that the
// 32-bit value laid out little-endian is exactly the file's R, G, B, A bytes.
constexpr uint32_t PngRgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
  return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16 | uint32_t(a) << 24;
}

// The PNG file bytes of a w x h image whose pixels are given row by row, top row first
// (w * h values in PngRgba form). Empty when w or h is not positive or the image is too
// large for the encoder's int sizes.
std::string EncodePng(int w, int h, const uint32_t* pixels);

// Encodes the image and writes it to a UTF-8 path (OpenFile, so Chinese folder names work
// on Windows). False when the image cannot be encoded or the file cannot be written.
bool WritePng(const std::string& utf8path, int w, int h, const uint32_t* pixels);

// The chunk checksum (CRC-32) of the format, for tests that edit a chunk of an encoded file.
uint32_t PngCrc32(const void* data, size_t size);
