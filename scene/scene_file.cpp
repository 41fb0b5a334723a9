// LoadScene: the .qz3 reader. The whole file is read into memory and parsed through a bounded reader,
// so no count from the file sizes an allocation before the bytes it describes are known to be there.
#include "scene/scene_file.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "core/allocate.h"
#include "core/byte_reader.h"
#include "core/error.h"
#include "core/file.h"
#include "render/renderer.h"
#include "scene/camera.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/mesh.h"
#include "scene/move.h"
#include "scene/qz3_format.h"
#include "scene/texture.h"
#include "scene/world.h"

namespace {

// Far past any scene a show holds. What a scene needs in memory is a few times its file's size, so a larger
// file is refused before it fills memory.
constexpr size_t kSceneFileMaxBytes = size_t(64) << 20;
// Elements and patches in one scene: every one looks up the registry, which grows with them, so their count
// bounds the time a load takes. A record past it is refused as unreadable.
constexpr uint32_t kSceneRecordLimit = 16384;
constexpr uint32_t kRawPixelBytes = 3;

// One whole on-disk record; false when the bytes run out.
template <class T>
bool ReadRecord(ByteReader& in, T& out) {
  const uint8_t* p = in.Bytes(sizeof(T));
  if (!p) return false;
  std::memcpy(&out, p, sizeof(T));
  return true;
}

// The next n bytes, or null when fewer are left; n may be any count a header can form.
const uint8_t* Take(ByteReader& in, uint64_t n) {
  return n > in.Remaining() ? nullptr : in.Bytes(static_cast<size_t>(n));
}

// A fixed name field need not hold its terminator.
template <size_t N>
struct FieldName {
  explicit FieldName(const char (&field)[N]) {
    std::memcpy(text, field, N);
    text[N] = '\0';
  }
  char text[N + 1];
};

// The track of an element named N is registered under "@" followed by N.
struct TrackName {
  explicit TrackName(const char* element) { std::snprintf(text, sizeof text, "@%s", element); }
  char text[kMoveNameSize];
};

template <class Key>
Key* CopyKeys(const uint8_t* bytes, uint32_t count, const char* tag) {
  Key* keys = static_cast<Key*>(Allocate(sizeof(Key) * count, tag));
  if (keys) std::memcpy(keys, bytes, sizeof(Key) * count);
  return keys;
}

// A fatal report never returns; the false keeps the caller from going on regardless.
bool Fail(const char* text) {
  ReportError(text, true);
  return false;
}

uint16_t IndexAt(const uint8_t* bytes, uint32_t i) {
  return static_cast<uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
}

// The fields the three track forms share, whatever their order in the file.
struct TrackHeader {
  char name[33];
  uint32_t frames, step, subtype;
  float fps;
};

template <class Form>
bool ReadTrackHeader(ByteReader& in, uint32_t Form::*subtype, TrackHeader& out) {
  Form h;
  if (!ReadRecord(in, h)) return false;
  std::memcpy(out.name, FieldName(h.name).text, sizeof out.name);
  out.frames = h.frames;
  out.step = h.step;
  out.fps = h.fps;
  out.subtype = h.*subtype;
  return true;
}

enum KeyForm { KeysNone, KeysObj, KeysTargCam, KeysFreeCam, KeysOmni, KeysSpot };

KeyForm FormOf(uint32_t chunkId, uint32_t subtype) {
  if (chunkId == ChunkObjectTrack) return KeysObj;
  if (chunkId == ChunkCameraTrack) return subtype == CameraTrackFree ? KeysFreeCam : KeysTargCam;
  return subtype == LightOmni ? KeysOmni : subtype == LightSpot ? KeysSpot : KeysNone;
}

uint64_t KeySize(KeyForm form) {
  static constexpr uint64_t kSizes[] = {
      0, sizeof(ObjKey), sizeof(TargCamKey), sizeof(FreeCamKey), sizeof(OmniLightKey), sizeof(SpotLightKey)};
  return kSizes[form];
}

class SceneReader {
 public:
  SceneReader(ByteReader& in, World* world) : in_(in), world_(world), registry_(world->registry) {}

  void Material();
  void Texture();
  void Camera();
  void Light();
  void MeshObject();
  void Track(uint32_t chunkId);

 private:
  bool Patch(::Patch& patch);
  template <class T>
  T* ByFileIndex(uint32_t kind, uint32_t index) const {
    return static_cast<T*>(registry_.FindByFileIndex(kind, static_cast<int32_t>(index)));
  }
  // Only a track of the element's own form: anything else registered under the track name
  // would be taken for a Move.
  ::Move* TrackOf(const char* element, uint32_t kind) const {
    return static_cast<::Move*>(registry_.FindByNameAndKind(TrackName(element).text, kind));
  }

  // Counts one more record; false past the limit.
  bool Admit() { return ++records_ <= kSceneRecordLimit; }

  ByteReader& in_;
  World* world_;
  ElementRegistry& registry_;
  uint32_t records_ = 0;
};

void SceneReader::Material() {
  Qz3Material m;
  if (!ReadRecord(in_, m) || !Admit()) return ReportError("Error reading Material", true);
  auto* material = new ::Material(FieldName(m.name).text, world_);
  if (m.textureIndex != kQz3NoIndex) {
    // A texture index that names no earlier texture leaves the material untextured, so the
    // renderer never binds a missing texture.
    if (auto* texture = ByFileIndex<::Texture>(ElementTexture, m.textureIndex)) {
      material->textures[0] = texture;
      material->stageValues[0] = 0;
      material->textureCount = 1;
    }
  }
  material->mode = m.mode;
  material->fileWord1 = m.fileWord1;
  material->ambient = m.ambient;
  material->diffuse = m.diffuse;
  material->specular = m.specular;
  material->emissive = m.emissive;
  material->fileWord2 = m.fileWord2;
  material->SetSpecularPower(m.specularLevel, m.shininess);
  registry_.SetFileIndex(material->id, static_cast<int32_t>(m.fileIndex));
}

void SceneReader::Texture() {
  Qz3Texture t;
  const uint8_t* block = nullptr;
  if (!ReadRecord(in_, t) || !Admit() || t.pixelBytes == 0 || !(block = Take(in_, t.pixelBytes))) {
    return ReportError("Error reading Texture", true);
  }
  // The renderer reads width x height pixels of raw textures from the block.
  uint64_t needed = uint64_t{t.width} * t.height * kRawPixelBytes;
  if (t.source == TextureRawPixels && t.pixelBytes < needed) return ReportError("Texture size invalid", true);
  auto* pixels = static_cast<uint8_t*>(Allocate(t.pixelBytes, "TexBits"));
  if (!pixels) return ReportError("Error reading Texture", true);
  std::memcpy(pixels, block, t.pixelBytes);
  auto* texture =
      new ::Texture(FieldName(t.name).text, t.source, t.width, t.height, t.fileWord, pixels, t.pixelBytes, world_);
  registry_.SetFileIndex(texture->id, static_cast<int32_t>(t.fileIndex));
}

void SceneReader::Camera() {
  Qz3Camera c;
  if (!ReadRecord(in_, c) || !Admit()) return ReportError("Error reading Camera", true);
  FieldName name(c.name);
  auto* camera = new ::Camera(name.text, 2.0f * c.angle, c.angle, world_);
  camera->SetPosition(c.position.x, c.position.y, c.position.z);
  camera->SetTarget(c.target.x, c.target.y, c.target.z);
  registry_.SetFileIndex(camera->id, static_cast<int32_t>(c.fileIndex));
  camera->move = TrackOf(name.text, ElementMove);
}

void SceneReader::Light() {
  Qz3Light l;
  if (!ReadRecord(in_, l) || !Admit()) return ReportError("Error reading Light", true);
  FieldName name(l.name);
  auto* light = new ::Light(name.text, l.type, world_);
  light->SetColour(l.red, l.green, l.blue);
  light->SetPosition(l.position.x, l.position.y, l.position.z);
  light->SetDirection(l.direction.x, l.direction.y, l.direction.z);
  light->SetRange(l.range);
  light->SetCone(l.innerAngle, l.outerAngle);
  registry_.SetFileIndex(light->id, static_cast<int32_t>(l.fileIndex));
  light->move = TrackOf(name.text, ElementMove);
}

void SceneReader::MeshObject() {
  Qz3MeshObject h;
  if (!ReadRecord(in_, h) || !Admit()) return ReportError("Error reading ObjectMesh", true);
  FieldName name(h.name);
  auto* mesh = new ::MeshObject(name.text, world_);
  // A place, scale or turn that is not finite (a turn: whose rotation is not) leaves the object's own: at the
  // origin, unscaled, unturned.
  if (IsFinite(h.position)) mesh->position = h.position;
  mesh->positionWord = h.positionWord;
  if (IsFinite(h.scale)) mesh->scale = h.scale;
  mesh->scaleWord = h.scaleWord;
  if (HasFiniteRotation(h.rotation)) mesh->rotation = h.rotation;
  mesh->flags |= MeshQuaternionMode;
  uint32_t count = h.patchCount;
  if (count == 0 || count > kQz3PatchLimit) ReportError("Patches Invalid", false);
  if (count == 0) {
    ReportError("Empty MeshObject", false);
    mesh->Destroy();
    delete mesh;
    return;
  }
  // Every patch starts with its record, so a count the rest of the file cannot hold is refused
  // before the patch array is sized by it.
  if (uint64_t{count} * sizeof(Qz3Patch) > in_.Remaining()) return ReportError("Error reading Patch", true);
  mesh->patches = static_cast<::Patch*>(Allocate(sizeof(::Patch) * count, "Patch"));
  if (!mesh->patches) return ReportError("Error reading Patch", true);
  std::memset(mesh->patches, 0, sizeof(::Patch) * count);
  // patchCount follows the patches made so far, so a World destroyed mid-file releases only those.
  for (uint32_t i = 0; i < count; ++i) {
    if (!Patch(mesh->patches[i])) return;
    mesh->patchCount = i + 1;
  }
  mesh->ComputeBounds();
  mesh->move = TrackOf(name.text, ElementObjectMove);
}

bool SceneReader::Patch(::Patch& patch) {
  Qz3Patch r;
  if (!ReadRecord(in_, r) || !Admit()) return Fail("Error reading Patch");
  ::Material* material = nullptr;
  if (r.materialIndex == kQz3NoIndex) {
    ReportError("No Material on Patch at export", false);
  } else {
    material = ByFileIndex<::Material>(ElementMaterial, r.materialIndex);
    if (!material) material = ByFileIndex<::Material>(ElementMaterial, 0);
  }
  uint32_t vertexSize = PatchVertexSize(r.kind);
  if (vertexSize == 0) return Fail("Patch type uknown");
  const uint8_t* vertexBlock = r.vertexCount ? Take(in_, uint64_t{r.vertexCount} * vertexSize) : nullptr;
  if (!vertexBlock) return Fail("Error reading PatchVert");
  const uint8_t* indexBlock = r.indexCount ? Take(in_, uint64_t{r.indexCount} * sizeof(uint16_t)) : nullptr;
  if (!indexBlock) return Fail("Error reading PatchIndex");
  // No index may reach past the vertex array, whichever back end draws the patch.
  for (uint32_t i = 0; i < r.indexCount; ++i) {
    if (IndexAt(indexBlock, i) >= r.vertexCount) return Fail("PatchIndex out of range");
  }
  size_t vertexBytes = size_t{r.vertexCount} * vertexSize;
  void* vertices = Allocate(vertexBytes, "PatchVert");
  if (!vertices) return Fail("Error reading PatchVert");
  auto* indices = static_cast<uint16_t*>(Allocate(size_t{r.indexCount} * sizeof(uint16_t), "PatchIndex"));
  if (!indices) {
    Release(vertices);
    return Fail("Error reading PatchIndex");
  }
  std::memcpy(vertices, vertexBlock, vertexBytes);
  for (uint32_t i = 0; i < r.indexCount; ++i) indices[i] = IndexAt(indexBlock, i);
  patch = {r.kind, material, r.vertexCount, r.indexCount, vertices, indices, {0, 0}};
  CurrentRenderer->CreatePatch(&patch);
  return true;
}

void SceneReader::Track(uint32_t chunkId) {
  TrackHeader h;
  bool read = chunkId == ChunkObjectTrack   ? ReadTrackHeader(in_, &Qz3ObjectTrack::subtype, h)
              : chunkId == ChunkCameraTrack ? ReadTrackHeader(in_, &Qz3CameraTrack::cameraType, h)
                                            : ReadTrackHeader(in_, &Qz3LightTrack::lightType, h);
  if (!read || !Admit()) return ReportError("Error reading Object Move", true);
  // No key count can be formed from a step of 0.
  if (h.step == 0) return ReportError("Move step invalid", true);
  KeyForm form = FormOf(chunkId, h.subtype);
  uint64_t keyCount = h.frames / h.step + uint64_t{1};
  const uint8_t* keyBlock = nullptr;
  if (keyCount > UINT32_MAX || (form != KeysNone && !(keyBlock = Take(in_, keyCount * KeySize(form))))) {
    return ReportError("Move File error", true);
  }
  auto* move =
      new ::Move(TrackName(h.name).text, chunkId == ChunkObjectTrack ? ElementObjectMove : ElementMove, world_);
  move->subtype = h.subtype;
  move->frames = h.frames;
  move->step = h.step;
  move->fps = h.fps;
  move->keyCount = static_cast<uint32_t>(keyCount);
  // A track of no frames, or with a frame rate that is not a positive number or so small the track would never
  // end, lasts 0 s (never less), so a scene it clocks ends at once.
  float duration = (static_cast<float>(h.frames) - 1.0f) / h.fps;
  move->duration = h.fps > 0.0f && std::isfinite(duration) && duration > 0.0f ? duration : 0.0f;
  uint32_t n = move->keyCount;
  bool copied = true;
  switch (form) {
    case KeysNone:
      break;
    case KeysObj:
      copied = (move->objKeys = CopyKeys<ObjKey>(keyBlock, n, "MovePtrObj"));
      break;
    case KeysTargCam:
      copied = (move->targCamKeys = CopyKeys<TargCamKey>(keyBlock, n, "MovePtrTargCam"));
      break;
    case KeysFreeCam:
      copied = (move->freeCamKeys = CopyKeys<FreeCamKey>(keyBlock, n, "MovePtrFreeCam"));
      break;
    case KeysOmni:
      copied = (move->omniKeys = CopyKeys<OmniLightKey>(keyBlock, n, "MovePtrOmniLight"));
      break;
    case KeysSpot:
      copied = (move->spotKeys = CopyKeys<SpotLightKey>(keyBlock, n, "MovePtrLightLight"));
      break;
  }
  if (!copied) ReportError("Move File error", true);
}

}  // namespace

void LoadScene(const char* path, World* world) {
  std::vector<uint8_t> bytes;
  if (!File_ReadAll(path, kSceneFileMaxBytes, bytes)) return ReportErrorDetail("Can't open file", path, true);
  LoadScene(path, bytes.data(), bytes.size(), world);
}

void LoadScene(const char* path, const uint8_t* bytes, size_t size, World* world) {
  ByteReader in(bytes, size);
  uint32_t magic, version;
  if (!ReadRecord(in, magic) || magic != kQz3Magic) return ReportErrorDetail("Wrong file format", path, true);
  if (!ReadRecord(in, version) || version < kQz3Version) return ReportErrorDetail("Wrong version", path, true);
  world->registry.ResetFileIndices();
  SceneReader reader(in, world);
  for (;;) {
    SceneChunk chunk;
    if (!ReadRecord(in, chunk)) return ReportErrorDetail("Unexpected end of file", path, true);
    if (chunk.id == ChunkEnd) break;
    switch (chunk.id) {
      case ChunkMaterial:
        reader.Material();
        break;
      case ChunkTexture:
        reader.Texture();
        break;
      case ChunkCamera:
        reader.Camera();
        break;
      case ChunkLight:
        reader.Light();
        break;
      case ChunkMeshObject:
        reader.MeshObject();
        break;
      case ChunkObjectTrack:
      case ChunkCameraTrack:
      case ChunkLightTrack:
        reader.Track(chunk.id);
        break;
      default:
        // A size past the end leaves the next header unreadable.
        in.Bytes(chunk.size);
        break;
    }
  }
  world->registry.ResetFileIndices();
}
