#include "input/input_lib.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/headless.h"

namespace tessaru {
namespace {

using platform::JoystickState;

// Drives InputLib through the headless platform: keys scripted at virtual times, the
// clock advanced between polls as a frame loop would. Scripts are strings, one character
// per poll: 'X' down, anything else up; states read back as digits (0 idle .. 3 pressed).
class InputTest : public ::testing::Test {
 protected:
  InputTest() : h_(platform::CreateHeadlessPlatform()), input_(*h_.platform->input, *h_.platform->clock) {}

  double Now() { return h_.platform->clock->NowMs(); }
  void Key(int vk, bool down, double offsetMs = 1.0) {
    h_.control->ScheduleKey({Now() + offsetMs, static_cast<uint8_t>(vk), down});
  }
  void Frame(double ms = 16.0, bool mirrorF1 = true) {
    h_.control->AdvanceMs(ms);
    input_.UpdateFuncState(mirrorF1);
  }
  // Moves key `vk` to its state at poll i of `pattern`.
  void Drive(int vk, const std::string& pattern, size_t i) {
    const bool down = i < pattern.size() && pattern[i] == 'X';
    if (down != down_[vk]) Key(vk, down);
    down_[vk] = down;
  }
  void ReleaseAll() {
    for (auto& [vk, down] : down_) {
      if (down) Key(vk, false);
      down = false;
    }
    Frame();
    Frame();
  }
  static char Digit(int16_t state) { return static_cast<char>('0' + state); }

  platform::HeadlessPlatform h_;
  InputLib input_;
  std::map<int, bool> down_;
};

TEST_F(InputTest, KeysFollowTheFourStateRuleAndAFunctionTakesTheStrongest) {
  // Z and Q both drive player 1's first lane.
  struct Case {
    const char *name, *z, *q, *zStates, *qStates, *lane;
  };
  const Case cases[] = {
      {"press hold release", "XX..", "....", "3120", "0000", "3120"},
      {"pressed again right after release", "X.XX", "....", "3231", "0000", "3231"},
      {"a press beats a hold", ".XX", "..X", "031", "003", "033"},
      {"a release beats a hold", ".X.", ".XX", "032", "031", "032"},
      {"a press beats a release", "..X", ".X.", "003", "032", "033"},
      {"never down", "..", "..", "00", "00", "00"},
  };
  input_.KeyMap()['Z'] = 1;
  input_.KeyMap()['Q'] = 1;
  input_.InitInput(false);
  for (const Case& c : cases) {
    std::string z, q, lane;
    for (size_t i = 0; i < std::string(c.z).size(); ++i) {
      Drive('Z', c.z, i);
      Drive('Q', c.q, i);
      Frame();
      z += Digit(input_.KeyState('Z'));
      q += Digit(input_.KeyState('Q'));
      lane += Digit(input_.FuncState(0, 1));
    }
    EXPECT_EQ(z, c.zStates) << c.name;
    EXPECT_EQ(q, c.qStates) << c.name;
    EXPECT_EQ(lane, c.lane) << c.name;
    ReleaseAll();
  }
}

TEST_F(InputTest, EveryKeyDownBetweenPollsIsAPressAtItsOwnTime) {
  // One 16 ms frame of key events, a character per millisecond ('v' down, '^' up); every
  // 'v' must come back as a press at its time. Then the lane's state at that poll and the
  // next two: menus read the function table, where the taps show as one fresh press.
  struct Case {
    const char* name;
    bool heldBefore;
    std::string frame;
    const char* states;
  };
  const Case cases[] = {
      {"tap inside one poll", false, "..v..^", "320"},
      {"two taps inside one poll", false, ".v.^....v.^", "320"},
      {"tap, then down again", false, ".v.^....v", "311"},
      {"held key let go and struck again", true, "....^.v", "311"},
      {"held key struck and let go twice", true, "..^.v.^", "320"},
      {"held key let go", true, "....^", "200"},
      {"pressed and held", false, "....v", "311"},
  };
  input_.KeyMap()['Z'] = 1;
  input_.InitInput(false);
  for (const Case& c : cases) {
    if (c.heldBefore) {
      Key('Z', true);
      Frame();
      Frame();
    }
    const double start = Now();
    std::vector<InputPress> expected;
    for (size_t ms = 0; ms < c.frame.size(); ++ms) {
      if (c.frame[ms] != '.') Key('Z', c.frame[ms] == 'v', static_cast<double>(ms));
      if (c.frame[ms] == 'v') expected.push_back({'Z', start + static_cast<double>(ms)});
    }
    std::string states;
    for (int i = 0; i < 3; ++i) {
      Frame();
      states += Digit(input_.FuncState(0, 1));
      EXPECT_EQ(input_.FuncPresses(0, 1), i == 0 ? expected : std::vector<InputPress>{}) << c.name << i;
    }
    EXPECT_EQ(states, c.states) << c.name;
    Key('Z', false);
    Frame();
    Frame();
  }
}

TEST_F(InputTest, PressesComeEarliestFirstTiesByCode) {
  input_.KeyMap()['Z'] = 1;
  input_.KeyMap()[188] = 7;
  input_.InitInput(false);
  Frame();
  const double start = Now();
  Key('X', true, 9.5);
  Key(188, true, 3.25);
  Key('Z', true, 3.25);
  Key('C', true, 1.0);
  Key('C', false, 2.0);
  Key('C', true, 12.0);
  Frame();
  EXPECT_EQ(input_.PressesSinceLastPoll(),
            (std::vector<InputPress>{
                {'C', start + 1}, {'Z', start + 3.25}, {188, start + 3.25}, {'X', start + 9.5}, {'C', start + 12}}));
  EXPECT_EQ(input_.FuncPresses(1, 2), (std::vector<InputPress>{{188, start + 3.25}}));
  EXPECT_DOUBLE_EQ(input_.LastPollTimeMs(), start + 16.0);
  Frame();
  EXPECT_TRUE(input_.PressesSinceLastPoll().empty()) << "held keys are not pressed again";
}

TEST_F(InputTest, F1MirrorsGroupTwoSlotZero) {
  // Per poll: F1 key, the mirrored pad button, the mirror flag; F1's state read.
  const std::string f1 = "..XX.......XXX", button = "XXXXXX..XX..XX", mirror = "XXXXXXXX.XXXXX";
  // Pressed by the button alone; a real F1 press shows while it holds; F1 let go: the
  // release wins; no mirror without the flag; a fresh button press shows over a held F1.
  const std::string want = "31312120012331";
  input_.KeyMap()[JoypadInput(0, kJoyFirstButton + 9)] = kF1MirrorFunction;
  input_.InitInput(true);
  std::string got;
  for (size_t i = 0; i < want.size(); ++i) {
    Drive(kVkF1, f1, i);
    h_.control->SetJoystick(0, {true, 0, 0, button[i] == 'X' ? 1u << 9 : 0u});
    Frame(16.0, mirror[i] == 'X');
    got += Digit(input_.KeyState(kVkF1));
  }
  EXPECT_EQ(got, want);
}

TEST_F(InputTest, KeyMapCodesOutsideTheTableDriveNothing) {
  input_.KeyMap()['A'] = 20;
  input_.KeyMap()['B'] = -7;
  input_.KeyMap()['C'] = 32767;
  input_.KeyMap()['D'] = 19;
  input_.InitInput(false);
  for (int vk : {'A', 'B', 'C', 'D'}) Key(vk, true);
  Frame();
  for (int g = -1; g <= kFuncGroups; ++g) {
    for (int s = 0; s < kFuncSlots; ++s) {
      EXPECT_EQ(input_.FuncState(g, s), (g == 3 && s == 4) ? KeyPressed : KeyIdle) << g << s;
    }
  }
  EXPECT_EQ(input_.KeyState(KeyCount), KeyIdle);
  EXPECT_EQ(input_.KeyState(-1), KeyIdle);
}

TEST(JoypadElement, AxesCountOnlyStrictlyBeyondHalfRange) {
  struct Case {
    int x, y;
    const char* down;  // of "UDLR"
  };
  const Case cases[] = {
      {0, -5000, ""}, {0, -5001, "U"}, {0, 5000, ""},  {0, 5001, "D"},         {-5000, 0, ""},
      {-5001, 0, "L"}, {5000, 0, ""},  {5001, 0, "R"}, {-10000, 10000, "DL"},
  };
  for (const Case& c : cases) {
    std::string down;
    for (int e : {kJoyUp, kJoyDown, kJoyLeft, kJoyRight}) {
      if (JoypadElementDown({true, c.x, c.y, 0}, e)) down += "UDLR"[e];
    }
    EXPECT_EQ(down, c.down) << c.x << "," << c.y;
  }
  // A pad that is not connected reads as up whatever it last reported.
  EXPECT_FALSE(JoypadElementDown({false, 9000, 9000, ~0u}, kJoyRight));
  EXPECT_FALSE(JoypadElementDown({false, 9000, 9000, ~0u}, kJoyFirstButton));
}

TEST_F(InputTest, JoypadMovesArePressesAtTheirOwnTimeAndCode) {
  input_.InitInput(true);
  Frame();
  const double start = Now();
  // Pad 0: button 0 tapped twice, then the stick pushed right, all before one poll; pad 1
  // left and button 7; pad 0's button 31 with the last move.
  const std::pair<double, JoystickState> moves[] = {
      {3, {true, 0, 0, 1u}},  {5, {true, 0, 0, 0u}},           {9, {true, 0, 0, 1u}},
      {10, {true, 0, 0, 0u}}, {11, {true, 9000, 0, 1u << 31}}, {12, {true, 9000, 0, 1u << 31}},
  };
  double at = 0.0;
  for (const auto& [time, joystick] : moves) {
    h_.control->AdvanceMs(time - at);
    at = time;
    h_.control->SetJoystick(0, joystick);
  }
  h_.control->SetJoystick(1, {true, -5001, 0, 1u << 7});
  Frame(16.0 - at);
  // Pad 0's codes start at 256 (up, down, left, right, then the buttons), pad 1's at 292.
  EXPECT_EQ(input_.PressesSinceLastPoll(),
            (std::vector<InputPress>{{260, start + 3}, {260, start + 9}, {259, start + 11}, {291, start + 11},
                                     {294, start + 12}, {303, start + 12}}));
  // Per poll, the states of button 0, right and button 31; then pushed further (and
  // button 31 let go): no new press.
  std::string states;
  for (int poll = 0; poll < 3; ++poll) {
    if (poll == 2) h_.control->SetJoystick(0, {true, 10000, 0, 0u});
    if (poll > 0) Frame();
    for (int i : {260, 259, 291}) states += Digit(input_.KeyState(i));
    states += ' ';
  }
  EXPECT_EQ(states, "333 211 012 ");
  EXPECT_TRUE(input_.PressesSinceLastPoll().empty());
  EXPECT_EQ(input_.KeyState(294), KeyHeld);
}

TEST_F(InputTest, UnpluggedJoypadReadsAsUpAndPluggedBackIsAFreshPress) {
  input_.KeyMap()[JoypadInput(1, kJoyFirstButton)] = 6;
  input_.InitInput(true);
  std::string got;
  for (const char connected : std::string("XX..X")) {
    h_.control->SetJoystick(1, {connected == 'X', 0, 0, 1u});
    Frame();
    got += Digit(input_.FuncState(1, 1));
  }
  EXPECT_EQ(got, "31203");
}

TEST_F(InputTest, LifecycleInitResetAndRelease) {
  h_.control->SetJoystick(0, {true, 9000, 0, 1u});
  Key('A', true);
  Frame();
  EXPECT_EQ(input_.KeyState('A'), KeyIdle) << "before InitInput";
  EXPECT_TRUE(input_.PressesSinceLastPoll().empty());

  ASSERT_TRUE(input_.InitInput(false));
  EXPECT_EQ(input_.JoypadCount(), 1);
  Frame();
  EXPECT_EQ(input_.KeyState('A'), KeyPressed);
  for (int i = kJoypadInputBase; i < KeyCount; ++i) EXPECT_EQ(input_.KeyState(i), KeyIdle) << "pads not asked for";
  // A second InitInput keeps the tables as they are.
  EXPECT_TRUE(input_.InitInput(true));
  EXPECT_FALSE(input_.JoypadsEnabled());
  EXPECT_EQ(input_.KeyState('A'), KeyPressed);

  // After a reset a held key is a press at the poll's time.
  Frame();
  input_.ResetInput();
  EXPECT_EQ(input_.KeyState('A'), KeyIdle);
  Frame();
  EXPECT_EQ(input_.KeyState('A'), KeyPressed);
  EXPECT_EQ(input_.PressesSinceLastPoll(), (std::vector<InputPress>{{'A', Now()}}));

  EXPECT_TRUE(input_.ReleaseInput());
  Frame();
  EXPECT_EQ(input_.KeyState('A'), KeyIdle);
}

}  // namespace
}  // namespace tessaru
