// The named-texture list: image files read once per process, keyed by file name.
#include "render/d3d7/texture_list.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "core/allocate.h"
#include "core/file.h"

TextureEntry* TextureList;

namespace {

void DestroyEntry(TextureEntry* entry) {
  if (entry->surface && entry->releaseSurface) entry->releaseSurface(entry->surface);
  entry->~TextureEntry();
  Release(entry);
}

}  // namespace

int32_t LoadTextureBitmap(const char* name, BmpImage* image) {
  ImageName kind = ImageNameOf(name);
  if (kind == ImageName::NoExtension) return kTextureUnsupportedName;
  if (!std::unique_ptr<std::FILE, FileCloser>(std::fopen(name, "rb"))) return kTextureNotFound;
  if (kind == ImageName::Bitmap) return ReadBmpFile(name, image) ? kTextureOk : kTextureNotFound;
  return kind == ImageName::Jpeg ? kTextureNotFound : kTextureUnsupportedName;
}

TextureEntry* FindTexture(const char* name) {
  for (TextureEntry* entry = TextureList; entry; entry = entry->next) {
    if (SameNameIgnoringCase(entry->name, name)) return entry;
  }
  return nullptr;
}

void* FindTextureSurface(const char* name) {
  TextureEntry* entry = FindTexture(name);
  return entry ? entry->surface : nullptr;
}

int32_t AddTexture(const char* name, uint32_t stage, uint32_t flags) {
  if (!name || std::strlen(name) >= kTextureNameSize) return kTextureInvalidArgument;
  if (FindTexture(name)) return kTextureOk;
  void* memory = Allocate(sizeof(TextureEntry), "texchaine");
  if (!memory) return kTextureOutOfMemory;
  auto* entry = new (memory) TextureEntry;
  std::strcpy(entry->name, name);
  entry->stage = stage;
  entry->flags = flags;
  entry->hasAlpha = (flags & NeedsAlpha) != 0;
  if (LoadTextureBitmap(name, &entry->bitmap) != kTextureOk) {
    DestroyEntry(entry);
    return kTextureFailed;
  }
  [[maybe_unused]] static const bool releasedAtExit = std::atexit(ReleaseTextureList) == 0;
  entry->next = TextureList;
  if (TextureList) TextureList->prev = entry;
  TextureList = entry;
  return kTextureOk;
}

void ReleaseTextureList() {
  while (TextureEntry* entry = TextureList) {
    TextureList = entry->next;
    DestroyEntry(entry);
  }
}
