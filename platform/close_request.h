// A request to end the show, from the window, the session or a signal: raised anywhere, read once per frame.
#pragma once

// Safe to call from a signal handler and from any thread.
void Close_Request();
bool Close_Requested();
// Forgets a request, for a process that plays more than one show (tests).
void Close_Reset();
