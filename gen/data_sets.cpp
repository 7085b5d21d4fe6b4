#include "gen/data_sets.h"

namespace tessaru::gen {

bool WriteGameData(DataWriter& out, const std::vector<SongPlan>& plans) {
  (void)out;
  (void)plans;
  return true;
}

}  // namespace tessaru::gen
