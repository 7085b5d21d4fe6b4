// The screen wipe's two patterns and the tick-count waits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "graphics/tests/graph_rig.h"

namespace tessaru {
namespace {

using gfxtest::GraphRig;
using gfxtest::Tag;

constexpr uint16_t kReveal = 0x0841;

bool AllRevealed(const std::vector<uint16_t>& frame) {
  return std::all_of(frame.begin(), frame.end(), [](uint16_t v) { return v == kReveal; });
}

TEST(Wipe, RowsThenColumnsThenRowsAgain) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
  const SurfaceIndex reveal = rig.NewPage([](int, int) { return kReveal; });
  const SurfaceIndex remove = rig.NewPage(Tag);
  // Each frame's input update sees the previous frame on the screen: frames by the
  // milliseconds since the wipe began.
  std::map<uint32_t, std::vector<uint16_t>> frames;
  uint32_t start = 0, frameStart = 0;
  int inputUpdates = 0, pumps = 0;
  const auto ticks = [&] {
    uint32_t t = 0;
    rig.g.GetTicks(t);
    return t;
  };
  rig.g.SetFrameInput([&] {
    ++inputUpdates;
    if (rig.control.PresentCount() > 0) frames[frameStart] = rig.Frame();
    frameStart = ticks() - start;
  });
  rig.g.SetMessagePump([&] { ++pumps; });

  struct Probe {
    int x, y;
    uint16_t want;
  };
  // At 240 ms rows have moved Int(240 / 500 * 640) = 307 and columns 230.
  const std::vector<Probe> rows = {{0, 10, Tag(307, 10)},  {332, 10, Tag(639, 10)}, {333, 10, kReveal},
                                   {306, 11, kReveal},     {307, 11, Tag(0, 11)},   {639, 11, Tag(332, 11)}};
  const std::vector<Probe> columns = {{10, 0, Tag(10, 230)},  {10, 249, Tag(10, 479)}, {10, 250, kReveal},
                                      {11, 229, kReveal},     {11, 230, Tag(11, 0)},   {11, 479, Tag(11, 249)}};
  for (const auto* probes : {&rows, &columns, &rows}) {
    const bool byRows = probes == &rows;
    frames.clear();
    inputUpdates = pumps = 0;
    start = ticks();
    EXPECT_EQ(rig.g.WipeIn(reveal, remove), byRows ? 1 : 0);
    frames[frameStart] = rig.Frame();
    for (const Probe& p : *probes) {
      EXPECT_EQ(frames.at(240)[static_cast<size_t>(p.y * 640 + p.x)], p.want) << byRows << " " << p.x << "," << p.y;
    }
    // The first frame shows the page being removed whole; the last, at 512 ms, none of it.
    EXPECT_EQ(frames.at(0)[101 * 640 + 100], Tag(100, 101));
    EXPECT_EQ(frames.rbegin()->first, 512u);
    EXPECT_TRUE(AllRevealed(frames.rbegin()->second));
    EXPECT_EQ(inputUpdates, static_cast<int>(frames.size()));
    EXPECT_EQ(pumps, inputUpdates);
  }
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

TEST(Wipe, AFirstFrameAfterTheEndShowsOnlyTheRevealedPage) {
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
  EXPECT_TRUE(AllRevealed(headless.control->LastFrame(&w, &h)));
}

TEST(Wipe, StripsAreCutAtTheSmallScreen) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 1));
  const SurfaceIndex reveal = rig.NewPage([](int, int) { return kReveal; });
  EXPECT_EQ(rig.g.WipeIn(reveal, rig.NewPage(Tag)), 1);
  EXPECT_TRUE(AllRevealed(rig.Frame()));
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
