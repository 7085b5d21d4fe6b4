#include "content/packed.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/file_access.h"

namespace tessaru {
namespace {
namespace fs = std::filesystem;

// Builds a raw token stream by hand, little-endian, then applies the byte layer.
class Stream {
 public:
  Stream& U16(uint16_t v) { return Bytes(v, 2); }
  Stream& I32(int32_t v) { return Bytes(static_cast<uint32_t>(v), 4); }
  Stream& Raw(std::initializer_list<uint8_t> bytes) {
    plain_.insert(plain_.end(), bytes);
    return *this;
  }
  // A string array header and its elements, already XORed with the key word.
  Stream& Array(std::initializer_list<int32_t> codes, int16_t dims = 1, int32_t lower = 0) {
    U16(0x2003).U16(static_cast<uint16_t>(dims)).I32(static_cast<int32_t>(codes.size())).I32(lower);
    for (int32_t c : codes) I32(static_cast<int32_t>(static_cast<uint32_t>(c) ^ kTextKeyWord));
    return *this;
  }
  std::vector<uint8_t> Packed() const {
    std::vector<uint8_t> out = plain_;
    ScrambleBytes(out);
    return out;
  }

 private:
  Stream& Bytes(uint64_t v, int n) {
    for (int i = 0; i < n; ++i) plain_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  std::vector<uint8_t> plain_;
};

TEST(ByteLayer, KeyStreamPositions) {
  EXPECT_EQ(ByteKey(0), 0x4B);
  EXPECT_EQ(ByteKey(1), 0x96);
  EXPECT_EQ(ByteKey(2), 0xE1);
  EXPECT_EQ(ByteKey(3), (4 * 0x4B) % 256);
  EXPECT_EQ(ByteKey(255), (256 * 0x4B) % 256);
  EXPECT_EQ(ByteKey(1023), (1024 * 0x4B) % 256);
  // The running-sum form used by ScrambleBytes gives the same stream.
  std::vector<uint8_t> zeros(1024, 0);
  ScrambleBytes(zeros);
  for (size_t i = 0; i < zeros.size(); ++i) ASSERT_EQ(zeros[i], ByteKey(i)) << i;
}

TEST(ByteLayer, OnlyTheFirstKilobyteIsTransformed) {
  struct Case {
    size_t size;
    size_t transformed;
  };
  for (const Case c : {Case{0, 0}, Case{10, 10}, Case{1024, 1024}, Case{1025, 1024},
                       Case{5000, 1024}}) {
    std::vector<uint8_t> bytes(c.size);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
    const std::vector<uint8_t> original = bytes;
    ScrambleBytes(bytes);
    size_t changed = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (i >= c.transformed) {
        ASSERT_EQ(bytes[i], original[i]) << c.size << " at " << i;
      } else {
        ASSERT_EQ(bytes[i], original[i] ^ ByteKey(i));
        ++changed;
      }
    }
    EXPECT_EQ(changed, c.transformed);
    ScrambleBytes(bytes);
    EXPECT_EQ(bytes, original) << "twice restores, size " << c.size;
  }
}

class PackedFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    // One folder per test: CTest runs tests in parallel processes.
    root_ = std::string(TESSARU_SCRATCH) + "/packed_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  std::string root_;
};

TEST_F(PackedFiles, ScrambleCopyIsItsOwnInverse) {
  std::string plain(5000, '\0');
  for (size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<char>(i % 251);
  std::ofstream(root_ + "/in.bin", std::ios::binary) << plain;
  ASSERT_TRUE(ScrambleCopy(root_ + "/in.bin", root_ + "/packed.bin"));
  const auto packed = ReadWholeFile(root_ + "/packed.bin");
  ASSERT_TRUE(packed);
  ASSERT_EQ(packed->size(), plain.size());
  EXPECT_EQ((*packed)[0], static_cast<uint8_t>(plain[0]) ^ 0x4B);
  EXPECT_EQ((*packed)[4999], static_cast<uint8_t>(plain[4999]));
  ASSERT_TRUE(ScrambleCopy(root_ + "/packed.bin", root_ + "/back.bin"));
  const auto back = ReadWholeFile(root_ + "/back.bin");
  ASSERT_TRUE(back);
  EXPECT_EQ(std::string(back->begin(), back->end()), plain);
  // ReadPackedFile undoes the layer in memory.
  EXPECT_EQ(ReadPackedFile(root_ + "/packed.bin"), back);

  EXPECT_FALSE(ScrambleCopy(root_ + "/missing.bin", root_ + "/out.bin"));
  EXPECT_FALSE(fs::exists(root_ + "/out.bin"));
  EXPECT_FALSE(ScrambleCopy(root_ + "/in.bin", root_ + "/no/such/folder/out.bin"));
  EXPECT_FALSE(ReadPackedFile(root_ + "/missing.bin"));
}

TEST_F(PackedFiles, WritePackedFileScramblesAndReplaces) {
  ASSERT_TRUE(WritePackedFile(root_ + "/w.zxp", {1, 2, 3}));
  ASSERT_TRUE(WritePackedFile(root_ + "/w.zxp", {9, 8}));
  const auto raw = ReadWholeFile(root_ + "/w.zxp");
  ASSERT_TRUE(raw);
  EXPECT_EQ(*raw, (std::vector<uint8_t>{static_cast<uint8_t>(9 ^ 0x4B), static_cast<uint8_t>(8 ^ 0x96)}));
  EXPECT_EQ(*ReadPackedFile(root_ + "/w.zxp"), (std::vector<uint8_t>{9, 8}));
}

TEST(TextLayer, EveryTokenTypeBecomesOneLine) {
  const std::vector<TextValue> values{std::string("<TITLE>"), int16_t{120}, int16_t{-5},
                                      int32_t{70000}, 1.5f, 0.1, std::string(""),
                                      std::string("表ソ能～①ｱ"), -2.0e-3};
  const auto packed = PackText(values);
  const auto text = UnpackText(packed);
  ASSERT_TRUE(text);
  EXPECT_EQ(*text,
            "\"<TITLE>\"\r\n120\r\n-5\r\n70000\r\n1.5\r\n0.1\r\n\"\"\r\n\"表ソ能～①ｱ\"\r\n"
            "-0.002\r\n");
  const auto back = UnpackValues(packed);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, values);
  EXPECT_EQ(UnpackText({}), std::optional<std::string>(""));
}

TEST(TextLayer, StringTokenLayout) {
  // "A" then "表" (CP932 0x95 0x5C): one single-byte code and one double-byte code.
  const auto packed = PackText({std::string("A表")});
  std::vector<uint8_t> plain = packed;
  ScrambleBytes(plain);
  const std::vector<uint8_t> expected = Stream()
                                            .Array({0x41, 0x955C})
                                            .U16(3)
                                            .I32(2)
                                            .Packed();
  EXPECT_EQ(packed, expected);
  EXPECT_EQ(plain.size(), 2u + 2 + 8 + 8 + 2 + 4);
}

TEST(TextLayer, WellFormedEdgeStreams) {
  struct Case {
    const char* name;
    std::vector<uint8_t> packed;
    std::string text;
  };
  const std::vector<Case> cases{
      // Elements past the count are ignored.
      {"count below elements", Stream().Array({'a', 'b', 'c'}).U16(2).Raw({2, 0}).Packed(),
       "\"ab\"\r\n"},
      {"short count token", Stream().Array({'x'}).U16(2).Raw({1, 0}).Packed(), "\"x\"\r\n"},
      {"empty array", Stream().Array({}).U16(3).I32(0).Packed(), "\"\"\r\n"},
      // Double-byte codes written as signed 16-bit values by old tools.
      {"signed double-byte code", Stream().Array({-27300}).U16(3).I32(1).Packed(),
       "\"表\"\r\n"},
      {"int16 token", Stream().U16(2).Raw({120, 0}).Packed(), "120\r\n"},
      {"negative int32", Stream().U16(3).I32(-1).Packed(), "-1\r\n"},
  };
  for (const auto& c : cases) {
    const auto text = UnpackText(c.packed);
    ASSERT_TRUE(text) << c.name;
    EXPECT_EQ(*text, c.text) << c.name;
  }
}

TEST(TextLayer, MalformedStreamsFail) {
  struct Case {
    const char* name;
    std::vector<uint8_t> packed;
  };
  const std::vector<Case> cases{
      {"unknown type code", Stream().U16(8).I32(0).Packed()},
      {"odd trailing byte", Stream().U16(2).Raw({1, 0, 7}).Packed()},
      {"truncated int16", Stream().U16(2).Raw({1}).Packed()},
      {"truncated int32", Stream().U16(3).Raw({1, 2, 3}).Packed()},
      {"truncated single", Stream().U16(4).Raw({1, 2}).Packed()},
      {"truncated double", Stream().U16(5).I32(0).Packed()},
      {"two dimensions", Stream().Array({'a'}, 2).U16(3).I32(1).Packed()},
      {"zero dimensions", Stream().Array({'a'}, 0).U16(3).I32(1).Packed()},
      {"nonzero lower bound", Stream().Array({'a'}, 1, 1).U16(3).I32(1).Packed()},
      {"negative count", Stream().Array({'a'}).U16(3).I32(-1).Packed()},
      {"count above elements", Stream().Array({'a'}).U16(3).I32(2).Packed()},
      {"count token missing", Stream().Array({'a'}).Packed()},
      {"count token of type double", Stream().Array({'a'}).U16(5).I32(0).I32(0).Packed()},
      {"count token cut short", Stream().Array({'a'}).U16(3).Raw({1, 0}).Packed()},
      {"negative element total",
       Stream().U16(0x2003).U16(1).I32(-4).I32(0).U16(3).I32(0).Packed()},
      {"element total beyond the file",
       Stream().U16(0x2003).U16(1).I32(0x10000000).I32(0).I32(1).Packed()},
      {"array header cut short", Stream().U16(0x2003).U16(1).Raw({1, 0}).Packed()},
      {"code out of range", Stream().Array({0x10000}).U16(3).I32(1).Packed()},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(UnpackText(c.packed)) << c.name;
    EXPECT_FALSE(OpenPackedBytes(c.packed)) << c.name;
  }
}

TEST_F(PackedFiles, OpenPackedTextReadsFieldsAndLeavesNoFiles) {
  const auto packed = PackText({std::string("<EOF>"), int32_t{-7}});
  std::ofstream(root_ + "/t.zxt", std::ios::binary)
      .write(reinterpret_cast<const char*>(packed.data()), static_cast<std::streamsize>(packed.size()));
  std::ofstream(root_ + "/bad.zxt", std::ios::binary) << "\x01";
  EXPECT_FALSE(OpenPackedText(root_ + "/missing.zxt"));
  EXPECT_FALSE(OpenPackedText(root_ + "/bad.zxt"));
  std::optional<FieldReader> in = OpenPackedText(root_ + "/T.ZXT");  // letter case differs
  ASSERT_TRUE(in);
  std::string tag;
  int32_t value = 0;
  int16_t none = 0;
  EXPECT_TRUE(in->Read(tag));
  EXPECT_TRUE(in->ReadInt32(value));
  EXPECT_FALSE(in->ReadInt16(none)) << "past the last line";
  EXPECT_EQ(tag, "<EOF>");
  EXPECT_EQ(value, -7);
  // Nothing but our two files: no temporary copies were made.
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace tessaru
