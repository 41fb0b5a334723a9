// A scriptable platform for tests: records message boxes, windows and timer brackets; time and keys are set by the
// test.
#include "platform/fake/fake_platform.h"

#include <cstring>

FakeKeyDevice::Poll FakeKeyDevice::Keys(std::initializer_list<uint8_t> down, int32_t result) {
  Poll p{result, {}};
  for (uint8_t k : down) p.keys[k] = 0x80;
  return p;
}

int32_t FakeKeyDevice::Acquire() {
  ++acquireCalls;
  if (acquireResults.empty()) return 0;
  int32_t r = acquireResults.front();
  acquireResults.pop_front();
  return r;
}

int32_t FakeKeyDevice::GetState(uint8_t* state) {
  if (beforePoll) beforePoll(getStateCalls);
  ++getStateCalls;
  if (!polls.empty()) {
    last_ = polls.front();
    polls.pop_front();
  }
  // A failed read leaves the caller's buffer as it was, as DirectInput does.
  if (last_.result == 0) std::memcpy(state, last_.keys.data(), KeyStateSize);
  return last_.result;
}

BoxAnswer FakePlatform::ShowMessageBox(void* owner, const char* text, const char* caption, BoxButtons buttons,
                                       bool errorIcon) {
  boxes.push_back({owner, text, caption, buttons, errorIcon});
  if (answers.empty()) return BoxAnswer::Ok;
  BoxAnswer a = answers.front();
  answers.pop_front();
  return a;
}

uint32_t FakePlatform::TimeGetTime() {
  ++timeReads;
  uint32_t t = now;
  now += stepPerRead;
  return t;
}

bool FakePlatform::CurrentDirectory(char* buffer, uint32_t size) {
  if (currentDirectory.size() + 1 > size) return false;
  std::memcpy(buffer, currentDirectory.c_str(), currentDirectory.size() + 1);
  return true;
}

int32_t FakePlatform::ReadIniInt(const char* section, const char* key, int32_t fallback, const char* path) {
  iniPaths.push_back(path);
  auto it = iniValues.find(std::string(section) + "/" + key);
  return it == iniValues.end() ? fallback : it->second;
}

ScopedFakePlatform::ScopedFakePlatform() { SetPlatform(&fake_); }
ScopedFakePlatform::~ScopedFakePlatform() { SetPlatform(nullptr); }
