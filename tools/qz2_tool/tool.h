// qz2-tool's shared pieces: command registration, the tool's platform, and a JSON writer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "driver/show.h"

struct ToolCommand {
  const char* name;
  const char* usage;
  int (*run)(int argc, char** argv);  // argv[0] is the command's name
};

// A command file registers itself with a static ToolCommandRegistration.
struct ToolCommandRegistration {
  explicit ToolCommandRegistration(const ToolCommand& command);
};

// capture's arguments. On Linux the command runs in qz2-capture, which qz2-tool hands it over to, so that only a
// capture loads FFmpeg's libraries.
constexpr const char* kCaptureUsage = "PACK --out FILE [--size WxH] [--fps N] [--scenes A-B]";

// Warnings answered OK while the command ran, in the order raised.
const std::vector<std::string>& ToolWarnings();

class GLRenderer;
class Renderer;

// The OpenGL back end as the show opens it (the 800 x 600 picture), drawing off screen into a drawable of
// the given size; "Init Failure" is fatal.
GLRenderer* OpenOffscreenRenderer(int32_t width, int32_t height);

// The picture the show draws, as this platform's back end draws it.
constexpr int32_t kPictureWidth = 800;
constexpr int32_t kPictureHeight = 600;
// The back end of the kind (0: this platform's own), drawing off screen where the picture can be read back
// whatever the screen's size; "Init Failure" is fatal.
Renderer* OpenPictureRenderer(int32_t kind);
// The picture being drawn (before Present) by the renderer OpenPictureRenderer opened, as RGB rows, red first, top
// row first; false when it cannot be read.
bool ReadPicture(Renderer& renderer, std::vector<uint8_t>& rgb);

// Writes JSON to a stream: numbers round-trip a float (%.9g), colours as "0xAARRGGBB".
class JsonWriter {
 public:
  explicit JsonWriter(FILE* out = stdout) : out_(out) {}

  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  void Key(const char* key);
  void Number(double value);
  void Integer(int64_t value);
  void Bool(bool value);
  void Null();
  void String(const char* text);  // null writes null
  void Colour(uint32_t argb);
  void Floats(const float* values, int count);  // an array of numbers
  // The warnings collected so far, as the key "warnings".
  void Warnings();
  // Ends the document with a newline.
  void Finish();

 private:
  void Separate();
  FILE* out_;
  std::vector<bool> first_;
  bool afterKey_ = false;
};

// A key and its integer, the commonest member of the tools' documents.
void Integer(JsonWriter& json, const char* key, int64_t value);
