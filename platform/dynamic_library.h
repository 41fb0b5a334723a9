// Loading a shared library at run time and finding its entry points by name.
#pragma once

// Loads the library file of that name as the program looks it up (Linux: next to the executable, then
// in the current directory; Windows: the system's search); null when it cannot be loaded.
void* Library_Open(const char* name);
// The address of the named entry point, or null.
void* Library_Symbol(void* library, const char* name);
void Library_Close(void* library);
