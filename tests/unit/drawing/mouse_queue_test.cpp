#include <gtest/gtest.h>

#include <thread>

#include "drawing/mouse_queue.h"
#include "drawing/window.h"

namespace {

MouseMessage Numbered(int n) { return MakeMouseMessage(0x200, 0, int16_t(n), int16_t(-n)); }

TEST(MouseRing, HoldsSixtyThreeAndDropsTheNextKeepingOrder) {
  MouseQueue q;
  for (int i = 0; i < 63; ++i) EXPECT_TRUE(q.put(Numbered(i)));
  EXPECT_TRUE(q.full());
  EXPECT_FALSE(q.put(Numbered(99)));
  EXPECT_EQ(q.count(), 63u);
  MouseMessage m;
  for (int i = 0; i < 63; ++i) {
    ASSERT_TRUE(q.take(m));
    EXPECT_EQ(m.x, i);
  }
  EXPECT_FALSE(q.take(m));
  EXPECT_TRUE(q.empty());
}

TEST(MouseRing, PositionsWrapAfterSixtyFourPairs) {
  MouseQueue q;
  MouseMessage m;
  for (int i = 0; i < 64 * 3 + 5; ++i) {
    ASSERT_TRUE(q.put(Numbered(i)));
    ASSERT_TRUE(q.take(m));
    EXPECT_EQ(m.x, int16_t(i));
  }
  EXPECT_TRUE(q.empty());
}

TEST(MouseRing, MessageRecordTakesFlagsFromTheKeyStateWord) {
  // A left click at (5, 7) with Ctrl held: MK_LBUTTON | MK_CONTROL.
  MouseMessage m = MakeMouseMessage(0x201, 0x0001 | 0x0008, 5, 7);
  EXPECT_EQ(m.code, 0x201u);
  EXPECT_EQ(m.ctrl, 1);
  EXPECT_EQ(m.left, 1);
  EXPECT_EQ(m.shift + m.right + m.middle, 0);
  EXPECT_EQ(m.x, 5);
  EXPECT_EQ(m.y, 7);
  EXPECT_EQ(m.wheel, 0);
  // One wheel notch forward: the delta is the high word.
  m = MakeMouseMessage(0x20A, uint32_t(120) << 16 | 0x0004 | 0x0002 | 0x0010, 1, 2);
  EXPECT_EQ(m.wheel, 120);
  EXPECT_EQ(m.shift + m.right + m.middle, 3);
  m = MakeMouseMessage(0x20A, uint32_t(uint16_t(-120)) << 16, 1, 2);
  EXPECT_EQ(m.wheel, -120);
}

// The window's thread puts while the main thread takes: nothing lost unless the ring was
// full, nothing taken twice, order kept.
TEST(MouseRing, TwoThreadsLoseNothingAndReadNothingTwice) {
  MouseQueue q;
  const int kMessages = 200000;
  int dropped = 0;
  std::thread putter([&] {
    for (int i = 0; i < kMessages; ++i)
      while (!q.put(Numbered(i % 30000))) {
        std::this_thread::yield();
      }
  });
  int next = 0;
  MouseMessage m;
  while (next < kMessages) {
    if (!q.take(m)) continue;
    if (m.x != next % 30000) ++dropped;
    ++next;
  }
  putter.join();
  EXPECT_EQ(dropped, 0);
  EXPECT_TRUE(q.empty());
}

}  // namespace

// With no window nothing can ever arrive: the reader gets what is queued, then a record with
// code 0 instead of waiting for ever.
TEST(MouseQueueReader, WithNoWindowOpenTakesWhatIsQueuedThenReturnsEmpty) {
  close_window();
  SharedMouseQueue().clear();
  SharedMouseQueue().put(MakeMouseMessage(kLeftButtonDown, 0x0009, 12, 34));
  EXPECT_TRUE(mouse_pending());
  MouseMessage m = next_mouse_message();
  EXPECT_EQ(m.code, kLeftButtonDown);
  EXPECT_EQ(m.ctrl, 1);
  EXPECT_EQ(m.x, 12);
  m = next_mouse_message();
  EXPECT_EQ(m.code, 0u);
  EXPECT_FALSE(mouse_pending());
}
