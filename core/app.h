// The process's instance handle and its one window: set once at start-up, read by whoever reports to the viewer.
#pragma once

// Null until the renderer's Init has made the window; warning and error boxes are owned by it.
extern void* MainWindow;
// The module instance handle on Windows, null elsewhere.
extern void* AppInstance;
