// The process's instance handle and its one window.
#include "core/app.h"

void* MainWindow;
void* AppInstance;
