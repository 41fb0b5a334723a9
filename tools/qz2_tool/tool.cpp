// qz2-tool: one program for people who make and debug content; runs the system's own code paths.
#include "tools/qz2_tool/tool.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include "platform/win32/win32_platform.h"
using SystemPlatform = Win32Platform;
#else
#include "platform/sdl/linux_platform.h"
using SystemPlatform = LinuxPlatform;
#endif

namespace {

std::vector<ToolCommand>& Commands() {
  static std::vector<ToolCommand> commands;
  return commands;
}

std::vector<std::string> g_warnings;

#ifndef _WIN32
class NoKeyboard : public KeyDevice {
 public:
  int32_t CreateInput(void*) override { return KeyGenericFailure; }
  int32_t CreateDevice() override { return KeyGenericFailure; }
  int32_t SetDataFormat() override { return KeyGenericFailure; }
  int32_t SetCooperativeLevel(void*, uint32_t) override { return KeyGenericFailure; }
  int32_t Acquire() override { return KeyGenericFailure; }
  int32_t Unacquire() override { return KeyGenericFailure; }
  int32_t GetState(uint8_t*) override { return KeyGenericFailure; }
  void ReleaseDevice() override {}
  void ReleaseInput() override {}
};
#endif

// Fatal reports go to standard error as the box would show them; warnings are answered OK.
class ToolPlatform : public SystemPlatform {
 public:
  BoxAnswer ShowMessageBox(void*, const char* text, const char*, BoxButtons buttons, bool) override {
    if (buttons == BoxButtons::OkCancel) {
      g_warnings.emplace_back(text);
      return BoxAnswer::Ok;
    }
    std::fprintf(stderr, "%s\n", text);
    return BoxAnswer::Ok;
  }
  void ShowCursor(bool) override {}
#ifndef _WIN32
  // OpenGL pictures are drawn off screen: the back end's window is a name only, and no display is needed.
  void* OpenWindow(const WindowRequest&) override {
    static int offscreenWindow;
    return &offscreenWindow;
  }
  void PumpMessages() override {}
  // No command reads the keyboard; one asked for is not there.
  KeyDevice& Keys() override {
    static NoKeyboard keys;
    return keys;
  }
#endif
  [[noreturn]] void ExitProcess(int code) override {
    std::fflush(stdout);
    std::exit(code);
  }
};

void Usage(FILE* out) {
  std::fputs("usage: qz2-tool COMMAND ...\n", out);
  for (const ToolCommand& c : Commands()) std::fprintf(out, "  qz2-tool %s %s\n", c.name, c.usage);
}

}  // namespace

ToolCommandRegistration::ToolCommandRegistration(const ToolCommand& command) { Commands().push_back(command); }

const std::vector<std::string>& ToolWarnings() { return g_warnings; }

void JsonWriter::Separate() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!first_.empty()) {
    if (!first_.back()) std::fputc(',', out_);
    first_.back() = false;
  }
}

void JsonWriter::BeginObject() {
  Separate();
  std::fputc('{', out_);
  first_.push_back(true);
}

void JsonWriter::EndObject() {
  first_.pop_back();
  std::fputc('}', out_);
}

void JsonWriter::BeginArray() {
  Separate();
  std::fputc('[', out_);
  first_.push_back(true);
}

void JsonWriter::EndArray() {
  first_.pop_back();
  std::fputc(']', out_);
}

void JsonWriter::Key(const char* key) {
  Separate();
  afterKey_ = true;  // the key's own string takes no separator of its own
  String(key);
  std::fputc(':', out_);
  afterKey_ = true;
}

void JsonWriter::Number(double value) {
  Separate();
  // JSON has no infinities or NaN.
  if (std::isfinite(value)) {
    std::fprintf(out_, "%.9g", value);
  } else {
    std::fputs("null", out_);
  }
}

void JsonWriter::Integer(int64_t value) {
  Separate();
  std::fprintf(out_, "%lld", static_cast<long long>(value));
}

void JsonWriter::Bool(bool value) {
  Separate();
  std::fputs(value ? "true" : "false", out_);
}

void JsonWriter::Null() {
  Separate();
  std::fputs("null", out_);
}

void JsonWriter::String(const char* text) {
  if (!text) {
    Null();
    return;
  }
  Separate();
  std::fputc('"', out_);
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p == '"' || *p == '\\') {
      std::fputc('\\', out_);
      std::fputc(*p, out_);
    } else if (*p < 0x20) {
      std::fprintf(out_, "\\u%04x", *p);
    } else {
      std::fputc(*p, out_);
    }
  }
  std::fputc('"', out_);
}

void JsonWriter::Colour(uint32_t argb) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", argb);
  String(text);
}

void JsonWriter::Floats(const float* values, int count) {
  BeginArray();
  for (int i = 0; i < count; ++i) Number(values[i]);
  EndArray();
}

void JsonWriter::Warnings() {
  Key("warnings");
  BeginArray();
  for (const std::string& w : g_warnings) String(w.c_str());
  EndArray();
}

void Integer(JsonWriter& json, const char* key, int64_t value) {
  json.Key(key);
  json.Integer(value);
}

void JsonWriter::Finish() {
  std::fputc('\n', out_);
  std::fflush(out_);
}

int main(int argc, char** argv) {
  static ToolPlatform platform;
  SetPlatform(&platform);
  if (argc >= 2) {
    for (const ToolCommand& c : Commands()) {
      if (std::strcmp(c.name, argv[1]) == 0) return c.run(argc - 1, argv + 1);
    }
  }
  // Help asked for is an answer (standard output, status 0); a missing or unknown command is a mistake.
  const bool help = argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
  Usage(help ? stdout : stderr);
  return help ? 0 : 2;
}
