// Picture loading with GDI+ on generated PNG files: scaled sizes, transparency over black
// and white, and the "文件缺失" box for missing, truncated, non-PNG and oversized files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogs/artwork.h"
#include "platform/prompts.h"
#include "tests/support/temp_folder.h"
#include "tools/demo_data/png_writer.h"

namespace {

std::vector<std::string> g_boxes;  // texts of the boxes shown, with their captions

int RecordBox(void*, const std::string& text, const std::string& caption, unsigned) {
  g_boxes.push_back(caption + "|" + text);
  return kIdOk;
}

struct ArtworkTest : ::testing::Test {
  TempFolder folder{"btl_artwork"};
  void SetUp() override {
    static bool started = false;
    if (!started) start_pictures();
    started = true;
    g_boxes.clear();
    SetPromptHandler(RecordBox);
  }
  void TearDown() override { SetPromptHandler(nullptr); }

  // A w x h picture: opaque red on the left half, fully transparent on the right half.
  std::string Picture(const std::string& name, int w, int h) {
    std::vector<uint32_t> px(size_t(w) * h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) px[size_t(y) * w + x] = x < w / 2 ? PngRgba(200, 0, 0) : 0;
    std::string path = folder.File(name);
    EXPECT_TRUE(WritePng(path, w, h, px.data()));
    return path;
  }
};

TEST_F(ArtworkTest, ScaledSizesAreTruncated) {
  Surface s;
  ASSERT_TRUE(load_picture(s, Picture("flag.png", 64, 48), 0.33, 0x000000));
  EXPECT_EQ(s.width, 21);
  EXPECT_EQ(s.height, 15);
  EXPECT_TRUE(g_boxes.empty());
  DestroySurface(&s);
}

TEST_F(ArtworkTest, ZeroScaledWidthKeepsTheOldSize) {
  Surface s;
  load_picture(s, Picture("thin.png", 2, 40), 0.33, 0x000000);
  EXPECT_EQ(s.width, 0);  // 0 x 13 is ignored: still 0 x 0
  EXPECT_EQ(s.height, 0);
  resize_surface(&s, 5, 5);
  load_picture(s, Picture("thin2.png", 2, 40), 0.33, 0x000000);
  EXPECT_EQ(s.width, 5);
  DestroySurface(&s);
}

TEST_F(ArtworkTest, TransparentAreasEndAsTheBackground) {
  Surface black, white;
  std::string path = Picture("half.png", 40, 20);
  ASSERT_TRUE(load_picture(black, path, 1.0, 0x000000));
  ASSERT_TRUE(load_picture(white, path, 1.0, 0xFFFFFF));
  EXPECT_EQ(black.pixels[10 * 40 + 35], 0u);  // keyed out by blit_keyed
  EXPECT_EQ(white.pixels[10 * 40 + 35], 0xFFFFFFu);
  EXPECT_EQ(black.pixels[10 * 40 + 5], 0x00C80000u);  // red as a pixel, top byte 0
  DestroySurface(&black);
  DestroySurface(&white);
}

TEST_F(ArtworkTest, MissingTruncatedAndForeignFilesShowTheBoxAndLeaveTheSurface) {
  std::string bytes = EncodePng(30, 30, std::vector<uint32_t>(900, PngRgba(1, 2, 3)).data());
  folder.Write("cut.png", bytes.substr(0, bytes.size() / 2));
  folder.Write("text.png", "not a png");
  folder.Write("huge.png", EncodePng(kMaxPictureSide + 1, 2,
                                     std::vector<uint32_t>((kMaxPictureSide + 1) * 2, 0).data()));
  // A small file whose header states 60000 x 60000 (with a correct chunk checksum): refused
  // from the header, before the decoder could try to allocate 13 GiB for it.
  std::string claims = EncodePng(2, 2, std::vector<uint32_t>(4, PngRgba(1, 2, 3)).data());
  for (int i : {16, 20}) {
    claims[i] = 0, claims[i + 1] = 0, claims[i + 2] = char(0xEA), claims[i + 3] = char(0x60);
  }
  uint32_t crc = PngCrc32(claims.data() + 12, 17);
  for (int i = 0; i < 4; ++i) claims[29 + i] = char(crc >> (24 - 8 * i));
  folder.Write("claims.png", claims);
  for (const char* name : {"missing.png", "cut.png", "text.png", "huge.png", "claims.png"}) {
    Surface s;
    g_boxes.clear();
    EXPECT_FALSE(load_picture(s, folder.File(name), 1.0, 0x000000)) << name;
    EXPECT_TRUE(g_boxes.empty()) << name;
    ReportMissingPictures();
    ASSERT_EQ(g_boxes.size(), 1u) << name;
    EXPECT_EQ(g_boxes[0], "文件缺失|" + folder.File(name));
    EXPECT_EQ(s.width, 0) << name;
  }
}

}  // namespace

// Pictures loaded together on several threads end exactly as the same load_picture calls
// one after the other: the same sizes, the same pixels, the same boxes in the same order,
// with broken files among good ones and one surface named twice (the later load wins).
TEST_F(ArtworkTest, QueuedPicturesEndAsLoadingThemOneByOne) {
  folder.Write("text.png", "not a png");
  struct Load {
    std::string path;
    double scale;
    uint32_t background;
    int surface;
  };
  std::vector<Load> loads;
  for (int i = 0; i < 24; ++i)
    loads.push_back({Picture("p" + std::to_string(i) + ".png", 10 + 7 * i, 9 + 5 * (i % 4)),
                     i % 3 ? 0.33 : 1.0, i % 2 ? 0xFFFFFFu : 0u, i});
  loads.insert(loads.begin() + 5, Load{folder.File("missing.png"), 1.0, 0, 24});
  loads.insert(loads.begin() + 11, Load{folder.File("text.png"), 0.4, 0, 25});
  loads.push_back({Picture("again.png", 31, 17), 0.45, 0, 3});
  const size_t surfaces = 26;

  std::vector<Surface> one(surfaces), queued(surfaces);
  g_boxes.clear();
  ReportMissingPictures();  // none left over from before
  for (const Load& l : loads) load_picture(one[size_t(l.surface)], l.path, l.scale, l.background);
  const std::vector<std::string> missingOneByOne = MissingPictures();
  ASSERT_EQ(missingOneByOne,
            (std::vector<std::string>{folder.File("missing.png"), folder.File("text.png")}));
  ReportMissingPictures();
  g_boxes.clear();
  for (const Load& l : loads)
    QueuePicture(queued[size_t(l.surface)], l.path, l.scale, l.background);
  EXPECT_TRUE(MissingPictures().empty());  // nothing is loaded or noted before the finish
  FinishPictures();
  EXPECT_EQ(MissingPictures(), missingOneByOne);
  EXPECT_TRUE(g_boxes.empty());  // the box is the start-up's, once, after every picture
  for (size_t i = 0; i < surfaces; ++i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(queued[i].width, one[i].width);
    ASSERT_EQ(queued[i].height, one[i].height);
    const size_t n = size_t(one[i].width) * one[i].height;
    if (n) {
      EXPECT_EQ(std::vector<uint32_t>(queued[i].pixels, queued[i].pixels + n),
                std::vector<uint32_t>(one[i].pixels, one[i].pixels + n));
    }
    EXPECT_EQ(queued[i].backColour, one[i].backColour);
    DestroySurface(&one[i]);
    DestroySurface(&queued[i]);
  }
  ReportMissingPictures();  // nothing noted is left for the next test
  g_boxes.clear();
}

// Deferred pictures (the portraits) among queued ones: at the finish only their headers are
// read, a missing one or one refused from its header is noted in its place in the order,
// the surface stays as it was until DecodeDeferred, which then gives what load_picture
// gives and leaves the target alone; a second DecodeDeferred, or one for a surface with
// nothing deferred, changes nothing.
TEST_F(ArtworkTest, DeferredPicturesAreCheckedInOrderAndDecodedWhenFirstAsked) {
  folder.Write("text.png", "not a png");
  const std::string good = Picture("face.png", 50, 50), flag = Picture("flag.png", 30, 20);
  ReportMissingPictures();
  g_boxes.clear();
  Surface face, lost, broken, flagSurface, expected;
  DeferPicture(face, good, 1.0, 0xFFFFFF);
  DeferPicture(lost, folder.File("missing.png"), 1.0, 0xFFFFFF);
  QueuePicture(flagSurface, folder.File("gone.png"), 0.33, 0);
  DeferPicture(broken, folder.File("text.png"), 1.0, 0xFFFFFF);
  QueuePicture(flagSurface, flag, 0.33, 0);
  FinishPictures();
  EXPECT_EQ(MissingPictures(),
            (std::vector<std::string>{folder.File("missing.png"), folder.File("gone.png"),
                                      folder.File("text.png")}));
  EXPECT_EQ(flagSurface.width, 9);  // queued ones are loaded at once
  EXPECT_EQ(face.width, 0);         // deferred ones wait
  Surface other;
  resize_surface(&other, 4, 4);
  set_target(&other);
  DecodeDeferred(face);
  EXPECT_EQ(CurrentTarget(), &other);
  ASSERT_TRUE(load_picture(expected, good, 1.0, 0xFFFFFF));
  ASSERT_EQ(face.width, expected.width);
  ASSERT_EQ(face.height, expected.height);
  EXPECT_EQ(std::vector<uint32_t>(face.pixels, face.pixels + 2500),
            std::vector<uint32_t>(expected.pixels, expected.pixels + 2500));
  face.pixels[0] = 0x123456;
  DecodeDeferred(face);  // decoded once only
  EXPECT_EQ(face.pixels[0], 0x123456u);
  DecodeDeferred(lost);
  DecodeDeferred(broken);
  EXPECT_EQ(lost.width, 0);
  EXPECT_EQ(broken.width, 0);
  // A load of a deferred surface replaces the waiting picture.
  DeferPicture(lost, good, 1.0, 0xFFFFFF);
  FinishPictures();
  ASSERT_TRUE(load_picture(lost, flag, 1.0, 0));
  DecodeDeferred(lost);
  EXPECT_EQ(lost.width, 30);
  DeferPicture(broken, good, 1.0, 0xFFFFFF);  // and so does a later queued one
  QueuePicture(broken, flag, 1.0, 0);
  FinishPictures();
  DecodeDeferred(broken);
  EXPECT_EQ(broken.width, 30);
  EXPECT_TRUE(g_boxes.empty());
  ReportMissingPictures();
  g_boxes.clear();
  set_target(nullptr);
  for (Surface* s : {&face, &lost, &broken, &flagSurface, &expected, &other}) DestroySurface(s);
}
