// Loading a shared library at run time on Linux: next to the executable first, then the current directory.
#include "platform/dynamic_library.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

void* LoadFrom(const char* directory, const char* name) {
  char path[PATH_MAX];
  int n = std::snprintf(path, sizeof path, "%s/%s", directory, name);
  if (n < 0 || static_cast<size_t>(n) >= sizeof path) return nullptr;
  return dlopen(path, RTLD_NOW | RTLD_LOCAL);
}

}  // namespace

void* Library_Open(const char* name) {
  char executable[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", executable, sizeof executable - 1);
  if (n > 0) {
    executable[n] = '\0';
    char* slash = std::strrchr(executable, '/');
    if (slash) {
      *slash = '\0';
      if (void* library = LoadFrom(executable[0] ? executable : "/", name)) return library;
    }
  }
  return LoadFrom(".", name);
}

void* Library_Symbol(void* library, const char* name) { return dlsym(library, name); }

void Library_Close(void* library) { dlclose(library); }
