// The table of the system GL library's entry points.
#include "render/gl/gl_api.h"

const GlApi& SystemGl() {
#define QZ2_GL_SYSTEM(ret, name, ...) gl##name,
  static const GlApi api = {QZ2_GL_ENTRY_POINTS(QZ2_GL_SYSTEM)};
#undef QZ2_GL_SYSTEM
  return api;
}
