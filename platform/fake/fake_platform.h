// A scriptable platform for tests: records message boxes, windows and timer brackets; time and keys are set by the
// test.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

// Thrown in place of ending the process, so a test can see the exit code.
struct FakeExit {
  int code;
};

class FakeKeyDevice : public KeyDevice {
 public:
  using KeyBytes = std::array<uint8_t, KeyStateSize>;

  int32_t createInputResult = 0, createDeviceResult = 0, dataFormatResult = 0, cooperativeResult = 0;
  std::deque<int32_t> acquireResults;  // 0 when empty
  // Each GetState takes the next poll; when none is left, the last one repeats (all keys up at first).
  struct Poll {
    int32_t result;
    KeyBytes keys;
  };
  std::deque<Poll> polls;
  // Called before each poll is taken, so a test can script keys from what the program has done.
  std::function<void(int pollIndex)> beforePoll;

  int acquireCalls = 0, unacquireCalls = 0, getStateCalls = 0;
  bool deviceReleased = false, inputReleased = false;
  uint32_t cooperativeFlags = 0;
  void* cooperativeWindow = nullptr;
  void* instance = nullptr;

  static Poll Keys(std::initializer_list<uint8_t> down, int32_t result = 0);
  void Push(std::initializer_list<uint8_t> down, int32_t result = 0) { polls.push_back(Keys(down, result)); }

  int32_t CreateInput(void* inst) override {
    instance = inst;
    return createInputResult;
  }
  int32_t CreateDevice() override { return createDeviceResult; }
  int32_t SetDataFormat() override { return dataFormatResult; }
  int32_t SetCooperativeLevel(void* window, uint32_t flags) override {
    cooperativeWindow = window;
    cooperativeFlags = flags;
    return cooperativeResult;
  }
  int32_t Acquire() override;
  int32_t Unacquire() override {
    ++unacquireCalls;
    return 0;
  }
  int32_t GetState(uint8_t* state) override;
  void ReleaseDevice() override { deviceReleased = true; }
  void ReleaseInput() override { inputReleased = true; }

 private:
  Poll last_{0, {}};
};

class FakePlatform : public Platform {
 public:
  struct Box {
    void* owner;
    std::string text;
    std::string caption;
    BoxButtons buttons;
    bool errorIcon;
  };
  std::vector<Box> boxes;
  std::deque<BoxAnswer> answers;  // Ok when empty

  std::vector<bool> cursorCalls;
  uint32_t now = 0;
  uint32_t stepPerRead = 0;  // added to now after every TimeGetTime
  int timeReads = 0;
  int periodDepth = 0;  // begin minus end brackets
  int periodCalls = 0;
  std::vector<uint32_t> sleeps;

  std::string currentDirectory = "/home/viewer/show";
  std::map<std::string, int32_t> iniValues;  // "section/key"
  std::vector<std::string> iniPaths;

  std::vector<WindowRequest> windows;
  void* windowToReturn = reinterpret_cast<void*>(0x1234);
  int pumpCalls = 0;

  FakeKeyDevice keys;

  BoxAnswer ShowMessageBox(void* owner, const char* text, const char* caption, BoxButtons buttons,
                           bool errorIcon) override;
  void ShowCursor(bool show) override { cursorCalls.push_back(show); }
  [[noreturn]] void ExitProcess(int code) override { throw FakeExit{code}; }
  uint32_t TimeGetTime() override;
  void TimeBeginPeriod(uint32_t) override {
    ++periodDepth;
    ++periodCalls;
  }
  void TimeEndPeriod(uint32_t) override { --periodDepth; }
  // Sleeps take no time: the test moves the clock.
  void Sleep(uint32_t ms) override { sleeps.push_back(ms); }
  bool CurrentDirectory(char* buffer, uint32_t size) override;
  int32_t ReadIniInt(const char* section, const char* key, int32_t fallback, const char* path) override;
  void* OpenWindow(const WindowRequest& request) override {
    windows.push_back(request);
    return windowToReturn;
  }
  void PumpMessages() override { ++pumpCalls; }
  KeyDevice& Keys() override { return keys; }
};

// Installs a FakePlatform for the lifetime of a test.
class ScopedFakePlatform {
 public:
  ScopedFakePlatform();
  ~ScopedFakePlatform();
  FakePlatform* operator->() { return &fake_; }
  FakePlatform& operator*() { return fake_; }

 private:
  FakePlatform fake_;
};
