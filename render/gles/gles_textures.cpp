// The shader back end's textures: scene pixels mip-mapped, image files with their colour key, render targets,
// and the two stages they are bound on.
#include <GLES3/gl3.h>

#include "core/allocate.h"
#include "core/error.h"
#include "render/gles/gles_renderer.h"
#include "render/texture_upload.h"
#include "scene/texture.h"
#include "scene/view.h"

// A texture that can be drawn into, with a depth buffer of its own.
struct GlesRenderTarget {
  GLuint texture, framebuffer, depth;
  int32_t width, height;
};

namespace {

// What a failed copy returns, as the reference's device does.
constexpr int32_t kCopyFailed = static_cast<int32_t>(0x80004005);

GlesRenderTarget* RenderTargetOf(const Texture* texture) {
  if (!texture || texture->source != TextureRenderTarget) return nullptr;
  return reinterpret_cast<GlesRenderTarget*>(texture->rendererData);
}

// The GL texture of any kind of Texture; 0 for one that was never made.
GLuint TextureName(const Texture* texture) {
  if (!texture) return 0;
  if (const GlesRenderTarget* target = RenderTargetOf(texture)) return target->texture;
  return texture->source == TextureRenderTarget ? 0 : static_cast<GLuint>(texture->rendererData);
}

}  // namespace

// Repeating, bilinear, with the given minification filter and number of levels; bound on unit 0 until
// LoadTexture puts stage 0's texture back.
uint32_t GLESRenderer::NewTexture(int32_t minFilter, uint32_t levels) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levels - 1));
  return name;
}

// Texture coordinates are the Direct3D ones, v = 0 at the image's top, so images go to GL top row first.
void GLESRenderer::LoadTexture(Texture* texture) {
  texture->scaleU = texture->scaleV = 1.0f;
  if (texture->source == TextureRawPixels) LoadRawTexture(texture);
  if (texture->source == TextureImageFile) LoadFileTexture(texture);
  if (texture->source == TextureRenderTarget) LoadRenderTarget(texture);
  glBindTexture(GL_TEXTURE_2D, TextureName(boundTextures_[0]));
}

void GLESRenderer::LoadRawTexture(Texture* texture) {
  RawMipChain chain;
  if (!chain.Start(*texture)) return;
  GLuint name = NewTexture(filtering_ ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_NEAREST, chain.Levels());
  for (uint32_t i = 0; i < chain.Levels(); ++i) {
    int32_t width, height;
    const uint8_t* rgb = chain.NextLevel(&width, &height);
    glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(i), GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  }
  texture->rendererData = name;
}

void GLESRenderer::LoadFileTexture(Texture* texture) {
  TextureFileImage image;
  if (!ReadTextureFile(texture, &image)) return;
  GLuint name = NewTexture(GL_LINEAR, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, image.keyed ? GL_RGBA8 : GL_RGB8, image.width, image.height, 0,
               image.keyed ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, image.pixels.data());
  texture->rendererData = name;
}

// A target that cannot be made leaves the Texture without one: nothing is reported and it is not drawn.
void GLESRenderer::LoadRenderTarget(Texture* texture) {
  const int32_t width = texture->width, height = texture->height;
  if (width == 0 || height == 0) return;
  auto* target = static_cast<GlesRenderTarget*>(Allocate(sizeof(GlesRenderTarget), "RenderTarget"));
  if (!target) return;
  *target = {NewTexture(GL_LINEAR, 1), 0, 0, width, height};
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glGenRenderbuffers(1, &target->depth);
  glBindRenderbuffer(GL_RENDERBUFFER, target->depth);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
  glGenFramebuffers(1, &target->framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, target->framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target->texture, 0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, target->depth);
  const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  texture->rendererData = reinterpret_cast<uintptr_t>(target);
  if (!complete) ReleaseRenderTarget(texture);
  BindDrawTarget();
}

void GLESRenderer::ReleaseRenderTarget(Texture* texture) {
  GlesRenderTarget* target = RenderTargetOf(texture);
  if (!target) return;
  if (target == renderTarget_) {
    renderTarget_ = nullptr;
    BindDrawTarget();
    ApplyViewport();
  }
  glDeleteFramebuffers(1, &target->framebuffer);
  glDeleteRenderbuffers(1, &target->depth);
  glDeleteTextures(1, &target->texture);
  Release(target);
  texture->rendererData = 0;
}

void GLESRenderer::BindTexture(uint32_t stage, Texture* texture) {
  if (stage >= kShaderStages || boundTextures_[stage] == texture) return;
  boundTextures_[stage] = texture;
  const GLuint name = TextureName(texture);
  glActiveTexture(GL_TEXTURE0 + stage);
  glBindTexture(GL_TEXTURE_2D, name);
  glActiveTexture(GL_TEXTURE0);
  if (stage == 0) {
    state_.stage[0] = name != 0;
    state_.Changed(GroupSurface);
  }
}

void GLESRenderer::UnbindStage(uint32_t stage) {
  boundTextures_[stage] = nullptr;
  glActiveTexture(GL_TEXTURE0 + stage);
  glBindTexture(GL_TEXTURE_2D, 0);
  glActiveTexture(GL_TEXTURE0);
  if (stage == 0) {
    state_.stage[0] = 0;
    state_.Changed(GroupSurface);
  }
}

void GLESRenderer::ReleaseTexture(Texture* texture) {
  for (uint32_t stage = 0; stage < kShaderStages; ++stage) {
    if (boundTextures_[stage] == texture) UnbindStage(stage);
  }
  if (RenderTargetOf(texture)) {
    ReleaseRenderTarget(texture);
  } else if (GLuint name = TextureName(texture)) {
    glDeleteTextures(1, &name);
  }
  texture->rendererData = 0;
}

// Binds the frame buffer drawn into: a texture's rows go top first, so drawing into one turns the picture over
// (and with it the winding of its triangles), and the scissor covers the whole texture.
void GLESRenderer::BindDrawTarget() {
  glBindFramebuffer(GL_FRAMEBUFFER, renderTarget_ ? renderTarget_->framebuffer : 0);
  const float flipY = renderTarget_ ? -1.0f : 1.0f;
  if (state_.flipY != flipY) {
    state_.flipY = flipY;
    state_.Changed(GroupTransform);
  }
  glFrontFace(renderTarget_ ? GL_CW : GL_CCW);
  if (renderTarget_) {
    glScissor(0, 0, renderTarget_->width, renderTarget_->height);
  } else {
    glScissor(picture_.x, drawableHeight_ - picture_.y - picture_.height, picture_.width, picture_.height);
  }
}

void GLESRenderer::SetRenderTarget(Texture* texture, View* view) {
  GlesRenderTarget* target = RenderTargetOf(texture);
  if (texture && !target) {
    ReportError("Error: SetRenderTarget() failed!", false);
    return;
  }
  renderTarget_ = target;
  BindDrawTarget();
  if (!view || !view->viewport) return;
  const ViewportData& viewport = *view->viewport;
  if (target && (uint64_t{viewport.x} + viewport.width > static_cast<uint64_t>(target->width) ||
                 uint64_t{viewport.y} + viewport.height > static_cast<uint64_t>(target->height))) {
    ReportError("Error: Couldn't set current viewport to device", false);
    return;
  }
  viewport_ = viewport;
  ApplyViewport();
}

// A rectangle of the picture (scaled into the drawable like the picture) onto the texture's top-left corner.
int32_t GLESRenderer::CopyToTexture(Texture* texture, int32_t x, int32_t y, int32_t width, int32_t height) {
  const uint16_t left = static_cast<uint16_t>(x), top = static_cast<uint16_t>(y);
  const uint16_t w = static_cast<uint16_t>(width), h = static_cast<uint16_t>(height);
  const GLuint name = TextureName(texture);
  if (name == 0 || w > texture->width || h > texture->height) return kCopyFailed;
  if (w == 0 || h == 0) return 0;
  const PixelRect source = ViewportInPicture(picture_, pictureWidth_, pictureHeight_, {left, top, w, h, 0.0f, 1.0f});
  const GLint bottom = drawableHeight_ - source.y - source.height;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, copyFramebuffer_);
  glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, name, 0);
  glDisable(GL_SCISSOR_TEST);
  glBlitFramebuffer(source.x, bottom, source.x + source.width, bottom + source.height, 0, h, w, 0, GL_COLOR_BUFFER_BIT,
                    GL_LINEAR);
  glEnable(GL_SCISSOR_TEST);
  glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
  BindDrawTarget();
  return 0;
}
