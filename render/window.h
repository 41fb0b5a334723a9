// The one window of the program: created by the renderer's Init; closing it asks the show to end.
#pragma once

#include <cstdint>

constexpr const char* kWindowClassName = "QZ2";
constexpr const char* kWindowTitle = "QZ2 V2.02 D3D7";

// Registers the class and creates the window, full screen or windowed; stores it in MainWindow.
void CreateMainWindow(int32_t width, int32_t height, bool fullscreen);

// Close, destroy and the end of the session raise a close request (Close_Request), which the frame loop answers
// at its next frame by ending the show the normal way. The window itself stays until the process ends.
intptr_t WindowProc(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
