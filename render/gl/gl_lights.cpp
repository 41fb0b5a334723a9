// The OpenGL back end's lights: eight slots of the CPU lighting rig, as the Direct3D 7 back end fills its device's.
#include "render/gl/gl_renderer.h"

void GLRenderer::CreateLight(Light* light) { lights_.Create(light, "OGLLight"); }

void GLRenderer::UpdateLight(Light* light) { lights_.Update(*light); }

void GLRenderer::ReleaseLight(Light* light) { lights_.Release(light); }
