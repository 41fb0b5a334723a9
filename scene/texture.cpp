// Texture: raw pixels from a scene file or an image file, made into a device texture by the renderer.
#include "scene/texture.h"

#include "core/allocate.h"
#include "render/renderer.h"
#include "scene/list.h"
#include "scene/world.h"

Texture::Texture(const char* name, uint32_t source, uint16_t width, uint16_t height, uint32_t fileWord, uint8_t* pixels,
                 uint32_t pixelBytes, World* world)
    : source(source),
      width(width),
      height(height),
      fileWord(fileWord),
      pixels(pixels),
      pixelBytes(pixelBytes),
      world(world) {
  Attach(name);
}

Texture::Texture(const char* imageFile, uint32_t param1, uint32_t param2, World* world)
    : param1(param1), param2(param2), source(TextureImageFile), world(world), fileNameCopy_(imageFile) {
  fileName = fileNameCopy_.c_str();
  Attach(imageFile);
}

void Texture::Attach(const char* name) {
  id = world->registry.Add(this, ElementTexture, name);
  CurrentRenderer->LoadTexture(this);
  PushHead(world->textures, this);
}

void Texture::Bind() { CurrentRenderer->BindTexture(param1, this); }

void Texture::Destroy() {
  CurrentRenderer->ReleaseTexture(this);
  Release(pixels);
  pixels = nullptr;
  Unlink(world->textures, this);
}
