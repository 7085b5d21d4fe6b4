#include "content/packed.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "content/tests/content_files.h"

namespace tessaru {
namespace {

// Builds a raw token stream by hand, little-endian, then applies the byte layer.
struct Stream {
  std::vector<uint8_t> plain;
  Stream& Raw(std::initializer_list<uint8_t> bytes) {
    plain.insert(plain.end(), bytes);
    return *this;
  }
  Stream& U16(uint16_t v) { return Raw({static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}); }
  Stream& I32(int32_t v) { return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(static_cast<uint32_t>(v) >> 16)); }
  // A string array header and its elements, already XORed with the key word.
  Stream& Array(std::initializer_list<int32_t> codes, int16_t dims = 1, int32_t lower = 0) {
    U16(0x2003).U16(static_cast<uint16_t>(dims)).I32(static_cast<int32_t>(codes.size())).I32(lower);
    for (int32_t c : codes) I32(static_cast<int32_t>(static_cast<uint32_t>(c) ^ kTextKeyWord));
    return *this;
  }
  std::vector<uint8_t> Packed() const {
    std::vector<uint8_t> out = plain;
    ScrambleBytes(out);
    return out;
  }
};

TEST(ByteLayer, OnlyTheFirstKilobyteIsTransformedAndTwiceRestores) {
  EXPECT_EQ((std::vector<int>{ByteKey(0), ByteKey(1), ByteKey(2), ByteKey(1023), ByteKey(1024)}),
            (std::vector<int>{0x4B, 0x96, 0xE1, 0x00, 0x4B}));
  for (const size_t size : {0, 10, 1024, 1025, 5000}) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7);
    const std::vector<uint8_t> original = bytes;
    ScrambleBytes(bytes);
    for (size_t i = 0; i < size; ++i) {
      ASSERT_EQ(bytes[i], i < 1024 ? original[i] ^ ByteKey(i) : original[i]) << size << " at " << i;
    }
    ScrambleBytes(bytes);
    EXPECT_EQ(bytes, original) << "size " << size;
  }
}

using PackedFiles = ContentFiles;

TEST_F(PackedFiles, CopyReadAndWriteApplyTheLayerOnce) {
  std::vector<uint8_t> plain(5000);
  for (size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<uint8_t>(i % 251);
  WriteBytes("in.bin", plain);
  ASSERT_TRUE(ScrambleCopy(Path("in.bin"), Path("packed.bin")));
  ASSERT_TRUE(ScrambleCopy(Path("packed.bin"), Path("back.bin")));
  const auto packed = ReadWholeFile(Path("packed.bin"));
  ASSERT_TRUE(packed && packed->size() == plain.size());
  EXPECT_EQ((*packed)[0], plain[0] ^ 0x4B);
  EXPECT_EQ((*packed)[4999], plain[4999]);
  EXPECT_EQ(ReadWholeFile(Path("back.bin")), plain);
  EXPECT_EQ(ReadPackedFile(Path("packed.bin")), plain);
  EXPECT_FALSE(ScrambleCopy(Path("missing.bin"), Path("out.bin")));
  EXPECT_FALSE(std::filesystem::exists(root_ + "/out.bin"));
  EXPECT_FALSE(ScrambleCopy(Path("in.bin"), Path("no\\such\\folder\\out.bin")));
  EXPECT_FALSE(ReadPackedFile(Path("missing.bin")));
  // A second write replaces the first.
  ASSERT_TRUE(WritePackedFile(Path("w.zxp"), {1, 2, 3}));
  ASSERT_TRUE(WritePackedFile(Path("w.zxp"), {9, 8}));
  EXPECT_EQ(*ReadWholeFile(Path("w.zxp")), (std::vector<uint8_t>{9 ^ 0x4B, 8 ^ 0x96}));
}

TEST(TextLayer, EveryTokenTypeBecomesOneLineAndPacksBackTheSame) {
  const std::vector<TextValue> values{S("<TITLE>"), I(120), I(-5), L(70000), 1.5f, D(0.1), S(""),
                                      S("表ソ能～①ｱ"), D(-2.0e-3)};
  const auto packed = PackText(values);
  EXPECT_EQ(UnpackText(packed), "\"<TITLE>\"\r\n120\r\n-5\r\n70000\r\n1.5\r\n0.1\r\n\"\"\r\n"
                                "\"表ソ能～①ｱ\"\r\n-0.002\r\n");
  EXPECT_EQ(UnpackValues(packed), values);
  EXPECT_EQ(UnpackText({}), std::optional<std::string>(""));
  // "A" then "表" (CP932 0x95 0x5C): one single-byte code and one double-byte code.
  EXPECT_EQ(PackText({S("A表")}), Stream().Array({0x41, 0x955C}).U16(3).I32(2).Packed());
}

TEST(TextLayer, EdgeStreamsReadOrFail) {
  struct Case {
    const char* name;
    std::vector<uint8_t> packed;
    const char* text;  // nullptr: refused
  };
  const std::vector<Case> cases{
      {"count below elements", Stream().Array({'a', 'b', 'c'}).U16(2).Raw({2, 0}).Packed(), "\"ab\"\r\n"},
      {"short count token", Stream().Array({'x'}).U16(2).Raw({1, 0}).Packed(), "\"x\"\r\n"},
      {"empty array", Stream().Array({}).U16(3).I32(0).Packed(), "\"\"\r\n"},
      // Double-byte codes written as signed 16-bit values by old tools.
      {"signed double-byte code", Stream().Array({-27300}).U16(3).I32(1).Packed(), "\"表\"\r\n"},
      {"int16 token", Stream().U16(2).Raw({120, 0}).Packed(), "120\r\n"},
      {"negative int32", Stream().U16(3).I32(-1).Packed(), "-1\r\n"},
      {"unknown type code", Stream().U16(8).I32(0).Packed(), nullptr},
      {"odd trailing byte", Stream().U16(2).Raw({1, 0, 7}).Packed(), nullptr},
      {"truncated int16", Stream().U16(2).Raw({1}).Packed(), nullptr},
      {"truncated int32", Stream().U16(3).Raw({1, 2, 3}).Packed(), nullptr},
      {"truncated single", Stream().U16(4).Raw({1, 2}).Packed(), nullptr},
      {"truncated double", Stream().U16(5).I32(0).Packed(), nullptr},
      {"two dimensions", Stream().Array({'a'}, 2).U16(3).I32(1).Packed(), nullptr},
      {"zero dimensions", Stream().Array({'a'}, 0).U16(3).I32(1).Packed(), nullptr},
      {"nonzero lower bound", Stream().Array({'a'}, 1, 1).U16(3).I32(1).Packed(), nullptr},
      {"negative count", Stream().Array({'a'}).U16(3).I32(-1).Packed(), nullptr},
      {"count above elements", Stream().Array({'a'}).U16(3).I32(2).Packed(), nullptr},
      {"count token missing", Stream().Array({'a'}).Packed(), nullptr},
      {"count token of type double", Stream().Array({'a'}).U16(5).I32(0).I32(0).Packed(), nullptr},
      {"count token cut short", Stream().Array({'a'}).U16(3).Raw({1, 0}).Packed(), nullptr},
      {"negative element total", Stream().U16(0x2003).U16(1).I32(-4).I32(0).U16(3).I32(0).Packed(), nullptr},
      {"element total beyond the file", Stream().U16(0x2003).U16(1).I32(0x10000000).I32(0).I32(1).Packed(), nullptr},
      {"array header cut short", Stream().U16(0x2003).U16(1).Raw({1, 0}).Packed(), nullptr},
      {"code out of range", Stream().Array({0x10000}).U16(3).I32(1).Packed(), nullptr},
  };
  for (const auto& c : cases) {
    const auto text = UnpackText(c.packed);
    EXPECT_EQ(text.has_value(), c.text != nullptr) << c.name;
    EXPECT_EQ(OpenPackedBytes(c.packed).has_value(), c.text != nullptr) << c.name;
    if (text && c.text) { EXPECT_EQ(*text, c.text) << c.name; }
  }
}

TEST_F(PackedFiles, OpenPackedTextReadsFieldsAndLeavesNoFiles) {
  WriteText("t.zxt", {S("<EOF>"), L(-7)});
  WriteBytes("bad.zxt", {1});
  EXPECT_FALSE(OpenPackedText(Path("missing.zxt")));
  EXPECT_FALSE(OpenPackedText(Path("bad.zxt")));
  std::optional<FieldReader> in = OpenPackedText(Path("T.ZXT"));  // letter case differs
  ASSERT_TRUE(in);
  std::string tag;
  int32_t value = 0;
  int16_t none = 0;
  EXPECT_TRUE(in->Read(tag) && in->ReadInt32(value));
  EXPECT_FALSE(in->ReadInt16(none)) << "past the last line";
  EXPECT_EQ(tag, "<EOF>");
  EXPECT_EQ(value, -7);
  // Nothing but our two files: no temporary copies were made.
  namespace fs = std::filesystem;
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace tessaru
