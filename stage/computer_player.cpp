#include "stage/computer_player.h"

namespace tessaru {

Judgement ComputerJudgement(int16_t comSkill, Random& random) {
  if (random.Draw(100) < comSkill) return JudgeJust;
  switch (random.Draw(3) + 1) {
    case 1: return JudgeLate;
    case 2: return JudgeEarly;
    default: return JudgeFar;
  }
}

}  // namespace tessaru
