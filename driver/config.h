// Start-up configuration: config.ini in the current directory and the one call that opens the display.
#pragma once

class Renderer;

constexpr int kDisplayWidth = 800;
constexpr int kDisplayHeight = 600;

// Reads [CONFIG] Color (0: 32 bits per pixel, else 16) and Filtering (default on), hides the
// cursor and opens the 800 x 600 display, full screen unless a window was asked for; "Init Failure" is fatal.
void ReadConfig(Renderer* renderer, void* instance, bool fullscreen = true);
