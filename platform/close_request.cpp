// A request to end the show, from the window, the session or a signal: raised anywhere, read once per frame.
#include "platform/close_request.h"

#include <atomic>

namespace {

// A signal handler may only touch a lock-free atomic.
std::atomic<bool> g_closeRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

}  // namespace

void Close_Request() { g_closeRequested.store(true); }

bool Close_Requested() { return g_closeRequested.load(); }

void Close_Reset() { g_closeRequested.store(false); }
