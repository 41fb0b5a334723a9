// What the scene tests share: a fake platform, a recording renderer, fixture files and fatal reports.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "render/recording_renderer.h"
#include "scene/world.h"
#include "tools/content/file_writer.h"
#include "tools/content/qz3_writer.h"

class SceneTest : public testing::Test {
 protected:
  SceneTest() { CurrentRenderer = &renderer; }
  ~SceneTest() override {
    world.Destroy();
    CurrentRenderer = nullptr;
    CurrentView = nullptr;
    for (const std::string& path : files_) std::remove(path.c_str());
  }

  // Saves the writer's bytes under a name of this test's own.
  std::string Save(const Qz3Writer& writer) { return SaveBytes(writer.Bytes()); }
  std::string SaveBytes(const std::vector<uint8_t>& bytes, const char* extension = ".qz3") {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string path = testing::TempDir() + "qz2_" + info->test_suite_name() + "_" + info->name() + "_" +
                       std::to_string(getpid()) + "_" + std::to_string(files_.size()) + extension;
    EXPECT_TRUE(WriteBytesFile(path.c_str(), bytes));
    files_.push_back(path);
    return path;
  }

  // The text of the fatal box that ends f, or "" when f returns.
  template <class F>
  std::string FatalText(F f) {
    try {
      f();
    } catch (const FakeExit& e) {
      EXPECT_EQ(e.code, -1);
      return sys->boxes.empty() ? "" : sys->boxes.back().text;
    }
    return "";
  }

  // The texts of the warning boxes so far.
  std::vector<std::string> Warnings() {
    std::vector<std::string> texts;
    for (const auto& box : sys->boxes) {
      if (box.caption == "QZ Warning") texts.push_back(box.text);
    }
    return texts;
  }

  ScopedFakePlatform sys;
  RecordingRenderer renderer;
  World world{"World1"};

 private:
  std::vector<std::string> files_;
};
