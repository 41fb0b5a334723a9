// Loading a shared library at run time on Windows, through the system's own search.
#include "platform/dynamic_library.h"

#include <windows.h>

void* Library_Open(const char* name) { return LoadLibraryA(name); }

void* Library_Symbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void Library_Close(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }
