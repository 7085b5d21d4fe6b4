#pragma once
// The computer player's judgement for a chip it strikes: just with probability skill %,
// otherwise late, early or far with equal chances.
#include <cstdint>

#include "core/random.h"
#include "stage/judgement.h"

namespace tessaru {

Judgement ComputerJudgement(int16_t comSkill, Random& random);

}  // namespace tessaru
