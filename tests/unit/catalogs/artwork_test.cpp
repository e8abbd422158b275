// The PNG header read that sizes a picture before it is decoded, and what a picture that
// does not load leaves behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogs/artwork.h"
#include "platform/prompts.h"
#include "tests/support/temp_folder.h"
#include "tools/demo_data/png_writer.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
  return std::vector<uint8_t>(s.begin(), s.end());
}

TEST(PngHeader, ReadsTheStatedSizeOfARealPicture) {
  std::vector<uint32_t> px(size_t(37) * 5, PngRgba(1, 2, 3));
  std::vector<uint8_t> png = Bytes(EncodePng(37, 5, px.data()));
  uint32_t w = 0, h = 0;
  ASSERT_TRUE(PngHeaderSize(png.data(), png.size(), w, h));
  EXPECT_EQ(w, 37u);
  EXPECT_EQ(h, 5u);
  // Only the first 24 bytes are needed; one fewer is not enough.
  EXPECT_TRUE(PngHeaderSize(png.data(), 24, w, h));
  EXPECT_FALSE(PngHeaderSize(png.data(), 23, w, h));
}

TEST(PngHeader, RefusesWhatIsNotAPngStart) {
  std::vector<uint32_t> px(4, PngRgba(1, 2, 3));
  const std::vector<uint8_t> good = Bytes(EncodePng(2, 2, px.data()));
  uint32_t w, h;
  auto refused = [&](size_t at, uint8_t value) {
    std::vector<uint8_t> b = good;
    b[at] = value;
    return !PngHeaderSize(b.data(), b.size(), w, h);
  };
  EXPECT_TRUE(refused(0, 0x88));  // signature
  EXPECT_TRUE(refused(7, 0x00));  // last signature byte
  EXPECT_TRUE(refused(11, 14));   // IHDR length other than 13
  EXPECT_TRUE(refused(12, 'i'));  // chunk type other than IHDR
  std::vector<uint8_t> zeroWidth = good;
  for (int i = 16; i < 20; ++i) zeroWidth[i] = 0;
  EXPECT_FALSE(PngHeaderSize(zeroWidth.data(), zeroWidth.size(), w, h));
  std::vector<uint8_t> huge = good;  // 0xFFFFFFFF x 2: stated as is, for the caller to refuse
  for (int i = 16; i < 20; ++i) huge[i] = 0xFF;
  ASSERT_TRUE(PngHeaderSize(huge.data(), huge.size(), w, h));
  EXPECT_EQ(w, 0xFFFFFFFFu);
  EXPECT_EQ(h, 2u);
}

std::vector<std::string> g_boxes;  // caption|text of each box shown

int RecordBox(void*, const std::string& text, const std::string& caption, unsigned) {
  g_boxes.push_back(caption + "|" + text);
  return kIdOk;
}

// Files refused from their first bytes, before any decoder sees them, in both builds: no box
// while loading, the path gathered for the one "文件缺失" box that reports them, and the
// surface and the current target as they were.
TEST(LoadPicture, FilesRefusedFromTheirHeaderShowOneBoxAndChangeNothing) {
  TempFolder folder{"btl_picture"};
  std::string png = EncodePng(4, 3, std::vector<uint32_t>(12, PngRgba(1, 2, 3)).data());
  std::string tall =
      EncodePng(1, kMaxPictureSide + 1, std::vector<uint32_t>(kMaxPictureSide + 1, 0).data());
  std::vector<std::string> paths = {
      folder.File("missing.png"),
      folder.Write("empty.png", ""),
      folder.Write("text.png", "not a picture at all, and longer than a header"),
      folder.Write("short.png", png.substr(0, 23)),
      folder.Write("tall.png", tall),
  };
#ifndef _WIN32
  paths.push_back(folder.Write("good.png", png));  // the native build decodes nothing
#endif
  Surface surface, other;
  resize_surface(&surface, 2, 2);
  surface.pixels[3] = 0x123456;
  resize_surface(&other, 1, 1);
  SetPromptHandler(RecordBox);
  for (const std::string& path : paths) {
    set_target(&other);
    g_boxes.clear();
    EXPECT_FALSE(load_picture(surface, path, 1.0, 0xFFFFFF)) << path;
    EXPECT_TRUE(g_boxes.empty()) << path;
    ASSERT_EQ(MissingPictures(), std::vector<std::string>{path});
    ReportMissingPictures();
    EXPECT_TRUE(MissingPictures().empty());
    ASSERT_EQ(g_boxes.size(), 1u) << path;
    EXPECT_EQ(g_boxes[0], "文件缺失|" + path);
    EXPECT_EQ(CurrentTarget(), &other) << path;
    ASSERT_EQ(surface.width, 2) << path;
    EXPECT_EQ(surface.height, 2) << path;
    EXPECT_EQ(surface.pixels[3], 0x123456u) << path;
  }
  SetPromptHandler(nullptr);
  set_target(nullptr);
  DestroySurface(&surface);
  DestroySurface(&other);
}

// Every picture the start-up could not load, in one box in the order they were asked for:
// the paths alone up to 20, their count first beyond that; nothing at all when none failed.
TEST(LoadPicture, MissingPicturesAreReportedOnceInTheirOrder) {
  TempFolder folder{"btl_pictures"};
  SetPromptHandler(RecordBox);
  g_boxes.clear();
  ReportMissingPictures();
  EXPECT_TRUE(g_boxes.empty());
  for (size_t count : {size_t(1), size_t(3), kMissingPicturesListedPlainly,
                       kMissingPicturesListedPlainly + 1, size_t(45)}) {
    std::vector<std::string> paths;
    Surface s;
    for (size_t i = 0; i < count; ++i) {
      // Not in name order, so the order of the asking shows.
      paths.push_back(folder.File("缺少_" + std::to_string((i * 7) % count) + ".png"));
      EXPECT_FALSE(load_picture(s, paths.back(), 1.0, 0));
    }
    g_boxes.clear();
    ReportMissingPictures();
    ASSERT_EQ(g_boxes.size(), 1u) << count;
    std::string listed;
    for (const std::string& p : paths) listed += (listed.empty() ? "" : "\n") + p;
    if (count > kMissingPicturesListedPlainly)
      listed = "共 " + std::to_string(count) + " 个图片文件缺失或无法读取：\n" + listed;
    EXPECT_EQ(g_boxes[0], "文件缺失|" + listed) << count;
    EXPECT_EQ(MissingPicturesText(paths), listed);
    g_boxes.clear();
    ReportMissingPictures();  // forgotten once reported
    EXPECT_TRUE(g_boxes.empty());
  }
  SetPromptHandler(nullptr);
}

}  // namespace
