// The game's PNG artwork, decoded once at start-up into surfaces at their on-screen size
// (scaled with a bicubic filter, laid over a background colour), and the colour-keyed copy
// that draws them with pixel value 0 left out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "drawing/surface.h"

struct ArtworkSurfaces {
  Surface FlagSurface[200];     // by country Id
  Surface FacilitySurface[5];   // city, factory, airport, launch, nuclear
  Surface AntiAirSurface[4];    // 1..3
  Surface ButtonSurface[5];     // 1..4
  Surface DirButtonSurface[4];  // 0..3: left, right, up, down
  Surface LevelMaxSurface;
  Surface CommanderPortrait[1000];  // by commander slot
};

// The process's artwork; empty surfaces until loaded.
extern ArtworkSurfaces g_artwork;

// Pictures larger than this either way are refused like unreadable ones.
constexpr int32_t kMaxPictureSide = 4096;

// Starts the picture decoder; before the first load_picture.
void start_pictures();

// Decodes a PNG into the surface at W x scale by H x scale (truncated; a zero result keeps
// the old size), over the background colour (0x00BBGGRR). A missing or unreadable file is
// added to MissingPictures and leaves the surface as it was. Leaves the surface as the
// current target. False when the picture was not loaded.
bool load_picture(Surface& surface, const std::string& utf8Path, double scale, uint32_t background);

// The pictures load_picture could not load since the last report, in the order asked for.
const std::vector<std::string>& MissingPictures();
// Up to this many missing pictures are listed alone; more are listed after their count.
constexpr size_t kMissingPicturesListedPlainly = 20;
// The text of the one "文件缺失" box: every path, one a line, after a line with their count
// when there are more than kMissingPicturesListedPlainly.
std::string MissingPicturesText(const std::vector<std::string>& paths);
// Shows that box once for the pictures gathered so far and forgets them; nothing when none.
void ReportMissingPictures();
// Start-up loading: QueuePicture notes a load_picture to make; FinishPictures decodes
// every noted picture, on as many threads as there are cores, then puts them into their
// surfaces in the order they were noted, noting each that did not load among the missing pictures,
// in that order too, as the same load_picture calls one after the other would.
void QueuePicture(Surface& surface, const std::string& utf8Path, double scale, uint32_t background);
void FinishPictures();
// A picture shown only now and then (a commander's portrait, in one dialog), noted like
// QueuePicture: FinishPictures reads only the file's first 24 bytes, noting it among the
// missing pictures in its place in the order when the file is not there or its header is
// refused, and decoding waits for the first DecodeDeferred of its surface. A later load or
// queue of the same surface forgets it.
void DeferPicture(Surface& surface, const std::string& utf8Path, double scale, uint32_t background);
// Decodes the surface's deferred picture when one is still waiting; the surface is then as
// load_picture leaves it, except that the current target stays what it was. A file that
// stated a good header but does not decode leaves the surface as it was (nothing drawn).
void DecodeDeferred(Surface& surface);

// The size a PNG file states in its first 24 bytes: the 8-byte signature, then the IHDR
// chunk (big-endian length 13, "IHDR", width, height). False when the bytes are not the start
// of a PNG or a side is 0. Read before decoding, so an oversized picture is refused without
// the decoder allocating for it.
bool PngHeaderSize(const uint8_t* bytes, size_t size, uint32_t& width, uint32_t& height);

// Copies the image onto the current target at (x, y), leaving out pixels whose value is 0.
// Clipped on all four sides.
void blit_keyed(int32_t x, int32_t y, const Surface& image);

// The commander catalog's portrait loader: "图片\smallheads\" + Photo (GBK) + ".png" into the
// slot's portrait, over white; deferred (DeferPicture): checked by LoadArtworkList, decoded
// when the general dialog first shows it.
void LoadCommanderPortrait(int slot, const char* photoAnsi);

// The start-up list: flags in the country catalog's order, facilities, anti-air 1..3,
// buttons 1..4, arrows 0..3, the level mark; queued after the portraits, then all of them
// loaded (FinishPictures). Ends with ReportMissingPictures, so the portraits are reported
// in the same box.
void LoadArtworkList();
