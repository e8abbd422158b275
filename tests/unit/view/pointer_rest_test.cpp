// The rest timer of the pointer, message by message and pass by pass.
#include "view/pointer_rest.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kMove = 0x200;
constexpr uint32_t kLeftUp = 0x202;

// A 12 x 10 view (map area 600 x 525) of a range at least that large, first column even.
struct PointerRestTest : ::testing::Test {
  Layout layout = ComputeLayout(12, 10, 40, 30);
  PointerRest p;
  int32_t scrollX = 0, scrollY = 0;

  void Message(uint32_t code, int32_t x, int32_t y, uint32_t keys = 0) {
    TrackPointer(p, MakeMouseMessage(code, keys, int16_t(x), int16_t(y)));
  }
  void Move(int32_t x, int32_t y) { Message(kMove, x, y); }
  void Leave() {
    MouseMessage m{};
    m.code = kMouseLeave;
    TrackPointer(p, m);
  }
  // One pass at `now` ms: true when the box is due.
  bool Pass(int64_t now) {
    UpdateRest(p, layout, 0, scrollX, scrollY, now);
    return p.boxShown;
  }
};

TEST_F(PointerRestTest, ShownAfterResting400MsOnOneHexAndMovesWithinItKeepTheRest) {
  EXPECT_FALSE(Pass(0));  // nothing known about the pointer yet
  Move(120, 80);          // view hex (2, 1)
  EXPECT_FALSE(Pass(1000));
  EXPECT_FALSE(Pass(1399));
  EXPECT_TRUE(Pass(1400));
  EXPECT_EQ(p.restX, 2);
  EXPECT_EQ(p.restY, 1);
  Move(140, 95);  // still hex (2, 1)
  EXPECT_TRUE(Pass(1420));
  Move(170, 95);  // hex (3, 1): the box goes, the rest starts again
  EXPECT_FALSE(Pass(1440));
  EXPECT_FALSE(Pass(1839));
  EXPECT_TRUE(Pass(1840));
  EXPECT_EQ(p.restX, 3);
  // Away and back between two passes: the pass sees the same hex and the rest goes on.
  Move(400, 400);
  Move(170, 95);
  EXPECT_TRUE(Pass(1860));
}

TEST_F(PointerRestTest, OffTheMapInAHalfCellBandOrOutOfTheWindowNothingIsShown) {
  for (auto [x, y] : {std::pair{610, 200}, {300, 540}, {75, 10}, {25, 510}, {-3, 40}}) {
    SCOPED_TRACE(testing::Message() << "pointer at " << x << "," << y);
    p = PointerRest{};
    Move(x, y);
    EXPECT_FALSE(Pass(0));
    EXPECT_FALSE(Pass(5000));
    EXPECT_FALSE(p.resting());
  }
  // Resting on a hex, then leaving the window in one jump: only the leave says so.
  p = PointerRest{};
  Move(120, 80);
  EXPECT_FALSE(Pass(0));  // the rest starts at the first pass that finds it there
  EXPECT_TRUE(Pass(400));
  Leave();
  EXPECT_FALSE(Pass(420));
  EXPECT_FALSE(Pass(5000));
  Move(120, 80);  // back in: a new rest
  EXPECT_FALSE(Pass(5020));
  EXPECT_TRUE(Pass(5420));
}

TEST_F(PointerRestTest, AButtonDownHidesTheBoxAndTheRestStartsAtItsRelease) {
  Move(120, 80);
  EXPECT_FALSE(Pass(0));
  EXPECT_TRUE(Pass(400));
  Message(kLeftButtonDown, 120, 80, 0x01);
  EXPECT_FALSE(Pass(420));
  Message(kMove, 121, 81, 0x01);  // dragging, button still down
  EXPECT_FALSE(Pass(2000));
  Message(kLeftUp, 121, 81);
  EXPECT_FALSE(Pass(2020));
  EXPECT_FALSE(Pass(2419));
  EXPECT_TRUE(Pass(2420));
  // A click whose press and release both arrive before the next pass still counts.
  Message(kLeftButtonDown, 121, 81, 0x01);
  Message(kLeftUp, 121, 81);
  EXPECT_FALSE(Pass(2440));
  EXPECT_TRUE(Pass(2840));
  // The right and middle buttons too.
  for (uint32_t keys : {0x02u, 0x10u}) {
    Message(kMove, 121, 81, keys);
    EXPECT_FALSE(Pass(3000));
    Move(121, 81);
    EXPECT_FALSE(Pass(3020));
    EXPECT_TRUE(Pass(3420));
  }
}

TEST_F(PointerRestTest, ScrollingUnderARestingPointerStartsAgainOnTheNewHex) {
  Move(120, 80);
  EXPECT_FALSE(Pass(0));
  EXPECT_TRUE(Pass(400));
  scrollX = 1;  // the pointer is over grid hex (3, 1) now, in an odd column
  EXPECT_FALSE(Pass(420));
  EXPECT_EQ(p.restX, 3);
  EXPECT_TRUE(Pass(820));
  scrollY = 2;
  EXPECT_FALSE(Pass(840));
  EXPECT_EQ(p.restY, 3);  // y 80 is row 1 of the shifted column, grid row 3
}

TEST_F(PointerRestTest, ForgettingThePointerHidesTheBoxUntilAMessagePlacesItAgain) {
  Move(120, 80);
  EXPECT_FALSE(Pass(0));
  EXPECT_TRUE(Pass(400));
  ForgetPointer(p);
  EXPECT_FALSE(Pass(420));
  EXPECT_FALSE(Pass(5000));
  Move(120, 80);
  EXPECT_FALSE(Pass(5020));
  EXPECT_TRUE(Pass(5420));
}

}  // namespace
