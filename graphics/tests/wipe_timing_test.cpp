// The screen wipe's two patterns and the tick-count waits.
#include <gtest/gtest.h>

#include <cmath>

#include "graphics/tests/graph_rig.h"

namespace tessaru {
namespace {

using gfxtest::GraphRig;
using gfxtest::Tag;

constexpr uint16_t kReveal = 0x0841;

struct Frame {
  uint32_t elapsed;
  std::vector<uint16_t> pixels;
};

class Wipe : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rig_.g.InitDirectDraw(false, 0));
    reveal_ = rig_.g.NewSurface(0, 0);
    remove_ = rig_.g.NewSurface(0, 0);
    rig_.Paint(reveal_, [](int, int) { return kReveal; });
    rig_.Paint(remove_, Tag);
    // Each frame's input update sees the previous frame on the screen.
    rig_.g.SetFrameInput([this] {
      ++inputUpdates_;
      if (rig_.control.PresentCount() > 0) {
        int w = 0, h = 0;
        frames_.push_back({lastStart_, rig_.control.LastFrame(&w, &h)});
      }
      lastStart_ = Ticks() - start_;
    });
    rig_.g.SetMessagePump([this] { ++pumps_; });
  }
  uint32_t Ticks() {
    uint32_t t = 0;
    rig_.g.GetTicks(t);
    return t;
  }
  int16_t Run() {
    frames_.clear();
    start_ = Ticks();
    const int16_t next = rig_.g.WipeIn(reveal_, remove_);
    int w = 0, h = 0;
    frames_.push_back({lastStart_, rig_.control.LastFrame(&w, &h)});
    return next;
  }
  const Frame& FrameAt(uint32_t elapsed) {
    for (const auto& f : frames_) {
      if (f.elapsed == elapsed) return f;
    }
    ADD_FAILURE() << "no frame at " << elapsed;
    return frames_.front();
  }
  static uint16_t At(const Frame& f, int x, int y) { return f.pixels[static_cast<size_t>(y * 640 + x)]; }

  GraphRig rig_;
  SurfaceIndex reveal_ = -1;
  SurfaceIndex remove_ = -1;
  std::vector<Frame> frames_;
  uint32_t start_ = 0;
  uint32_t lastStart_ = 0;
  int inputUpdates_ = 0;
  int pumps_ = 0;
};

TEST_F(Wipe, RowsThenColumnsThenRowsAgain) {
  EXPECT_EQ(Run(), 1);
  // Row pattern at 240 ms: d = Int(240 / 500 * 640) = 307, strips 333 wide.
  {
    const Frame& f = FrameAt(240);
    EXPECT_EQ(At(f, 0, 10), Tag(307, 10));     // even rows slide left
    EXPECT_EQ(At(f, 332, 10), Tag(639, 10));
    EXPECT_EQ(At(f, 333, 10), kReveal);
    EXPECT_EQ(At(f, 306, 11), kReveal);        // odd rows slide right
    EXPECT_EQ(At(f, 307, 11), Tag(0, 11));
    EXPECT_EQ(At(f, 639, 11), Tag(332, 11));
  }
  EXPECT_EQ(frames_.back().elapsed, 512u);
  EXPECT_TRUE(std::all_of(frames_.back().pixels.begin(), frames_.back().pixels.end(),
                          [](uint16_t v) { return v == kReveal; }));
  EXPECT_EQ(inputUpdates_, static_cast<int>(frames_.size()));
  EXPECT_EQ(pumps_, inputUpdates_);

  EXPECT_EQ(Run(), 0);
  // Column pattern at 240 ms: d = Int(240 / 500 * 480) = 230, strips 250 high.
  {
    const Frame& f = FrameAt(240);
    EXPECT_EQ(At(f, 10, 0), Tag(10, 230));     // even columns slide up
    EXPECT_EQ(At(f, 10, 249), Tag(10, 479));
    EXPECT_EQ(At(f, 10, 250), kReveal);
    EXPECT_EQ(At(f, 11, 229), kReveal);        // odd columns slide down
    EXPECT_EQ(At(f, 11, 230), Tag(11, 0));
    EXPECT_EQ(At(f, 11, 479), Tag(11, 249));
  }
  // The first frame shows the page being removed whole.
  EXPECT_EQ(At(FrameAt(0), 100, 101), Tag(100, 101));

  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(At(FrameAt(240), 0, 10), Tag(307, 10));
}

// A clock that jumps forward between the wipe's start and its first frame.
class JumpingClock : public platform::Clock {
 public:
  explicit JumpingClock(platform::Clock& inner) : inner_(inner) {}
  uint32_t GetTickCount() override { return inner_.GetTickCount() + (calls_++ > 0 ? 600 : 0); }
  double NowMs() override { return inner_.NowMs(); }
  void SleepMs(uint32_t ms) override { inner_.SleepMs(ms); }

 private:
  platform::Clock& inner_;
  int calls_ = 0;
};

TEST(WipeLate, AFirstFrameAfterTheEndShowsOnlyTheRevealedPage) {
  auto headless = platform::CreateHeadlessPlatform();
  JumpingClock clock(*headless.platform->clock);
  ErrorLog log;
  GraphLib g(*headless.platform->video, clock, log);
  ASSERT_TRUE(g.InitDirectDraw(false, 0));
  const SurfaceIndex reveal = g.NewSurface(0, 0);
  const SurfaceIndex remove = g.NewSurface(0, 0);
  std::fill(g.Pixels(reveal).begin(), g.Pixels(reveal).end(), kReveal);
  std::fill(g.Pixels(remove).begin(), g.Pixels(remove).end(), 0xFFFF);
  EXPECT_EQ(g.WipeIn(reveal, remove), 1);
  EXPECT_EQ(headless.control->PresentCount(), 1u);
  int w = 0, h = 0;
  const auto& frame = headless.control->LastFrame(&w, &h);
  EXPECT_TRUE(std::all_of(frame.begin(), frame.end(), [](uint16_t v) { return v == kReveal; }));
}

TEST(WipeSmall, StripsAreCutAtTheSmallScreen) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 1));
  const SurfaceIndex reveal = rig.g.NewSurface(0, 0);
  const SurfaceIndex remove = rig.g.NewSurface(0, 0);
  rig.Paint(reveal, [](int, int) { return kReveal; });
  rig.Paint(remove, Tag);
  EXPECT_EQ(rig.g.WipeIn(reveal, remove), 1);
  EXPECT_EQ(rig.FrameAt(319, 239), kReveal);
}

TEST(WipeUninitialised, DoesNothing) {
  GraphRig rig;
  EXPECT_EQ(rig.g.WipeIn(2, 3), 0);
  EXPECT_EQ(rig.control.PresentCount(), 0u);
}

TEST(Waits, EndOnTimeAndServiceEventsMeanwhile) {
  struct Case {
    const char* name;
    double startMs;      // where the clock is set first
    double markAgoMs;    // WaitFromMark: how long before the wait the mark was taken; <0: WaitSeconds
    double seconds;
    uint32_t wantEndTick;
  };
  constexpr double kWrap = 4294967296.0;
  const Case cases[] = {
      {"a quarter second", 1000, -1, 0.25, 1250},
      {"fractions of a millisecond are dropped", 1000, -1, 0.0019, 1001},
      {"nothing to wait", 1000, -1, 0.0, 1000},
      {"a negative wait returns at once", 1000, -1, -2.0, 1000},
      {"not a number returns at once", 1000, -1, std::nan(""), 1000},
      {"from a mark", 1000, 100, 0.3, 1200},
      {"from a mark already passed", 1000, 500, 0.3, 1000},
      {"across the tick wrap", kWrap - 100, -1, 0.3, 200},
      {"from a mark before the wrap", kWrap - 100, 50, 0.3, 150},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GraphRig rig;
    int pumps = 0;
    rig.g.SetMessagePump([&] { ++pumps; });
    if (c.markAgoMs >= 0) {
      rig.control.SetClockMs(c.startMs - c.markAgoMs);
      rig.g.MarkTime();
      rig.control.SetClockMs(c.startMs);
      rig.g.WaitFromMark(c.seconds);
    } else {
      rig.control.SetClockMs(c.startMs);
      rig.g.WaitSeconds(c.seconds);
    }
    uint32_t end = 0;
    rig.g.GetTicks(end);
    EXPECT_EQ(end, c.wantEndTick);
    const uint32_t startTick = static_cast<uint32_t>(static_cast<uint64_t>(c.startMs));
    EXPECT_EQ(static_cast<uint32_t>(pumps), end - startTick);  // one pass per millisecond
  }
}

}  // namespace
}  // namespace tessaru
