// The OpenGL back end's textures: scene pixels as mip-mapped textures, image files with their colour key.
#include "render/gl/gl_api.h"
#include "render/gl/gl_renderer.h"
#include "render/texture_upload.h"
#include "scene/texture.h"

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
  RawMipChain chain;
  if (!chain.Start(*texture)) return;
  GLuint name = NewBoundTexture(filtering_ ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_NEAREST, chain.Levels());
  for (uint32_t i = 0; i < chain.Levels(); ++i) {
    int32_t width, height;
    const uint8_t* rgb = chain.NextLevel(&width, &height);
    gl_.TexImage2D(GL_TEXTURE_2D, static_cast<GLint>(i), GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  }
  texture->rendererData = name;
}

void GLRenderer::LoadFileTexture(Texture* texture) {
  TextureFileImage image;
  if (!ReadTextureFile(texture, &image)) return;
  GLuint name = NewBoundTexture(GL_LINEAR, 1);
  const GLenum format = image.keyed ? GL_RGBA : GL_RGB;
  gl_.TexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image.width, image.height, 0, format, GL_UNSIGNED_BYTE,
                 image.pixels.data());
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
