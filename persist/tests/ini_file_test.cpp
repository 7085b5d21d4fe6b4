#include "persist/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/file_access.h"
#include "core/testing/kept_inputs.h"
#include "core/testing/scratch_folder.h"

namespace tessaru {
namespace {
namespace fs = std::filesystem;

TEST(IniDocumentRead, FindsValuesAsTheProfileCallsDo) {
  struct Case {
    std::string name;
    std::string text;
    std::string section, key;
    std::string expected;  // what Get returns with the default "E  "
  };
  const std::string crlf = "[USER]\r\nDIFFICULTY=3\r\n  maxfps  =   60  \r\n\r\n[Other]\r\nDIFFICULTY=9\r\n";
  const Case cases[] = {
      {"exact names", crlf, "USER", "DIFFICULTY", "3"},
      {"names ignore case", crlf, "user", "Difficulty", "3"},
      {"blanks around key and value", crlf, "USER", "MAXFPS", "60"},
      {"other section", crlf, "OTHER", "difficulty", "9"},
      {"absent key gives the default without trailing blanks", crlf, "USER", "SKIN_H", "E"},
      {"absent section", crlf, "NOPE", "DIFFICULTY", "E"},
      {"LF lines", "[A]\nK=1\n", "A", "K", "1"},
      {"no final newline", "[A]\nK=last", "A", "K", "last"},
      {"first duplicate key wins", "[A]\nK=1\nk=2\n", "A", "K", "1"},
      {"only the first of duplicate sections", "[A]\nK=1\n[B]\n[a]\nK=2\nL=3\n", "A", "L", "E"},
      {"double quotes removed", "[A]\nK=\"quoted text\"\n", "A", "K", "quoted text"},
      {"single quotes removed", "[A]\nK='x'\n", "A", "K", "x"},
      {"blanks inside quotes kept", "[A]\nK=\"  x  \"  \n", "A", "K", "  x  "},
      {"only one pair removed", "[A]\nK=\"\"x\"\"\n", "A", "K", "\"x\""},
      {"mismatched quotes kept", "[A]\nK=\"x'\n", "A", "K", "\"x'"},
      {"a lone quote kept", "[A]\nK=\"\n", "A", "K", "\""},
      {"empty quotes", "[A]\nK=''\n", "A", "K", ""},
      {"value holding =", "[A]\nK=a=b\n", "A", "K", "a=b"},
      {"empty value", "[A]\nK=\n", "A", "K", ""},
      {"line without = is an empty key", "[A]\nK\n", "A", "K", ""},
      {"comment never matches", "[A]\n;K=1\nK=2\n", "A", "K", "2"},
      {"keys before any header belong to none", "K=1\n[A]\n", "A", "K", "E"},
      {"blanks inside the brackets", "  [ A ]  \r\nK=1\r\n", "A", "K", "1"},
      {"section name holding ]", "[songs\\[x]\\a.zxs]\nHPR1=4\n", "songs\\[x]\\a.zxs", "HPR1", "4"},
      {"UTF-8 mark before the first header", "\xEF\xBB\xBF[A]\nK=1\n", "A", "K", "1"},
      {"tabs and Ctrl-Z are blanks", "[A]\n\tK\t=\t5\t\n\x1A", "A", "K", "5"},
      {"CR lines", "[A]\rK=1\rL=2\r", "A", "L", "2"},
      {"CR lines across sections", "[A]\rK=1\r[B]\rK=2", "B", "K", "2"},
      {"mixed line ends", "[A]\r\nK=1\rL=2\nM=3\r\r\n", "A", "M", "3"},
      {"a CR before CR LF ends an empty line", "[A]\rK=1\r\r\nL=2", "A", "L", "2"},
      {"unclosed bracket is a key line", "[A\nK=1\n", "A", "K", "E"},
      {"empty text", "", "A", "K", "E"},
  };
  for (const Case& c : cases) {
    const IniDocument document(c.text);
    EXPECT_EQ(document.Get(c.section, c.key, "E  "), c.expected) << c.name;
    EXPECT_EQ(document.Bytes(), c.text) << c.name << ": parsing must keep every byte";
  }
}

TEST(IniDocumentWrite, ChangesOnlyWhatItMust) {
  struct Case { std::string name; std::string text; std::string section, key, value; std::string expected; };
  const Case cases[] = {
      {"CRLF value replaced, the rest kept", "; top\r\n[A]\r\nK=1\r\n; note\r\n[B]\r\nK=2\r\n",
       "a", "k", "55", "; top\r\n[A]\r\nK=55\r\n; note\r\n[B]\r\nK=2\r\n"},
      {"LF value replaced", "[A]\nK=1\nL=2\n", "A", "L", "3", "[A]\nK=1\nL=3\n"},
      {"spelling and indentation of the key kept", "[A]\n  HPS1 = 7 ; x\n", "A", "HPs1", "9", "[A]\n  HPS1 =9\n"},
      {"first duplicate changed", "[A]\nK=1\nk=2\n", "A", "K", "3", "[A]\nK=3\nk=2\n"},
      {"first duplicate section changed", "[A]\nK=1\n[a]\nK=2\n", "A", "K", "3", "[A]\nK=3\n[a]\nK=2\n"},
      {"replaced without final newline", "[A]\nK=1", "A", "K", "2", "[A]\nK=2"},
      {"line without =", "[A]\r\nK  \r\n", "A", "K", "1", "[A]\r\nK=1\r\n"},
      {"added to its section before the blank lines", "[A]\r\nK=1\r\n\r\n[B]\r\nX=1\r\n", "A",
       "L", "2", "[A]\r\nK=1\r\nL=2\r\n\r\n[B]\r\nX=1\r\n"},
      {"added to the last section without final newline", "[A]\nK=1", "A", "L", "2", "[A]\nK=1\nL=2\n"},
      {"added under a bare header", "[B]\n[A]\n\n", "A", "K", "1", "[B]\n[A]\nK=1\n\n"},
      {"added under a header that ends the file", "[A]", "a", "K", "1", "[A]\r\nK=1\r\n"},
      {"section appended with the file's line end", "[A]\nK=1\n", "B", "X", "1", "[A]\nK=1\n[B]\nX=1\n"},
      {"section appended after a missing final newline", "[A]\r\nK=1", "B", "X", "1", "[A]\r\nK=1\r\n[B]\r\nX=1\r\n"},
      {"section appended after trailing blanks", "[A]\nK=1\n\n", "B", "X", "", "[A]\nK=1\n\n[B]\nX=\n"},
      {"new file uses CR LF", "", "KEYSETTING", "KEYCODE000", "-1", "[KEYSETTING]\r\nKEYCODE000=-1\r\n"},
      {"names are written trimmed", "", " A ", " K ", " v ", "[A]\r\nK= v \r\n"},
      {"the first line end decides", "[A]\nK=1\r\n", "B", "X", "1", "[A]\nK=1\r\n[B]\nX=1\n"},
      {"preamble kept", "junk\n", "A", "K", "1", "junk\n[A]\nK=1\n"},
      {"CR value replaced", "[A]\rK=1\rL=2\r", "A", "L", "3", "[A]\rK=1\rL=3\r"},
      {"CR file grows with CR lines", "[A]\rK=1", "B", "X", "1", "[A]\rK=1\r[B]\rX=1\r"},
      {"added to a CR section", "[A]\rK=1\r\r[B]\r", "A", "L", "2", "[A]\rK=1\rL=2\r\r[B]\r"},
  };
  for (const Case& c : cases) {
    IniDocument document(c.text);
    ASSERT_TRUE(document.Set(c.section, c.key, c.value)) << c.name;
    EXPECT_EQ(document.Bytes(), c.expected) << c.name;
    EXPECT_TRUE(document.Changed()) << c.name;
    // What was written reads back, also after parsing the text again.
    const std::string trimmed = c.value == " v " ? "v" : c.value;
    EXPECT_EQ(document.Get(c.section, c.key, "E"), trimmed) << c.name;
    EXPECT_EQ(IniDocument(document.Bytes()).Get(c.section, c.key, "E"), trimmed) << c.name;
  }
}

TEST(IniDocumentWrite, RefusesWhatTheFileCouldNotHold) {
  const std::string cases[][3] = {
      {"A", "K=X", "1"}, {"A", "", "1"},    {"", "K", "1"},    {"A", "K", "1\r\nL=2"}, {"A", "K", "1\n"},
      {"A\n", "K", "1"}, {"A", "[K]", "1"}, {"A", "K\nL", "1"}, {"A", "K", std::string("a\0b", 3)}, {"  ", "K", "1"},
  };
  const std::string text = "[A]\nK=0\n";
  for (const auto& [section, key, value] : cases) {
    IniDocument document(text);
    EXPECT_FALSE(document.Set(section, key, value)) << section << "/" << key;
    EXPECT_EQ(document.Bytes(), text);
    EXPECT_FALSE(document.Changed());
  }
}

using IniFileTest = testing_support::ScratchFolder;

TEST_F(IniFileTest, OneKeyWritesKeepTheRestOfTheFileAndCreateItWhenMissing) {
  const std::string path = root_ + "/user.ini";
  Write("user.ini", "[USER]\r\nDIFFICULTY=2\r\nDATAPATH=D:\\songs\\\r\n; kept\r\n\r\n[OTHER]\r\nX=1");
  EXPECT_EQ(ReadIniString(path, "user", "datapath", " "), "D:\\songs\\");
  ASSERT_TRUE(WriteIniString(path, "USER", "DIFFICULTY", "4"));
  ASSERT_TRUE(WriteIniString(path, "USER", "MAXFPS", "120"));
  EXPECT_EQ(Read("user.ini"),
            "[USER]\r\nDIFFICULTY=4\r\nDATAPATH=D:\\songs\\\r\n; kept\r\nMAXFPS=120\r\n\r\n[OTHER]\r\nX=1");
  EXPECT_FALSE(fs::exists(path + std::string(kSaveTempSuffix)));

  const std::string hsc = root_ + "/hsc.ini";
  EXPECT_EQ(ReadIniString(hsc, "VERSION", "VER", "0"), "0");
  EXPECT_EQ(IniFile(hsc).State(), IniFile::Source::Missing);
  ASSERT_TRUE(WriteIniString(hsc, "VERSION", "VER", "1000"));
  EXPECT_EQ(Read("hsc.ini"), "[VERSION]\r\nVER=1000\r\n");
  // The letter case of the file name is forgiven, as on the system the files come from.
  EXPECT_EQ(ReadIniString(root_ + "/HSC.INI", "version", "ver", "0"), "1000");
}

TEST_F(IniFileTest, BatchWritesOnceAndOnlyWhenChanged) {
  const std::string path = root_ + "/hsc.ini";
  Write("hsc.ini", "[VERSION]\nVER=1000\n");
  {
    IniFile file(path);
    ASSERT_EQ(file.State(), IniFile::Source::Loaded);
    ASSERT_TRUE(file.Set("VERSION", "VER", "1000"));
    // Nothing changed: the file is not rewritten (a file put there meanwhile survives).
    Write("hsc.ini", "marker");
    EXPECT_TRUE(file.Save());
    EXPECT_EQ(Read("hsc.ini"), "marker");
  }
  Write("hsc.ini", "[VERSION]\nVER=1000\n");
  IniFile file(path);
  for (int song = 0; song < 50; ++song) {
    for (int part = 1; part <= 8; ++part) {
      file.Set("songs\\s" + std::to_string(song) + ".zxs", "HPR" + std::to_string(part), "1");
    }
  }
  EXPECT_EQ(Read("hsc.ini"), "[VERSION]\nVER=1000\n");  // nothing written until Save
  ASSERT_TRUE(file.Save());
  EXPECT_EQ(ReadIniString(path, "SONGS\\S49.ZXS", "hpr8", "E"), "1");
  EXPECT_EQ(ReadIniString(path, "VERSION", "VER", "E"), "1000");

  // CreateAnew drops the old content.
  Write("keyset.ini", "[KEYSETTING]\nKEYCODE000=3\n[JUNK]\nA=1\n");
  IniFile fresh = IniFile::CreateAnew(root_ + "/keyset.ini");
  EXPECT_EQ(fresh.Get("KEYSETTING", "KEYCODE000", "E"), "E");
  fresh.Set("KEYSETTING", "KEYCODE000", "-1");
  ASSERT_TRUE(fresh.Save());
  EXPECT_EQ(Read("keyset.ini"), "[KEYSETTING]\r\nKEYCODE000=-1\r\n");
}

TEST_F(IniFileTest, UnreadableFileIsNeverOverwritten) {
  const std::string path = root_ + "/user.ini";
  Block("user.ini");
  EXPECT_EQ(IniFile(path).State(), IniFile::Source::Unreadable);
  EXPECT_EQ(ReadIniString(path, "USER", "MAXFPS", "E"), "E");
  EXPECT_FALSE(WriteIniString(path, "USER", "MAXFPS", "60"));
  EXPECT_TRUE(fs::is_directory(path));
  // A folder that does not exist cannot take a file.
  EXPECT_FALSE(WriteIniString(root_ + "/no/such/user.ini", "USER", "MAXFPS", "60"));
  EXPECT_FALSE(fs::exists(root_ + "/no"));
  // Refused names leave the file untouched.
  Write("good.ini", "[A]\nK=1\n");
  EXPECT_FALSE(WriteIniString(root_ + "/good.ini", "A", "K", "2\nL=3"));
  EXPECT_EQ(Read("good.ini"), "[A]\nK=1\n");
}

// Texts kept from fuzzing: each parses back to its own bytes and takes a key write.
TEST(FuzzRegressions, KeptIniTextsKeepTheirBytes) {
  const auto replay = [](const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string text(bytes.begin(), bytes.end());
    IniDocument document(text);
    EXPECT_EQ(document.Bytes(), text) << name;
    return document.Set("USER", "MAXFPS", "30") && IniDocument(document.Bytes()).Get("user", "maxfps", "E") == "30";
  };
  testing_support::ReplayKeptInputs(std::string(TESSARU_FIXTURES) + "/fuzz", replay, 2);
}

}  // namespace
}  // namespace tessaru
