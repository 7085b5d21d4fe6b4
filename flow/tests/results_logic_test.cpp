// The results screens' rules without devices: name entry, the ending's pacing, the
// records pages, favourites and the table texts.
#include <gtest/gtest.h>

#include "flow/results/ending.h"
#include "flow/results/favourites.h"
#include "flow/results/name_entry.h"
#include "flow/results/records_frame.h"
#include "flow/results/results_screens.h"
#include "flow/tests/menu_rig.h"

namespace tessaru {
namespace {

// One pass of the entering side's buttons ('.' is none).
SideButtons Buttons(char what) { return tessaru::Buttons(std::string_view(&what, 1)).Side[0]; }

TEST(NameEntry, MovesWrapAndRowsSkipTheShortRow) {
  struct Case {
    int from;
    char button;
    int to;
  } cases[] = {
      {0, 'R', 1},   {0, 'L', 47},  {47, 'R', 0},  {46, 'R', 47}, {12, 'R', 13},
      {40, 'D', 1},  {3, 'U', 42},  {10, 'U', 36}, {36, 'D', 10}, {47, 'D', 8},
  };
  for (const Case& c : cases) {
    NameEntryState s;
    s.Cursor = c.from;
    EXPECT_EQ(Update(s, Buttons(c.button), 0), NameEntryEvent::Moved) << c.from << c.button;
    EXPECT_EQ(s.Cursor, c.to) << c.from << c.button;
  }
}

TEST(NameEntry, DecideAddsDeletesAndEnds) {
  struct Step {
    int cursor;
    NameEntryEvent event;
    const char* letters;
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
    const char* stored;
  } cases[] = {
      {"deleting with nothing entered does nothing",
       {{kDeleteCell, NameEntryEvent::Ignored, ""}, {10, NameEntryEvent::Added, "A"}}, "A  "},
      {"END with nothing entered waits for a letter",
       {{kEndCell, NameEntryEvent::Ignored, ""}}, "   "},
      {"the third letter ends the entry",
       {{10, NameEntryEvent::Added, "A"}, {0, NameEntryEvent::Added, "A1"}, {45, NameEntryEvent::Finished, "A1_"}}, "A1_"},
      {"delete takes the last letter back",
       {{11, NameEntryEvent::Added, "B"}, {12, NameEntryEvent::Added, "BC"}, {kDeleteCell, NameEntryEvent::Deleted, "B"},
        {36, NameEntryEvent::Added, "B!"}}, "B! "},
      {"END keeps a short name",
       {{25, NameEntryEvent::Added, "P"}, {kEndCell, NameEntryEvent::Finished, "P"}}, "P  "},
  };
  for (const Case& c : cases) {
    NameEntryState s;
    for (const Step& step : c.steps) {
      s.Cursor = step.cursor;
      EXPECT_EQ(Update(s, Buttons('E'), 0), step.event) << c.what;
      EXPECT_EQ(s.Letters, step.letters) << c.what;
    }
    EXPECT_EQ(StoredName(s), c.stored) << c.what;
    EXPECT_EQ(StoredName(s).size(), 3u);
  }
  // Nothing more is taken once the name is done.
  NameEntryState done;
  done.Letters = "AB";
  done.Cursor = kEndCell;
  Update(done, Buttons('E'), 0);
  done.Cursor = 10;
  EXPECT_EQ(Update(done, Buttons('E'), 0), NameEntryEvent::None);
  EXPECT_EQ(done.Letters, "AB");
}

TEST(NameEntry, HeldDirectionRepeatsAfterTheDelay) {
  // {time, button, cursor after}
  struct Pass {
    uint32_t at;
    char button;
    int cursor;
  } passes[] = {
      {1000, 'R', 1},
      {1000 + kNameRepeatDelayMs - 1, 'r', 1},
      {1000 + kNameRepeatDelayMs, 'r', 2},
      {1000 + kNameRepeatDelayMs + kNameRepeatMs - 1, 'r', 2},
      {1000 + kNameRepeatDelayMs + kNameRepeatMs, 'r', 3},
      {1000 + kNameRepeatDelayMs + 2 * kNameRepeatMs, '.', 3},  // let go
      {1000 + kNameRepeatDelayMs + 3 * kNameRepeatMs, 'r', 3},  // a new hold needs a press
      {5000, 'L', 2},
      {5000 + kNameRepeatDelayMs, 'l', 1},
      {5000 + kNameRepeatDelayMs + kNameRepeatMs, 'l', 0},
      {5000 + kNameRepeatDelayMs + 2 * kNameRepeatMs, 'l', 47},
  };
  NameEntryState s;
  for (const Pass& p : passes) {
    Update(s, Buttons(p.button), p.at);
    EXPECT_EQ(s.Cursor, p.cursor) << p.at;
  }
}

TEST(ResultsText, PlacesNamesRatesAndSongs) {
  EXPECT_EQ(PlaceText(0), "1ST");
  EXPECT_EQ(PlaceText(1), "2ND");
  EXPECT_EQ(PlaceText(2), "3RD");
  EXPECT_EQ(PlaceText(3), "4TH");
  EXPECT_EQ(PlaceText(9), "10TH");
  // Odd bytes and lengths in a stored name still show three characters.
  EXPECT_EQ(ShownName(""), "   ");
  EXPECT_EQ(ShownName("ABCDEF"), "ABC");
  EXPECT_EQ(ShownName("\xff\x01Z"), "??Z");
  EXPECT_EQ(ShownName(std::string("A\0B", 3)), "A?B");
  EXPECT_EQ(DecimalText(97, 1), "97.0");
  EXPECT_EQ(DecimalText(-3, 1), "-3.0");
  EXPECT_EQ(DecimalText(78.826, 2), "78.83");
  EXPECT_EQ(RightAligned("12", 4), "  12");
  EXPECT_EQ(RightAligned("12345", 4), "12345");
  SongList list;
  list.SongNames = {"First Light", "Paper Planes"};
  list.SongCount = 2;
  EXPECT_EQ(StoredSongTitle(list, 0, 8), "-");
  EXPECT_EQ(StoredSongTitle(list, 2, 8), "Paper Pl");
  EXPECT_EQ(StoredSongTitle(list, 3, 8), "?");
  EXPECT_EQ(StoredSongTitle(list, -4, 8), "?");
  EXPECT_EQ(StoredSongTitle(list, 32767, 8), "?");
}

TEST(Ending, PacingFollowsTheTextWithAFloor) {
  EXPECT_EQ(EndingDurationMs(0), kEndingMinMs);
  EXPECT_EQ(EndingDurationMs(7), 10 * kEndingLineMs);
  EXPECT_EQ(EndingTopLine(0), -2);  // the first line enters at the bottom row
  EXPECT_EQ(EndingTopLine(2 * kEndingLineMs - 1), -1);
  EXPECT_EQ(EndingTopLine(2 * kEndingLineMs), 0);
}

TEST(RecordsPager, TurnsWrapAndClose) {
  MenuButtons right;
  right.Side[1].Right = true;
  MenuButtons left;
  left.Side[0].Left = true;
  MenuButtons decide;
  decide.Side[1].Decide = true;
  RecordsPager pager{0, 3};
  EXPECT_EQ(Update(pager, left), RecordsAction::Turned);
  EXPECT_EQ(pager.Page, 2);
  EXPECT_EQ(Update(pager, right), RecordsAction::Turned);
  EXPECT_EQ(pager.Page, 0);
  EXPECT_EQ(Update(pager, decide), RecordsAction::Close);
  RecordsPager single;
  EXPECT_EQ(Update(single, right), RecordsAction::None);
  EXPECT_EQ(single.Page, 0);
  // A special run ends on its own table: COLOR (mode 0) on COLOR's, not the favourites.
  for (const auto& [mode, view] : {std::pair<int16_t, int16_t>{0, kColorModeRecords}, {1, 1}, {29, 29}}) {
    EXPECT_EQ(SpecialRunRecordsView(mode), view) << mode;
  }
}

TEST(Favourites, RankedByPassedPlaysTiesByIndexUnplayedLeftOut) {
  SongList list;
  list.SongKeys = {"a", "b", "c"};
  list.SongCount = 3;
  HighScores r;
  r.LoadHighScores(list, std::string(TESSARU_SCRATCH) + "/no_records");
  const auto pass = [&](int song, int part, int times) {
    for (int i = 0; i < times; ++i) r.RecordStageResult({song, part, 0, 50, true, 2});
  };
  pass(0, 5, 2);
  pass(2, 5, 1);
  pass(1, 2, 3);
  pass(2, 7, 3);
  r.RecordStageResult({0, 0, 0, 80, false, 2});  // a lost stage is no play
  EXPECT_EQ(FavouriteCharacters(r), (std::vector<Favourite>{{2, 3}, {5, 3}, {7, 3}}));
  EXPECT_EQ(FavouriteSongs(r), (std::vector<Favourite>{{2, 4}, {1, 3}, {0, 2}}));
}

}  // namespace
}  // namespace tessaru
