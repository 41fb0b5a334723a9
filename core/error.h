// Error reporting: every failure the viewer is told of goes through these two functions.
//
// A fatal report shows "QZ Fatal Error" with OK and ends the process with exit code -1; a
// warning shows "QZ Warning" with OK and Cancel, and Cancel ends the process with -1 too.
#pragma once

void ReportError(const char* text, bool fatal);
// Runs once, after the box, when a report ends the process: the driver deletes its data directory there.
// Null forgets it.
void SetErrorExitCleanup(void (*cleanup)());
// Shows "text (detail)"; the detail is typically a file path.
void ReportErrorDetail(const char* text, const char* detail, bool fatal);
