#pragma once
// Replays the inputs kept from fuzzing (tests/fixtures/fuzz/ of a subsystem). Each name
// says which reader it was found against and whether that reader loads it ("-ok-") or
// refuses it ("-refused-"); neither may crash, and the outcome may not change.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace tessaru::testing_support {

// `load` returns whether the reader named by the file accepts its bytes.
inline void ReplayKeptInputs(const std::filesystem::path& folder,
                             const std::function<bool(const std::string& name, const std::vector<uint8_t>& bytes)>& load,
                             int atLeast) {
  int replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    ASSERT_TRUE(in) << entry.path();
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string name = entry.path().filename().string();
    const bool expected = name.find("-ok-") != std::string::npos;
    EXPECT_EQ(load(name, bytes), expected) << name;
    ++replayed;
  }
  EXPECT_GE(replayed, atLeast) << folder;
}

}  // namespace tessaru::testing_support
