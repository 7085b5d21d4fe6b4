#pragma once
// A fresh scratch folder per test (under the test binary's own), with whole-file reads and
// writes of the files in it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tessaru::testing_support {

class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::string(TESSARU_SCRATCH) + "/" + info->test_suite_name() + "_" + info->name();
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
  }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(root_ + "/" + name, std::ios::binary | std::ios::trunc) << text;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(root_ + "/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // Replaces the file by a folder: a file that exists but cannot be read or written.
  void Block(const std::string& name) const {
    std::filesystem::remove(root_ + "/" + name);
    std::filesystem::create_directories(root_ + "/" + name);
  }
  std::string root_;
};

}  // namespace tessaru::testing_support
