#include "flow/flow_rules.h"

namespace tessaru {

int16_t ComSkillForStage(int16_t difficulty, int stage) {
  int skill = 0;
  const int s = stage;
  switch (difficulty) {
    case 0: skill = s == 0 ? 10 : (s - 1) * 10 + 10; break;
    case 1: skill = s == 0 ? 35 : (s >= 3 ? 50 : (s - 1) * 10 + 30); break;
    case 2: skill = s == 0 ? 50 : (s >= 3 ? 60 : (s - 1) * 10 + 40); break;
    case 3: skill = s == 0 ? 75 : (s >= 3 ? 80 : (s - 1) * 15 + 60); break;
    case 4: skill = s == 0 ? 93 : (s - 1) * 5 + 83; break;
    // A DIFFICULTY outside the five levels plays as NORMAL.
    default: skill = s == 0 ? 50 : (s >= 3 ? 60 : (s - 1) * 10 + 40); break;
  }
  if (skill < 1) return 0;
  if (skill >= 100) return 100;
  return static_cast<int16_t>(skill);
}

}  // namespace tessaru
