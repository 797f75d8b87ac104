// A whole editor over the headless platform, started in a temporary folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/loop.h"
#include "core/editor.h"
#include "core/platform/headless_platform.h"
#include "support/test_dir.h"

class EditorFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = testDirectory(std::string(info->test_suite_name()) + "_" + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    oldCwd_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(oldCwd_);
    std::filesystem::remove_all(dir_);
  }

  // Writes KOVRIN.INI before start (small capacities keep the tests quick).
  void writeSettings(const std::string& text) {
    std::ofstream(dir_ / "KOVRIN.INI", std::ios::binary) << text;
  }

  // Starts the editor; the settings file defaults to mode 19 and small capacities.
  void start(const std::string& commandLine = "") {
    if (!std::filesystem::exists(dir_ / "KOVRIN.INI"))
      writeSettings(
          "mode = 19\r\n''''\r\ncdep = 32\r\n''''\r\nrdet = 1\r\n''''\r\n"
          "maxv = 1000\r\nmaxt = 1000\r\nmaxl = 100\r\n");
    ed_ = std::make_unique<Editor>(platform_);
    std::string messages;
    ASSERT_TRUE(startEditor(*ed_, commandLine, "KOVRIN.INI", messages)) << messages;
    messages_ = messages;
  }

  // Runs passes; returns false as soon as one ends the program.
  bool run(int passes = 1) {
    for (int i = 0; i < passes; ++i)
      if (!runPass(*ed_)) return false;
    return true;
  }

  // Runs passes until the key script is used up (plus a couple more to serve the requests).
  bool runUntilKeysDone(int limit = 200) {
    for (int i = 0; i < limit && platform_.pendingKeys() > 0; ++i)
      if (!runPass(*ed_)) return false;
    return run(2);
  }

  Editor& ed() { return *ed_; }

  HeadlessPlatform platform_;
  std::unique_ptr<Editor> ed_;
  std::string messages_;
  std::filesystem::path dir_, oldCwd_;
};
