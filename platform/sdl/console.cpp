// Text for the person who started the program: the terminal.
#include <cstdio>

#include "platform/console.h"

void Console_Write(const char* text, bool problem) { std::fputs(text, problem ? stderr : stdout); }
