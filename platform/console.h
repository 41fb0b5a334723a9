// Text for the person who started the program: the terminal on Linux, a message box on Windows, where
// a windowed program has no console.
#pragma once

// problem: the text reports a mistake (standard error, an error icon) rather than answering a request.
void Console_Write(const char* text, bool problem);
