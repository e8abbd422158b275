// The decoding half of load_picture, one for each build. artwork.cpp checks the size the
// file states and shows the box when a picture does not load; a decoder only turns the
// file into pixels.
#pragma once

#include <cstdint>
#include <string>

#include "drawing/surface.h"

// Decodes the PNG into the surface at W x scale by H x scale (truncated; a zero result keeps
// the old size), over the background colour (0x00BBGGRR), and leaves the surface as the
// current target. False, with the surface and the target as they were, when it cannot.
bool DecodePicture(Surface& surface, const std::string& utf8Path, double scale,
                   uint32_t background);
