// Text for the person who started the program: the terminal.
#include "platform/console.h"

#include <cstdio>

void Console_Write(const char* text, bool problem) { std::fputs(text, problem ? stderr : stdout); }
