#include "tools/json_records.h"

#include <gtest/gtest.h>

#include "content/part_file.h"
#include "tools/commands.h"

namespace tessaru {
namespace {

TEST(PartFromJson, DefaultsAndChips) {
  const auto part = PartFromJson(nlohmann::json::parse(R"({
      "Name": "BASS", "Kind": 3, "Bars": 2, "SoundFiles": ["a.wav", "b.wav"],
      "SoundVolume": [-100, -200], "Chips": [[0, 2, 1], [0, 2, 0], [31, 4, 1]]})"));
  EXPECT_EQ(part.Name, "BASS");
  EXPECT_EQ(part.IconIndex, 3);
  EXPECT_EQ(part.FlagWord, 1);
  EXPECT_EQ(part.SoundCount, 2);
  EXPECT_EQ(part.SoundPan, (std::vector<int32_t>{0, 0}));
  EXPECT_EQ(part.SoundVolume, (std::vector<int32_t>{-100, -200}));
  ASSERT_EQ(part.StepWords.size(), 32u);
  EXPECT_EQ(part.StepWords[0], 2);
  EXPECT_EQ(part.StepWords[31], 4);
  EXPECT_EQ(CountChipSteps(part), 2);
  // Sounds of one step fill its slots in order.
  EXPECT_EQ(part.ChipSounds[0], 1);
  EXPECT_EQ(part.ChipSounds[1], 0);
  EXPECT_EQ(part.ChipSounds[2], -1);
  EXPECT_EQ(part.ChipSounds[124], 1);
  // The part command's own output describes the same part.
  const auto again = PartFromJson(nlohmann::json::parse(PartJson(part, true).dump()));
  EXPECT_EQ(EncodePartFile(again), EncodePartFile(part));
}

TEST(PartFromJson, RefusesWhatThePartCannotHold) {
  for (const char* text : {
           R"([1, 2])",
           R"({"Bars": 40000})",
           R"({"Bars": 1, "StepWords": [1, 2]})",
           R"({"Bars": 1, "SoundFiles": ["a"], "SoundPan": [1, 2]})",
           R"({"Bars": 1, "SoundFiles": ["a"], "Chips": [[16, 1, 0]]})",
           R"({"Bars": 1, "SoundFiles": ["a"], "Chips": [[-1, 1, 0]]})",
           R"({"Bars": 1, "SoundFiles": ["a"], "Chips": [[0, 5, 0]]})",
           R"({"Bars": 1, "SoundFiles": ["a"], "Chips": [[0, 1, 1]]})",
           R"({"Bars": 1, "SoundFiles": ["a"], "Chips": [[0, 1, 0], [0, 2, 0]]})",
           R"({"Bars": 1, "SoundFiles": ["a"], "Chips": [[0, 1, 0], [0, 1, 0], [0, 1, 0], [0, 1, 0], [0, 1, 0]]})",
           R"({"Bars": 1, "Chips": [[0, 1]]})",
           R"({"Level": 1.5, "PartLevel": 1.5})"}) {
    EXPECT_THROW(PartFromJson(nlohmann::json::parse(text)), CommandFailure) << text;
  }
}

TEST(RecordJson, TextThatIsNotUtf8IsReplaced) {
  PartRecord part;
  InitPartRecord(part, 0, 1);
  part.Name = "\xFF";
  EXPECT_NO_THROW(JsonText(PartJson(part, false)));
}

}  // namespace
}  // namespace tessaru
