// Writes .qz3 scene files chunk by chunk, for the content builder and for test fixtures.
#include "tools/content/qz3_writer.h"

#include <cstring>

#include "tools/content/file_writer.h"

Qz3Writer::Qz3Writer(uint32_t version, uint32_t magic) { Append(Qz3Header{magic, version}); }

void Qz3Writer::Raw(const void* data, size_t size) {
  if (size == 0) return;
  size_t at = bytes_.size();
  bytes_.resize(at + size);
  std::memcpy(bytes_.data() + at, data, size);
}

size_t Qz3Writer::BeginChunk(uint32_t id) {
  size_t header = bytes_.size();
  Append(SceneChunk{id, 0});
  return header;
}

void Qz3Writer::EndChunk(size_t header) {
  auto size = static_cast<uint32_t>(bytes_.size() - header - sizeof(SceneChunk));
  std::memcpy(bytes_.data() + header + offsetof(SceneChunk, size), &size, sizeof size);
}

void Qz3Writer::Chunk(uint32_t id, const void* body, size_t size) {
  size_t header = BeginChunk(id);
  Raw(body, size);
  EndChunk(header);
}

void Qz3Writer::Material(const Qz3Material& material) { Chunk(ChunkMaterial, &material, sizeof material); }

void Qz3Writer::Texture(const Qz3Texture& texture, const std::vector<uint8_t>& pixels) {
  size_t header = BeginChunk(ChunkTexture);
  Append(texture);
  AppendAll(pixels);
  EndChunk(header);
}

void Qz3Writer::Camera(const Qz3Camera& camera) { Chunk(ChunkCamera, &camera, sizeof camera); }

void Qz3Writer::Light(const Qz3Light& light) { Chunk(ChunkLight, &light, sizeof light); }

void Qz3Writer::MeshObject(const Qz3MeshObject& mesh, const std::vector<Qz3PatchData>& patches) {
  size_t header = BeginChunk(ChunkMeshObject);
  Append(mesh);
  for (const Qz3PatchData& patch : patches) {
    Append(patch.record);
    AppendAll(patch.vertices);
    AppendAll(patch.indices);
  }
  EndChunk(header);
}

void Qz3Writer::ObjectTrack(const Qz3ObjectTrack& track, const std::vector<ObjKey>& keys) {
  TrackChunk(ChunkObjectTrack, track, keys);
}

void Qz3Writer::CameraTrack(const Qz3CameraTrack& track, const std::vector<TargCamKey>& keys) {
  TrackChunk(ChunkCameraTrack, track, keys);
}

void Qz3Writer::CameraTrack(const Qz3CameraTrack& track, const std::vector<FreeCamKey>& keys) {
  TrackChunk(ChunkCameraTrack, track, keys);
}

void Qz3Writer::LightTrack(const Qz3LightTrack& track, const std::vector<OmniLightKey>& keys) {
  TrackChunk(ChunkLightTrack, track, keys);
}

void Qz3Writer::LightTrack(const Qz3LightTrack& track, const std::vector<SpotLightKey>& keys) {
  TrackChunk(ChunkLightTrack, track, keys);
}

void Qz3Writer::LightTrack(const Qz3LightTrack& track) { Chunk(ChunkLightTrack, &track, sizeof track); }

void Qz3Writer::End() { Append(SceneChunk{ChunkEnd, 0}); }

bool Qz3Writer::Save(const char* path) const { return WriteBytesFile(path, bytes_); }

Qz3Material MaterialRecord(const char* name, uint32_t fileIndex, uint32_t textureIndex) {
  Qz3Material m = {};
  SetName(m.name, name);
  m.fileIndex = fileIndex;
  m.textureIndex = textureIndex;
  return m;
}

Qz3Texture TextureRecord(const char* name, uint32_t fileIndex, uint16_t width, uint16_t height) {
  Qz3Texture t = {};
  SetName(t.name, name);
  t.fileIndex = fileIndex;
  t.source = 3;
  t.width = width;
  t.height = height;
  t.pixelBytes = uint32_t{width} * height * 3;
  return t;
}

Qz3Camera CameraRecord(const char* name, uint32_t fileIndex, float angle, Vec3 position, Vec3 target) {
  Qz3Camera c = {};
  SetName(c.name, name);
  c.fileIndex = fileIndex;
  c.angle = angle;
  c.position = position;
  c.target = target;
  return c;
}

Qz3Light LightRecord(const char* name, uint32_t fileIndex, uint32_t type) {
  Qz3Light l = {};
  SetName(l.name, name);
  l.fileIndex = fileIndex;
  l.type = type;
  l.direction = {0, 0, 1};
  return l;
}

Qz3MeshObject MeshRecord(const char* name, uint32_t patchCount) {
  Qz3MeshObject m = {};
  SetName(m.name, name);
  m.scale = {1, 1, 1};
  m.rotation = {1, 0, 0, 0};
  m.patchCount = patchCount;
  return m;
}

// The three track forms share these fields, each at its own offset.
template <class Track>
static Track TrackRecord(const char* name, uint32_t frames, uint32_t step, float fps) {
  Track t = {};
  SetName(t.name, name);
  t.frames = frames;
  t.step = step;
  t.fps = fps;
  return t;
}

Qz3ObjectTrack ObjectTrackRecord(const char* name, uint32_t frames, uint32_t step, float fps) {
  return TrackRecord<Qz3ObjectTrack>(name, frames, step, fps);
}

Qz3CameraTrack CameraTrackRecord(const char* name, uint32_t cameraType, uint32_t frames, uint32_t step, float fps) {
  Qz3CameraTrack t = TrackRecord<Qz3CameraTrack>(name, frames, step, fps);
  t.cameraType = cameraType;
  return t;
}

Qz3LightTrack LightTrackRecord(const char* name, uint32_t lightType, uint32_t frames, uint32_t step, float fps) {
  Qz3LightTrack t = TrackRecord<Qz3LightTrack>(name, frames, step, fps);
  t.lightType = lightType;
  return t;
}

template <class Vertex>
static Qz3PatchData MakePatch(uint32_t kind, uint32_t materialIndex, const std::vector<Vertex>& vertices,
                              const std::vector<uint16_t>& indices) {
  Qz3PatchData p;
  p.record = {kind, materialIndex, static_cast<uint32_t>(vertices.size()), static_cast<uint32_t>(indices.size())};
  p.vertices.resize(vertices.size() * sizeof(Vertex));
  if (!vertices.empty()) std::memcpy(p.vertices.data(), vertices.data(), p.vertices.size());
  p.indices = indices;
  return p;
}

Qz3PatchData LitPatch(uint32_t materialIndex, const std::vector<PatchVertexLit>& vertices,
                      const std::vector<uint16_t>& indices) {
  return MakePatch(PatchLit, materialIndex, vertices, indices);
}

Qz3PatchData ColouredPatch(uint32_t materialIndex, const std::vector<PatchVertexColoured>& vertices,
                           const std::vector<uint16_t>& indices) {
  return MakePatch(PatchColoured, materialIndex, vertices, indices);
}
