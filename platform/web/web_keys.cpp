// The keyboard from the page's key events: each key's DOM code held down or up, as DirectInput key codes.
#include "platform/web/web_keys.h"

#include <emscripten/html5.h>

#include <cstring>

namespace {

struct KeyMapping {
  const char* code;  // KeyboardEvent.code: the physical key
  uint8_t dik;
};

// DOM codes and DirectInput codes both name physical key positions.
constexpr KeyMapping kKeyMap[] = {
    {"Escape", 0x01},      {"Digit1", 0x02},       {"Digit2", 0x03},     {"Digit3", 0x04},       {"Digit4", 0x05},
    {"Digit5", 0x06},      {"Digit6", 0x07},       {"Digit7", 0x08},     {"Digit8", 0x09},       {"Digit9", 0x0A},
    {"Digit0", 0x0B},      {"Minus", 0x0C},        {"Equal", 0x0D},      {"Backspace", 0x0E},    {"Tab", 0x0F},
    {"KeyQ", 0x10},        {"KeyW", 0x11},         {"KeyE", 0x12},       {"KeyR", 0x13},         {"KeyT", 0x14},
    {"KeyY", 0x15},        {"KeyU", 0x16},         {"KeyI", 0x17},       {"KeyO", 0x18},         {"KeyP", 0x19},
    {"BracketLeft", 0x1A}, {"BracketRight", 0x1B}, {"Enter", 0x1C},      {"ControlLeft", 0x1D},  {"KeyA", 0x1E},
    {"KeyS", 0x1F},        {"KeyD", 0x20},         {"KeyF", 0x21},       {"KeyG", 0x22},         {"KeyH", 0x23},
    {"KeyJ", 0x24},        {"KeyK", 0x25},         {"KeyL", 0x26},       {"Semicolon", 0x27},    {"Quote", 0x28},
    {"Backquote", 0x29},   {"ShiftLeft", 0x2A},    {"Backslash", 0x2B},  {"KeyZ", 0x2C},         {"KeyX", 0x2D},
    {"KeyC", 0x2E},        {"KeyV", 0x2F},         {"KeyB", 0x30},       {"KeyN", 0x31},         {"KeyM", 0x32},
    {"Comma", 0x33},       {"Period", 0x34},       {"Slash", 0x35},      {"ShiftRight", 0x36},   {"AltLeft", 0x38},
    {"Space", 0x39},       {"F1", 0x3B},           {"F2", 0x3C},         {"F3", 0x3D},           {"F4", 0x3E},
    {"F5", 0x3F},          {"F6", 0x40},           {"F7", 0x41},         {"F8", 0x42},           {"F9", 0x43},
    {"F10", 0x44},         {"F11", 0x57},          {"F12", 0x58},        {"ControlRight", 0x9D}, {"AltRight", 0xB8},
    {"ArrowUp", 0xC8},     {"ArrowLeft", 0xCB},    {"ArrowRight", 0xCD}, {"ArrowDown", 0xD0},
};

uint8_t g_down[KeyStateSize];

// The show's keys are the page's while it plays: the browser's own meaning of F12 and Escape is not wanted.
EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void*) {
  for (const KeyMapping& m : kKeyMap) {
    if (std::strcmp(event->code, m.code) != 0) continue;
    g_down[m.dik] = type == EMSCRIPTEN_EVENT_KEYDOWN ? 0x80 : 0;
    return EM_TRUE;
  }
  return EM_FALSE;
}

// Keys let go while the page was away never send their key up.
EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void*) {
  std::memset(g_down, 0, sizeof g_down);
  return EM_FALSE;
}

class WebKeyDevice : public KeyDevice {
 public:
  int32_t CreateInput(void*) override { return KeyResultOk; }
  int32_t CreateDevice() override {
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, OnKey);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnBlur);
    return KeyResultOk;
  }
  int32_t SetDataFormat() override { return KeyResultOk; }
  int32_t SetCooperativeLevel(void*, uint32_t) override { return KeyResultOk; }
  int32_t Acquire() override { return KeyResultOk; }
  int32_t Unacquire() override { return KeyResultOk; }
  void ReleaseDevice() override {
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, nullptr);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, nullptr);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
  }
  void ReleaseInput() override {}
  // The state is what the events delivered before the latest yield left.
  int32_t GetState(uint8_t* state) override {
    std::memcpy(state, g_down, KeyStateSize);
    return KeyResultOk;
  }
};

}  // namespace

KeyDevice* NewWebKeyDevice() { return new WebKeyDevice; }
