// Libraries in a page: the extraction library is linked into the program, so opening it by its name succeeds and
// the driver takes its entry points directly; nothing is looked up.
#include "platform/dynamic_library.h"

#include <cstring>

namespace {

int g_linked;

}  // namespace

void* Library_Open(const char* name) { return std::strcmp(name, "Start.Dll") == 0 ? &g_linked : nullptr; }

void* Library_Symbol(void*, const char*) { return nullptr; }

void Library_Close(void*) {}
