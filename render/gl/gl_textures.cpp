// The OpenGL back end's textures: scene pixels as mip-mapped textures, image files with their colour key.
#include <vector>

#include "core/error.h"
#include "render/bmp_file.h"
#include "render/gl/gl_api.h"
#include "render/gl/gl_renderer.h"
#include "render/texture_image.h"
#include "scene/texture.h"

namespace {

// The texture's param2 value that asks for pure black to be transparent.
constexpr uint32_t kKeyBlack = 1;

}  // namespace

// Repeating, bilinear, with the given minification filter and number of levels.
uint32_t GLRenderer::NewBoundTexture(int32_t minFilter, uint32_t levels) {
  GLuint name = 0;
  gl_.GenTextures(1, &name);
  gl_.BindTexture(GL_TEXTURE_2D, name);
  gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
  gl_.TexParameteri(GL_TEXTURE_2D, GlTextureMaxLevel, static_cast<GLint>(levels - 1));
  return name;
}

// Texture coordinates are the Direct3D ones, v = 0 at the image's top, so images go to GL top
// row first. Width, height and both scales describe the image as loaded.
void GLRenderer::LoadTexture(Texture* texture) {
  texture->scaleU = texture->scaleV = 1.0f;
  if (texture->source == TextureRawPixels) LoadRawTexture(texture);
  if (texture->source == TextureImageFile) LoadFileTexture(texture);
  // Loading binds the new texture, so the current material's binding no longer holds.
  currentMaterial_ = nullptr;
}

void GLRenderer::LoadRawTexture(Texture* texture) {
  int32_t width = texture->width, height = texture->height;
  size_t bytes = static_cast<size_t>(width) * height * 3;
  if (!texture->pixels || bytes == 0 || texture->pixelBytes < bytes) return;
  std::vector<uint8_t> level(bytes), half(bytes);
  RawPixelsToRgb(texture->pixels, width, height, level.data());
  uint32_t levels = MipLevelCount(width, height);

  GLuint name = NewBoundTexture(filtering_ ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_NEAREST, levels);
  for (uint32_t i = 0; i < levels; ++i) {
    if (i > 0) {
      HalveImage(level.data(), width, height, half.data());
      level.swap(half);
      width /= 2;
      height /= 2;
    }
    gl_.TexImage2D(GL_TEXTURE_2D, static_cast<GLint>(i), GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                   level.data());
  }
  texture->rendererData = name;
}

// A file that cannot be read as a bitmap ends the show, as on the Direct3D 7 side.
void GLRenderer::LoadFileTexture(Texture* texture) {
  BmpImage image;
  if (!LoadTextureImage(texture->fileName, &image)) return;
  texture->width = static_cast<uint16_t>(image.width);
  texture->height = static_cast<uint16_t>(image.height);
  bool keyed = texture->param2 == kKeyBlack;
  std::vector<uint8_t> rgba;
  if (keyed) {
    rgba.resize(static_cast<size_t>(image.width) * image.height * 4);
    KeyBlackToAlpha(image.rgb.data(), static_cast<size_t>(image.width) * image.height, rgba.data());
  }

  GLuint name = NewBoundTexture(GL_LINEAR, 1);
  if (keyed) {
    gl_.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  } else {
    gl_.TexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE, image.rgb.data());
  }
  texture->rendererData = name;
}

void GLRenderer::BindTexture(uint32_t, Texture* texture) {
  gl_.BindTexture(GL_TEXTURE_2D, texture ? static_cast<GLuint>(texture->rendererData) : 0);
}

void GLRenderer::ReleaseTexture(Texture* texture) {
  GLuint name = static_cast<GLuint>(texture->rendererData);
  if (name != 0) {
    gl_.DeleteTextures(1, &name);
    // The current material may have had it bound.
    currentMaterial_ = nullptr;
  }
  texture->rendererData = 0;
}
