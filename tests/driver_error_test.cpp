// Error reporting: captions, buttons, the combined detail text and the exit codes.
#include <gtest/gtest.h>

#include <string>

#include "core/error.h"
#include "platform/fake/fake_platform.h"
#include "core/app.h"

namespace {

int FatalExitCode(const char* text) {
  try {
    ReportError(text, true);
  } catch (const FakeExit& e) {
    return e.code;
  }
  ADD_FAILURE() << "a fatal report returned";
  return 0;
}

TEST(ErrorReport, FatalShowsAnOwnedStopBoxAndExitsMinusOne) {
  ScopedFakePlatform sys;
  MainWindow = reinterpret_cast<void*>(0x42);
  EXPECT_EQ(FatalExitCode("Init Failure"), -1);
  MainWindow = nullptr;
  ASSERT_EQ(sys->boxes.size(), 1u);
  EXPECT_EQ(sys->boxes[0].text, "Init Failure");
  EXPECT_EQ(sys->boxes[0].caption, "QZ Fatal Error");
  EXPECT_EQ(sys->boxes[0].buttons, BoxButtons::Ok);
  EXPECT_TRUE(sys->boxes[0].errorIcon);
  EXPECT_EQ(sys->boxes[0].owner, reinterpret_cast<void*>(0x42));
}

TEST(ErrorReport, FatalBeforeTheWindowIsUnownedAndStillExits) {
  ScopedFakePlatform sys;
  sys->answers.push_back(BoxAnswer::Failed);
  EXPECT_EQ(FatalExitCode("Init Failure"), -1);
  EXPECT_EQ(sys->boxes[0].owner, nullptr);
}

TEST(ErrorReport, WarningReturnsOnOkAndWhenNoBoxCanBeShown) {
  ScopedFakePlatform sys;
  sys->answers = {BoxAnswer::Ok, BoxAnswer::Failed};
  ReportError("careful", false);
  ReportError("careful again", false);
  ASSERT_EQ(sys->boxes.size(), 2u);
  EXPECT_EQ(sys->boxes[0].caption, "QZ Warning");
  EXPECT_EQ(sys->boxes[0].buttons, BoxButtons::OkCancel);
  EXPECT_FALSE(sys->boxes[0].errorIcon);
}

TEST(ErrorReport, WarningCancelledExitsMinusOne) {
  ScopedFakePlatform sys;
  sys->answers.push_back(BoxAnswer::Cancel);
  try {
    ReportError("careful", false);
    FAIL() << "Cancel returned";
  } catch (const FakeExit& e) {
    EXPECT_EQ(e.code, -1);
  }
}

TEST(ErrorReport, DetailIsTextBlankAndDetailInParentheses) {
  ScopedFakePlatform sys;
  ReportErrorDetail("Can't open file", "/tmp/x/scene1.QZ3", false);
  EXPECT_EQ(sys->boxes[0].text, "Can't open file (/tmp/x/scene1.QZ3)");
}

TEST(ErrorReport, DetailTooLongIsCutToTheBufferNotOverrun) {
  ScopedFakePlatform sys;
  std::string detail(2000, 'p');
  ReportErrorDetail("Error opening File", detail.c_str(), false);
  EXPECT_EQ(sys->boxes[0].text.size(), 511u);
  EXPECT_EQ(sys->boxes[0].text.rfind("Error opening File (pp", 0), 0u);
}

}  // namespace
