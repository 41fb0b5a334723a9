// Error reporting: captions, buttons, the box's owner, the combined detail text and the exit codes.
#include <gtest/gtest.h>

#include <string>

#include "core/app.h"
#include "core/error.h"
#include "tests/support.h"

namespace {

// The exit code of a report that ends the process, or 0 when it returns.
int ExitCodeOf(const char* text, bool fatal) {
  return ExitOf([&] { ReportError(text, fatal); }).value_or(0);
}

TEST(ErrorReport, FatalShowsAStopBoxOwnedByTheWindowAndExitsMinusOneEvenWithoutABox) {
  ScopedFakePlatform sys;
  MainWindow = reinterpret_cast<void*>(0x42);
  EXPECT_EQ(ExitCodeOf("Init Failure", true), -1);
  MainWindow = nullptr;
  sys->answers = {BoxAnswer::Failed};
  EXPECT_EQ(ExitCodeOf("Init Failure", true), -1);
  ASSERT_EQ(sys->boxes.size(), 2u);
  EXPECT_EQ(sys->boxes[0].text, "Init Failure");
  EXPECT_EQ(sys->boxes[0].caption, "QZ Fatal Error");
  EXPECT_EQ(sys->boxes[0].buttons, BoxButtons::Ok);
  EXPECT_TRUE(sys->boxes[0].errorIcon);
  EXPECT_EQ(sys->boxes[0].owner, reinterpret_cast<void*>(0x42));
  EXPECT_EQ(sys->boxes[1].owner, nullptr) << "before the window";
}

TEST(ErrorReport, WarningGoesOnAfterOkOrWithoutABoxAndCancelExitsMinusOne) {
  ScopedFakePlatform sys;
  sys->answers = {BoxAnswer::Ok, BoxAnswer::Failed, BoxAnswer::Cancel};
  EXPECT_EQ(ExitCodeOf("careful", false), 0);
  EXPECT_EQ(ExitCodeOf("careful", false), 0);
  EXPECT_EQ(ExitCodeOf("careful", false), -1);
  EXPECT_EQ(sys->boxes[0].caption, "QZ Warning");
  EXPECT_EQ(sys->boxes[0].buttons, BoxButtons::OkCancel);
  EXPECT_FALSE(sys->boxes[0].errorIcon);
}

TEST(ErrorReport, DetailFollowsTheTextInParenthesesCutToTheBuffer) {
  ScopedFakePlatform sys;
  ReportErrorDetail("Can't open file", "/tmp/x/scene1.QZ3", false);
  EXPECT_EQ(sys->boxes[0].text, "Can't open file (/tmp/x/scene1.QZ3)");
  std::string detail(2000, 'p');
  ReportErrorDetail("Error opening File", detail.c_str(), false);
  EXPECT_EQ(sys->boxes[1].text.size(), 511u);
  EXPECT_EQ(sys->boxes[1].text.rfind("Error opening File (pp", 0), 0u);
}

}  // namespace
