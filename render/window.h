// The one window of the program: created by the renderer's Init, closed only by the system.
#pragma once

#include <cstdint>

constexpr const char* kWindowClassName = "QZ2";
constexpr const char* kWindowTitle = "QZ2 V2.02 D3D7";

// Registers the class and creates the window, full screen or windowed; stores it in MainWindow.
void CreateMainWindow(int32_t width, int32_t height, bool fullscreen);

// Close destroys the window; its destruction ends the process with exit code 0.
intptr_t WindowProc(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
