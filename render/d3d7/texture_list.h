// The named-texture list: image files read once per process, keyed by file name, each with the device surface
// last made from it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/bmp_file.h"

enum TextureFlags : uint32_t {
  KeyWhite = 0x01,  // pure white is transparent
  KeyBlack = 0x02,  // pure black is transparent (when KeyWhite is clear)
  Prefer32 = 0x04,  // a 32-bit texture format rather than a 16-bit one
  NeedsAlpha = 0x10,
};

// The platform's result codes.
constexpr int32_t kTextureOk = 0;
constexpr int32_t kTextureFailed = static_cast<int32_t>(0x80004005);
constexpr int32_t kTextureOutOfMemory = static_cast<int32_t>(0x8007000E);
constexpr int32_t kTextureUnsupportedName = static_cast<int32_t>(0x80004001);
constexpr int32_t kTextureInvalidArgument = static_cast<int32_t>(0x80070057);
constexpr int32_t kTextureNotFound = static_cast<int32_t>(0x887600FF);

// Names are data-directory paths, so the field holds the longest path the system's ANSI file calls take;
// a longer name is refused as an invalid argument.
constexpr size_t kTextureNameSize = 260;

struct TextureEntry {
  BmpImage bitmap;
  void* surface = nullptr;                  // the device's, made by RestoreTexture
  void (*releaseSurface)(void*) = nullptr;  // set by whoever made the surface
  uint32_t stage = 0;
  char name[kTextureNameSize] = {};
  bool hasAlpha = false;
  uint32_t flags = 0;
  TextureEntry* prev = nullptr;
  TextureEntry* next = nullptr;
};

// Newest first. ReleaseTextureList empties it when the process exits.
extern TextureEntry* TextureList;

// Reads a bitmap by file name: 0x80004001 for a name without an extension or with one other than ".bmp" and
// ".jpg" (named, but never decoded), 0x887600FF when no bitmap comes of it.
int32_t LoadTextureBitmap(const char* name, BmpImage* image);
// Reads the named bitmap and puts it at the head of the list; a name already listed (in any letter case)
// returns 0 at once and keeps its first flags.
int32_t AddTexture(const char* name, uint32_t stage, uint32_t flags);
// The first entry whose name equals name, ignoring case; null when none does.
TextureEntry* FindTexture(const char* name);
// The entry's surface; null without an entry.
void* FindTextureSurface(const char* name);
// Releases every entry's surface and bitmap.
void ReleaseTextureList();
