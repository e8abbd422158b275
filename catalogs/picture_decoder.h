// The decoding half of load_picture, one for each build. artwork.cpp checks the size the
// file states, puts the pixels into the surface and shows the box when a picture does not
// load; a decoder only turns the file into pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A picture's pixels at their on-screen size, over its background.
struct DecodedPicture {
  bool ok = false;                // false: the file could not be decoded
  int32_t width = 0, height = 0;  // W x scale by H x scale, truncated; either may be 0
  std::vector<uint32_t> pixels;   // 0x00RRGGBB, width x height, top-down rows
};

// Decodes the PNG at W x scale by H x scale over the background colour (0x00BBGGRR). Touches
// no shared drawing state, so several threads may decode at once.
DecodedPicture DecodePicture(const std::string& utf8Path, double scale, uint32_t background);
