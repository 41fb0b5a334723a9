// Error reporting: every failure the viewer is told of goes through these two functions.
#include "core/error.h"

#include <cstdio>
#include <utility>

#include "core/app.h"
#include "platform/platform.h"

namespace {

constexpr int kFailureExitCode = -1;
constexpr size_t kDetailTextSize = 512;

void (*g_exitCleanup)();

void EndProcess() {
  // Taken first, so that a report from inside the cleanup does not run it again.
  if (auto cleanup = std::exchange(g_exitCleanup, nullptr)) cleanup();
  Sys().ExitProcess(kFailureExitCode);
}

}  // namespace

void SetErrorExitCleanup(void (*cleanup)()) { g_exitCleanup = cleanup; }

void ReportError(const char* text, bool fatal) {
  if (fatal) {
    Sys().ShowMessageBox(MainWindow, text, "QZ Fatal Error", BoxButtons::Ok, true);
    EndProcess();
  }
  // A warning whose box cannot be shown carries on, as OK would.
  if (Sys().ShowMessageBox(MainWindow, text, "QZ Warning", BoxButtons::OkCancel, false) == BoxAnswer::Cancel) {
    EndProcess();
  }
}

void ReportErrorDetail(const char* text, const char* detail, bool fatal) {
  // A text too long for the buffer is cut, keeping its terminator, rather than overrun.
  char combined[kDetailTextSize];
  std::snprintf(combined, sizeof combined, "%s (%s)", text, detail);
  ReportError(combined, fatal);
}
