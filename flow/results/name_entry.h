#pragma once
// Name entry: a cursor over a 48-cell alphabet picks up to three letters. The first of
// the two blank cells deletes the last letter; the second ("END") ends the entry with
// the letters so far. The third letter fills the name, so entry ends there.
#include <cstdint>
#include <string>
#include <string_view>

#include "flow/menu_input.h"

namespace tessaru {

inline constexpr std::string_view kNameAlphabet = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ!?.,#@*&-_  ";
inline constexpr int kNameCells = 48;
inline constexpr int kNameRowCells = 13;
inline constexpr int kDeleteCell = 46;
inline constexpr int kEndCell = 47;
inline constexpr int kNameLength = 3;
// A held direction moves again after this long, then at every repeat interval.
inline constexpr uint32_t kNameRepeatDelayMs = 400;
inline constexpr uint32_t kNameRepeatMs = 90;

struct NameEntryState {
  int Cursor = 0;
  std::string Letters;  // entered so far, at most kNameLength
  bool Done = false;
  // The held direction (-1 left, +1 right, 0 none) and when it moves next.
  int HeldDirection = 0;
  uint32_t NextRepeat = 0;
};

enum class NameEntryEvent { None, Moved, Added, Deleted, Finished, Ignored };

// One pass with the entering side's buttons at `now` ms. Up and Down move a row.
NameEntryEvent Update(NameEntryState& state, const SideButtons& buttons, uint32_t now);

// The name as stored: the letters with trailing blanks removed, padded to three.
std::string StoredName(const NameEntryState& state);

}  // namespace tessaru
