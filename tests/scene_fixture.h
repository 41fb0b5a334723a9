// What the suites over a World share: a fake platform, a renderer that records, files in a scratch folder, and the
// boxes the code under test raised.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/recording_renderer.h"
#include "scene/world.h"
#include "tests/support.h"
#include "tools/content/qz3_writer.h"

// R is the renderer made current: the recording one, or one that keeps more of what it is handed.
template <class R>
class WorldFixture : public testing::Test {
 protected:
  WorldFixture() { CurrentRenderer = &renderer; }
  ~WorldFixture() override {
    world.Destroy();
    CurrentRenderer = nullptr;
    CurrentView = nullptr;
  }

  // Saves the bytes in the scratch folder under a name of their own; their path.
  std::string Save(const std::vector<uint8_t>& bytes, const char* extension = ".qz3") {
    return scratch.Write(std::to_string(saved_++) + extension, bytes);
  }
  std::string Save(const Qz3Writer& writer) { return Save(writer.Bytes()); }

  // The text of the fatal box that ends f, or "" when f returns.
  template <class F>
  std::string FatalText(F f) {
    const std::optional<int> code = ExitOf(f);
    if (!code) return "";
    EXPECT_EQ(*code, -1);
    return sys->boxes.empty() ? "" : sys->boxes.back().text;
  }

  // The texts of the warning boxes so far.
  std::vector<std::string> Warnings() {
    std::vector<std::string> texts;
    for (const auto& box : sys->boxes) {
      if (box.caption == "QZ Warning") texts.push_back(box.text);
    }
    return texts;
  }

  Scratch scratch;
  ScopedFakePlatform sys;
  R renderer;
  World world{"World1"};

 private:
  int saved_ = 0;
};

using SceneTest = WorldFixture<RecordingRenderer>;
