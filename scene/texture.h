// Texture: an image the renderer makes from raw pixels carried in the record, or from an image file.
#pragma once

#include <cstdint>
#include <string>

#include "scene/registry.h"

class World;

enum TextureSource : uint32_t {
  TextureRawPixels = 3,  // width x height pixels of 3 bytes, blue first
  TextureRenderTarget = 10,
  TextureImageFile = 11,
};

class Texture {
 public:
  // A texture read from a scene file: param1 and param2 0, no file name. Takes the pixel block
  // (allocated with the tag "TexBits", or null). Registers (kind 5), the renderer's LoadTexture,
  // then joins the World's texture list.
  Texture(const char* name, uint32_t source, uint16_t width, uint16_t height, uint32_t fileWord, uint8_t* pixels,
          uint32_t pixelBytes, World* world);
  // A texture from an image file (source 11), registered under its file name; the renderer's
  // LoadTexture sets the size and scales.
  Texture(const char* fileName, uint32_t param1, uint32_t param2, World* world);
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;

  ElementId id = 0;
  uint32_t param1 = 0, param2 = 0;  // read by the renderer
  const char* fileName = nullptr;   // a copy owned by the texture
  uint32_t source = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  uint32_t fileWord = 0;  // carried from the scene file
  uint8_t* pixels = nullptr;
  uint32_t pixelBytes = 0;
  float scaleU = 0, scaleV = 0;  // set by the renderer: 1.0, since every back end covers its surface with the image
  World* world;
  Texture* prev = nullptr;
  Texture* next = nullptr;
  uintptr_t rendererData = 0;  // the renderer's: a device texture or a texture name

  // The renderer's BindTexture (param1, this).
  void Bind();
  // The renderer's ReleaseTexture, frees the pixels, then unlinks.
  void Destroy();

 private:
  void Attach(const char* name);
  // Callers build the path in a local buffer, so the texture keeps its own copy.
  std::string fileNameCopy_;
};
