#include "flow/special_mode_names.h"

#include "core/numbers.h"
#include "persist/character_codes.h"

namespace tessaru {

std::string SpecialModeName(int16_t mode) {
  switch (mode) {
    case 0: return "COLOR";
    case 1: return "SILVER";
    case 2: return "RANDOM";
    case 3: return "TIMING";
    case 4: return "SUDDEN";
    case 5: return "HIDDEN";
    case 6: return "DOUBLE";
    case 20: return "ARRANGE";
    case 21: return std::string(CharacterName(8));
    case 22: return "RAPID";
    case 23: return "ENDLESS";
    case 24: return "HI-SPEED";
    case 25: return "VANISH";
    case 26: return "EX.MIRROR";
    case 27: return "FEELING";
    case 28: return "GODBEAT";
    case 29: return "EXTRA";
    case 30: return "TOUR PLUS";
    case 31: return std::string(CharacterName(9));
    default: break;
  }
  if (mode >= 7 && mode <= 11) return "RANKING " + NumberText(int64_t{mode - 6});
  if (mode >= 12 && mode <= 19) return std::string(CharacterName(mode - 12));
  return "MODE" + NumberText(int64_t{mode} + 1);
}

}  // namespace tessaru
