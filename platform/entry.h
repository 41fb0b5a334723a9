// The program's portable entry, called by the platform's own entry point once the Platform is set.
#pragma once

// instance: the module instance handle on Windows, null elsewhere; argv as C's main has it. Returns the exit code.
int ProgramMain(void* instance, int argc, const char* const* argv);
