// Text for the person who started the program: a message box, since a windowed program has no console.
#include "platform/console.h"

#include <windows.h>

void Console_Write(const char* text, bool problem) {
  MessageBoxA(nullptr, text, "QZ2", MB_OK | (problem ? MB_ICONERROR : MB_ICONINFORMATION));
}
