#include "input/input_lib.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/headless.h"

namespace tessaru {
namespace {

using platform::JoystickState;

// Drives InputLib through the headless platform: keys scripted at virtual times, the
// clock advanced between polls as a frame loop would.
class InputTest : public ::testing::Test {
 protected:
  InputTest()
      : headless_(platform::CreateHeadlessPlatform()),
        control_(*headless_.control),
        input_(*headless_.platform->input, *headless_.platform->clock) {}

  double Now() { return headless_.platform->clock->NowMs(); }
  // Schedules a key event `offsetMs` from now.
  void Key(int vk, bool down, double offsetMs = 0.0) {
    control_.ScheduleKey({Now() + offsetMs, static_cast<uint8_t>(vk), down});
  }
  // One frame: the clock moves on, then the game polls.
  void Frame(double ms = 16.0, bool mirrorF1 = true) {
    control_.AdvanceMs(ms);
    input_.UpdateFuncState(mirrorF1);
  }

  platform::HeadlessPlatform headless_;
  platform::HeadlessControl& control_;
  InputLib input_;
};

TEST_F(InputTest, KeySequencesFollowTheFourStateRule) {
  struct Case {
    std::string name;
    std::vector<bool> downAtPoll;
    std::vector<int16_t> states;
  };
  const std::vector<Case> cases = {
      {"press hold release", {true, true, false, false}, {3, 1, 2, 0}},
      {"press again right after release", {true, false, true, true}, {3, 2, 3, 1}},
      {"held across polls passes 3 once", {true, true, true}, {3, 1, 1}},
      {"never down", {false, false}, {0, 0}},
  };
  input_.InitInput(false);
  for (const Case& c : cases) {
    input_.ResetInput();
    bool down = false;
    for (size_t i = 0; i < c.downAtPoll.size(); ++i) {
      if (c.downAtPoll[i] != down) Key('A', c.downAtPoll[i], 1.0);
      down = c.downAtPoll[i];
      Frame();
      EXPECT_EQ(input_.KeyState('A'), c.states[i]) << c.name << " poll " << i;
    }
    if (down) Key('A', false, 1.0);
    Frame();
    Frame();
  }
}

TEST_F(InputTest, EveryKeyDownBetweenPollsIsAPress) {
  // Key events inside one 16 ms frame (offset, down), whether the key was held before it,
  // the press times expected from that poll, and the lane's state at it and the next two.
  struct Case {
    std::string name;
    bool heldBefore;
    std::vector<std::pair<double, bool>> events;
    std::vector<double> pressOffsets;
    std::vector<int16_t> states;
  };
  const std::vector<Case> cases = {
      {"tap inside one poll", false, {{2, true}, {5, false}}, {2}, {3, 2, 0}},
      {"two taps inside one poll", false, {{1, true}, {3, false}, {8, true}, {10, false}}, {1, 8}, {3, 2, 0}},
      {"tap, then down again", false, {{1, true}, {3, false}, {8, true}}, {1, 8}, {3, 1, 1}},
      {"held key let go and struck again", true, {{4, false}, {6, true}}, {6}, {3, 1, 1}},
      {"held key struck and let go twice", true, {{2, false}, {4, true}, {6, false}}, {4}, {3, 2, 0}},
      {"held key let go", true, {{4, false}}, {}, {2, 0, 0}},
      {"pressed and held", false, {{4, true}}, {4}, {3, 1, 1}},
  };
  input_.KeyMap()['Z'] = 1;
  input_.InitInput(false);
  for (const Case& c : cases) {
    if (c.heldBefore) {
      Key('Z', true, 1.0);
      Frame();
      Frame();
      ASSERT_EQ(input_.FuncState(0, 1), KeyHeld) << c.name;
    }
    const double start = Now();
    for (const auto& [offset, down] : c.events) Key('Z', down, offset);
    Frame();
    std::vector<InputPress> expected;
    for (double offset : c.pressOffsets) expected.push_back({'Z', start + offset});
    EXPECT_EQ(input_.FuncPresses(0, 1), expected) << c.name;
    for (size_t i = 0; i < c.states.size(); ++i) {
      // Menus read the function table: the tap shows as one fresh press.
      EXPECT_EQ(input_.FuncState(0, 1), c.states[i]) << c.name << " poll " << i;
      if (i > 0) {
        EXPECT_TRUE(input_.FuncPresses(0, 1).empty()) << c.name << " poll " << i;
      }
      Frame();
    }
    Key('Z', false, 1.0);
    Frame();
    Frame();
  }
}

TEST_F(InputTest, JoypadMovesBetweenPollsArePressesAtTheirOwnTime) {
  input_.InitInput(true);
  Frame();
  const double start = Now();
  // Button 0 tapped twice, then the stick pushed right, all before one poll.
  const std::pair<double, JoystickState> moves[] = {
      {3.0, {true, 0, 0, 1u}},    {5.0, {true, 0, 0, 0u}},    {9.0, {true, 0, 0, 1u}},
      {10.0, {true, 0, 0, 0u}},   {11.0, {true, 9000, 0, 0u}}, {12.0, {true, 9000, 0, 0u}},
  };
  double at = 0.0;
  for (const auto& [time, joystick] : moves) {
    control_.AdvanceMs(time - at);
    at = time;
    control_.SetJoystick(0, joystick);
  }
  Frame(16.0 - at);
  const int button = JoypadInput(0, kJoyFirstButton);
  const int right = JoypadInput(0, kJoyRight);
  EXPECT_EQ(input_.PressesSinceLastPoll(),
            (std::vector<InputPress>{{button, start + 3.0}, {button, start + 9.0}, {right, start + 11.0}}));
  EXPECT_EQ(input_.KeyState(button), KeyPressed);
  EXPECT_EQ(input_.KeyState(right), KeyPressed);
  Frame();
  EXPECT_EQ(input_.KeyState(button), KeyReleased);
  EXPECT_EQ(input_.KeyState(right), KeyHeld);
  EXPECT_TRUE(input_.PressesSinceLastPoll().empty());
  // Pushed further while held: no new press.
  control_.SetJoystick(0, {true, 10000, 0, 0u});
  Frame();
  EXPECT_EQ(input_.KeyState(right), KeyHeld);
  EXPECT_TRUE(input_.PressesSinceLastPoll().empty());
}

TEST_F(InputTest, PressesKeepTheirArrivalTimes) {
  input_.KeyMap()['Z'] = 1;
  input_.KeyMap()['X'] = 2;
  input_.KeyMap()[188] = 7;
  input_.InitInput(false);
  Frame();
  const double start = Now();
  Key('X', true, 9.5);
  Key('Z', true, 3.25);
  Key(188, true, 3.25);
  // A key that goes down, up and down again in one frame was pressed twice.
  Key('C', true, 1.0);
  Key('C', false, 2.0);
  Key('C', true, 12.0);
  Frame();

  const std::vector<InputPress> expected = {
      {'C', start + 1.0}, {'Z', start + 3.25}, {188, start + 3.25}, {'X', start + 9.5}, {'C', start + 12.0}};
  EXPECT_EQ(input_.PressesSinceLastPoll(), expected);
  EXPECT_EQ(input_.FuncPresses(0, 1), (std::vector<InputPress>{{'Z', start + 3.25}}));
  EXPECT_EQ(input_.FuncPresses(1, 2), (std::vector<InputPress>{{188, start + 3.25}}));
  EXPECT_TRUE(input_.FuncPresses(0, 3).empty());
  EXPECT_DOUBLE_EQ(input_.LastPollTimeMs(), start + 16.0);

  // Held keys are not pressed again.
  Frame();
  EXPECT_TRUE(input_.PressesSinceLastPoll().empty());
}

TEST_F(InputTest, HeldKeyAfterResetIsAPressAtPollTime) {
  input_.InitInput(false);
  Key('V', true, 1.0);
  Frame();
  Frame();
  ASSERT_EQ(input_.KeyState('V'), KeyHeld);
  input_.ResetInput();
  EXPECT_EQ(input_.KeyState('V'), KeyIdle);
  Frame();
  EXPECT_EQ(input_.KeyState('V'), KeyPressed);
  EXPECT_EQ(input_.PressesSinceLastPoll(), (std::vector<InputPress>{{'V', Now()}}));
}

TEST_F(InputTest, FunctionTakesTheStrongestStateOfItsInputs) {
  // Two keys on player 1's first lane; each case moves them into the given states.
  input_.KeyMap()['Z'] = 1;
  input_.KeyMap()['Q'] = 1;
  input_.InitInput(false);

  // Script per key: the down flags of three polls, ending in the wanted state.
  struct Case {
    std::vector<bool> z, q;
    int16_t zState, qState, lane;
  };
  const Case cases[] = {
      {{false, true, true}, {false, false, true}, KeyHeld, KeyPressed, KeyPressed},
      {{false, true, false}, {false, true, true}, KeyReleased, KeyHeld, KeyReleased},
      {{false, true, true}, {false, false, false}, KeyHeld, KeyIdle, KeyHeld},
      {{false, false, true}, {false, true, false}, KeyPressed, KeyReleased, KeyPressed},
      {{false, false, false}, {false, false, false}, KeyIdle, KeyIdle, KeyIdle},
  };
  for (const Case& c : cases) {
    bool zDown = false;
    bool qDown = false;
    for (size_t i = 0; i < c.z.size(); ++i) {
      if (c.z[i] != zDown) Key('Z', c.z[i], 1.0);
      if (c.q[i] != qDown) Key('Q', c.q[i], 1.0);
      zDown = c.z[i];
      qDown = c.q[i];
      Frame();
    }
    EXPECT_EQ(input_.KeyState('Z'), c.zState);
    EXPECT_EQ(input_.KeyState('Q'), c.qState);
    EXPECT_EQ(input_.FuncState(0, 1), c.lane) << c.zState << " + " << c.qState;
    if (zDown) Key('Z', false, 1.0);
    if (qDown) Key('Q', false, 1.0);
    Frame();
    Frame();
  }
}

TEST_F(InputTest, KeyMapCodesOutsideTheTableDriveNothing) {
  input_.KeyMap()['A'] = 20;
  input_.KeyMap()['B'] = -7;
  input_.KeyMap()['C'] = 32767;
  input_.KeyMap()['D'] = 19;
  input_.InitInput(false);
  for (int vk : {'A', 'B', 'C', 'D'}) Key(vk, true, 1.0);
  Frame();
  for (int g = 0; g < kFuncGroups; ++g) {
    for (int s = 0; s < kFuncSlots; ++s) {
      EXPECT_EQ(input_.FuncState(g, s), (g == 3 && s == 4) ? KeyPressed : KeyIdle) << g << s;
    }
  }
  EXPECT_EQ(input_.FuncState(4, 0), KeyIdle);
  EXPECT_EQ(input_.FuncState(-1, 0), KeyIdle);
  EXPECT_EQ(input_.KeyState(KeyCount), KeyIdle);
  EXPECT_EQ(input_.KeyState(-1), KeyIdle);
}

TEST_F(InputTest, F1MirrorsGroupTwoSlotZero) {
  input_.KeyMap()[JoypadInput(0, kJoyFirstButton + 9)] = kF1MirrorFunction;
  input_.InitInput(true);

  // Per poll: F1 key down, mirrored button down, mirror flag, F1 state read.
  struct Step {
    bool f1, button, mirror;
    int16_t f1State;
  };
  const Step steps[] = {
      {false, true, true, KeyPressed},    // the button alone presses F1
      {false, true, true, KeyHeld},       // and holds it
      {true, true, true, KeyPressed},     // a real F1 press still shows while it is held
      {true, true, true, KeyHeld},
      {false, true, true, KeyReleased},   // F1 let go: the release wins over the hold
      {false, true, true, KeyHeld},
      {false, false, true, KeyReleased},  // the button let go
      {false, false, true, KeyIdle},
      {false, true, false, KeyIdle},      // no mirror without the flag
      {false, true, true, KeyHeld},
      {false, false, true, KeyReleased},
      {true, false, true, KeyPressed},    // F1 alone
      {true, true, true, KeyPressed},     // a fresh button press shows over a held F1
      {true, true, true, KeyHeld},
  };
  bool f1 = false;
  int index = 0;
  for (const Step& step : steps) {
    if (step.f1 != f1) Key(kVkF1, step.f1, 1.0);
    f1 = step.f1;
    control_.SetJoystick(0, {true, 0, 0, step.button ? 1u << 9 : 0u});
    Frame(16.0, step.mirror);
    EXPECT_EQ(input_.KeyState(kVkF1), step.f1State) << "step " << index;
    ++index;
  }
}

TEST_F(InputTest, JoystickAxesCountOnlyStrictlyBeyondHalfRange) {
  struct Case {
    int x, y;
    bool up, down, left, right;
  };
  const Case cases[] = {
      {0, -5000, false, false, false, false}, {0, -5001, true, false, false, false},
      {0, 5000, false, false, false, false},  {0, 5001, false, true, false, false},
      {-5000, 0, false, false, false, false}, {-5001, 0, false, false, true, false},
      {5000, 0, false, false, false, false},  {5001, 0, false, false, false, true},
      {-10000, 10000, false, true, true, false},
  };
  for (const Case& c : cases) {
    const JoystickState joystick{true, c.x, c.y, 0};
    EXPECT_EQ(JoypadElementDown(joystick, kJoyUp), c.up) << c.x << "," << c.y;
    EXPECT_EQ(JoypadElementDown(joystick, kJoyDown), c.down) << c.x << "," << c.y;
    EXPECT_EQ(JoypadElementDown(joystick, kJoyLeft), c.left) << c.x << "," << c.y;
    EXPECT_EQ(JoypadElementDown(joystick, kJoyRight), c.right) << c.x << "," << c.y;
  }
  // A pad that is not connected reads as up whatever it last reported.
  EXPECT_FALSE(JoypadElementDown({false, 9000, 9000, ~0u}, kJoyRight));
  EXPECT_FALSE(JoypadElementDown({false, 9000, 9000, ~0u}, kJoyFirstButton));
}

TEST_F(InputTest, JoypadsLandAtTheirInputCodes) {
  input_.InitInput(true);
  control_.SetJoystick(0, {true, 5001, -5001, 1u | (1u << 31)});
  control_.SetJoystick(1, {true, -5001, 0, 1u << 7});
  const double setAt = Now();
  Frame();
  std::vector<int> pressed;
  for (int i = kJoypadInputBase; i < KeyCount; ++i) {
    if (input_.KeyState(i) == KeyPressed) pressed.push_back(i);
  }
  EXPECT_EQ(pressed, (std::vector<int>{256, 259, 260, 291, 294, 303}));
  std::vector<int> fromPresses;
  for (const InputPress& press : input_.PressesSinceLastPoll()) {
    fromPresses.push_back(press.Input);
    EXPECT_DOUBLE_EQ(press.TimeMs, setAt) << "stamped when the pad moved, not at the poll";
  }
  EXPECT_EQ(fromPresses, pressed);
  Frame();
  EXPECT_EQ(input_.KeyState(291), KeyHeld);
}

TEST_F(InputTest, UnpluggedJoypadReadsAsUp) {
  input_.KeyMap()[JoypadInput(1, kJoyFirstButton)] = 6;
  input_.InitInput(true);
  control_.SetJoystick(1, {true, 0, 0, 1u});
  Frame();
  Frame();
  ASSERT_EQ(input_.FuncState(1, 1), KeyHeld);
  control_.SetJoystick(1, {false, 0, 0, 1u});
  Frame();
  EXPECT_EQ(input_.FuncState(1, 1), KeyReleased);
  Frame();
  EXPECT_EQ(input_.FuncState(1, 1), KeyIdle);
  // Plugged back in with the button held: a fresh press.
  control_.SetJoystick(1, {true, 0, 0, 1u});
  Frame();
  EXPECT_EQ(input_.FuncState(1, 1), KeyPressed);
}

TEST_F(InputTest, JoypadsAreIgnoredWhenNotAskedFor) {
  control_.SetJoystick(0, {true, 9000, 0, 1u});
  input_.InitInput(false);
  EXPECT_EQ(input_.JoypadCount(), 1);
  Frame();
  for (int i = kJoypadInputBase; i < KeyCount; ++i) EXPECT_EQ(input_.KeyState(i), KeyIdle);
}

TEST_F(InputTest, NothingHappensOutsideInitAndRelease) {
  Key('A', true, 1.0);
  control_.AdvanceMs(16.0);
  input_.UpdateFuncState(true);
  EXPECT_EQ(input_.KeyState('A'), KeyIdle);
  EXPECT_TRUE(input_.PressesSinceLastPoll().empty());

  ASSERT_TRUE(input_.InitInput(false));
  Frame();
  ASSERT_EQ(input_.KeyState('A'), KeyPressed);
  // A second InitInput keeps the tables as they are.
  EXPECT_TRUE(input_.InitInput(true));
  EXPECT_FALSE(input_.JoypadsEnabled());
  EXPECT_EQ(input_.KeyState('A'), KeyPressed);

  EXPECT_TRUE(input_.ReleaseInput());
  Frame();
  EXPECT_EQ(input_.KeyState('A'), KeyIdle);
}

}  // namespace
}  // namespace tessaru
