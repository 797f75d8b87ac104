#include "core/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/test_dir.h"

namespace {

Settings scan(std::string_view text) {
  Settings s;
  scanSettings(text, s);
  return s;
}

std::string readFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SettingsScanner, SingleKeyLeavesTheOthersAtTheirDefaults) {
  const Settings s = scan("mode = 18\r\n");
  EXPECT_EQ(s.mode, 18);
  EXPECT_EQ(s.cdep, 32);
  EXPECT_EQ(s.rdet, 1);
  EXPECT_EQ(s.maxv, 1000000);
  EXPECT_EQ(s.maxt, 1000000);
  EXPECT_EQ(s.maxl, 1000);
}

TEST(SettingsScanner, NumberRulesOfTheByteScanner) {
  EXPECT_EQ(scan("maxv = 2000000 ' more room\r\n").maxv, 2000000);  // stops at the blank
  EXPECT_EQ(scan("mode = -5\r\n").mode, 5);                         // the sign is skipped
  EXPECT_EQ(scan("mode =\r\n").mode, 0);                            // no digit: 0
  EXPECT_EQ(scan("rdet = 258\r\n").rdet, 2);                        // low byte
  EXPECT_EQ(scan("maxt = 4294967297\r\n").maxt, 1);                 // 32-bit wrap
}

TEST(SettingsScanner, KeysMustStartTheLineInLowerCase) {
  EXPECT_EQ(scan("Mode = 15\r\n").mode, 19);
  EXPECT_EQ(scan(" mode = 15\r\n").mode, 19);
}

TEST(SettingsScanner, AKeyAfterAnEmptyLineIsNotRecognised) {
  const Settings s = scan("cdep = 16\r\n\r\nmode = 15\r\nmaxl = 7\r\n");
  EXPECT_EQ(s.cdep, 16);
  EXPECT_EQ(s.mode, 19);  // swallowed by the key made of CR LF "mo"
  EXPECT_EQ(s.maxl, 7);
}

TEST(SettingsScanner, LineFeedOnlyFilesSkipTheLineAfterAValue) {
  const Settings s = scan("mode = 15\ncdep = 16\nrdet = 0\n");
  EXPECT_EQ(s.mode, 15);
  EXPECT_EQ(s.cdep, 32);  // the LF ended the number, so the scan skipped this line
  EXPECT_EQ(s.rdet, 0);
}

TEST(SettingsScanner, DefaultTextGivesTheBuiltInValuesAndEndsCleanly) {
  const Settings s = scan(kDefaultSettingsText);
  const Settings d;
  EXPECT_EQ(s.mode, d.mode);
  EXPECT_EQ(s.cdep, d.cdep);
  EXPECT_EQ(s.rdet, d.rdet);
  EXPECT_EQ(s.maxv, d.maxv);
  EXPECT_EQ(s.maxt, d.maxt);
  EXPECT_EQ(s.maxl, d.maxl);
  EXPECT_EQ(scan("").mode, 19);
  EXPECT_EQ(scan("mo").mode, 19);
}

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testDirectory(
        "settings_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    path_ = dir_ / "KOVRIN.INI";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_, path_;
};

TEST_F(SettingsFile, MissingFileIsCreatedWithTheExactDefaultBytes) {
  Settings s;
  EXPECT_EQ(readSettings(path_.string(), s), "");
  const std::string bytes = readFile(path_);
  EXPECT_EQ(bytes, kDefaultSettingsText);
  EXPECT_EQ(bytes.substr(0, 31), "'''' settings file for KOVRIN\r\n");
  EXPECT_NE(bytes.find("''''    19 - 800x600    20 - 1024x768   21 - 1280x1024\r\n"),
            std::string::npos);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 25);
  EXPECT_EQ(bytes.substr(bytes.size() - 13), "maxl = 1000\r\n");
}

TEST_F(SettingsFile, EmptyFileIsRewrittenAndAnExistingOneNeverIs) {
  { std::ofstream(path_, std::ios::binary); }
  Settings s;
  readSettings(path_.string(), s);
  EXPECT_EQ(readFile(path_), kDefaultSettingsText);

  const std::string mine = "mode = 18\r\nrdet = 2\r\n";
  { std::ofstream(path_, std::ios::binary) << mine; }
  Settings t;
  readSettings(path_.string(), t);
  EXPECT_EQ(t.mode, 18);
  EXPECT_EQ(t.rdet, 2);
  EXPECT_EQ(readFile(path_), mine);
}

TEST_F(SettingsFile, ADirectoryInPlaceOfTheFileKeepsTheBuiltInSettings) {
  std::filesystem::create_directories(path_);
  Settings s;
  EXPECT_NE(readSettings(path_.string(), s), "");
  EXPECT_EQ(s.mode, 19);
  EXPECT_TRUE(std::filesystem::is_directory(path_));
}

}  // namespace
