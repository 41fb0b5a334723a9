// Writes .qz3 scene files chunk by chunk, for the content builder and for test fixtures.
//
// Records are written exactly as given, counts included, so a fixture can describe a file that
// lies about what follows; the record makers below fill the counts from the data they are given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "scene/mesh.h"
#include "scene/move.h"
#include "scene/qz3_format.h"

// A patch's record with the bytes of its vertices and its indices.
struct Qz3PatchData {
  Qz3Patch record;
  std::vector<uint8_t> vertices;
  std::vector<uint16_t> indices;
};

class Qz3Writer {
 public:
  explicit Qz3Writer(uint32_t version = kQz3Version, uint32_t magic = kQz3Magic);

  void Material(const Qz3Material& material);
  void Texture(const Qz3Texture& texture, const std::vector<uint8_t>& pixels);
  void Camera(const Qz3Camera& camera);
  void Light(const Qz3Light& light);
  void MeshObject(const Qz3MeshObject& mesh, const std::vector<Qz3PatchData>& patches);
  void ObjectTrack(const Qz3ObjectTrack& track, const std::vector<ObjKey>& keys);
  void CameraTrack(const Qz3CameraTrack& track, const std::vector<TargCamKey>& keys);
  void CameraTrack(const Qz3CameraTrack& track, const std::vector<FreeCamKey>& keys);
  void LightTrack(const Qz3LightTrack& track, const std::vector<OmniLightKey>& keys);
  void LightTrack(const Qz3LightTrack& track, const std::vector<SpotLightKey>& keys);
  void LightTrack(const Qz3LightTrack& track);
  // Any chunk: its header with the body's size, then the body.
  void Chunk(uint32_t id, const void* body, size_t size);
  void End();
  // Bytes outside any chunk.
  void Raw(const void* data, size_t size);

  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  bool Save(const char* path) const;

 private:
  template <class T>
  void Append(const T& record) {
    Raw(&record, sizeof record);
  }
  template <class T>
  void AppendAll(const std::vector<T>& records) {
    Raw(records.data(), records.size() * sizeof(T));
  }
  // Writes a chunk header whose size is filled in by EndChunk.
  size_t BeginChunk(uint32_t id);
  void EndChunk(size_t header);
  // A track chunk of any form: its header, then its keys.
  template <class Header, class Key>
  void TrackChunk(uint32_t id, const Header& track, const std::vector<Key>& keys) {
    size_t header = BeginChunk(id);
    Append(track);
    AppendAll(keys);
    EndChunk(header);
  }

  std::vector<uint8_t> bytes_;
};

// Copies up to N bytes of text; a text of N bytes or more leaves the field without terminator.
template <size_t N>
void SetName(char (&field)[N], const char* text) {
  std::memset(field, 0, N);
  std::memcpy(field, text, strnlen(text, N));
}

// Record makers: the name and the given values, zeros elsewhere.
Qz3Material MaterialRecord(const char* name, uint32_t fileIndex, uint32_t textureIndex = kQz3NoIndex);
// Source 3 with a pixel block of width x height x 3 bytes.
Qz3Texture TextureRecord(const char* name, uint32_t fileIndex, uint16_t width, uint16_t height);
Qz3Camera CameraRecord(const char* name, uint32_t fileIndex, float angle, Vec3 position, Vec3 target);
Qz3Light LightRecord(const char* name, uint32_t fileIndex, uint32_t type);
// Position 0, scale 1, identity rotation.
Qz3MeshObject MeshRecord(const char* name, uint32_t patchCount);
Qz3ObjectTrack ObjectTrackRecord(const char* name, uint32_t frames, uint32_t step, float fps);
Qz3CameraTrack CameraTrackRecord(const char* name, uint32_t cameraType, uint32_t frames, uint32_t step, float fps);
Qz3LightTrack LightTrackRecord(const char* name, uint32_t lightType, uint32_t frames, uint32_t step, float fps);
Qz3PatchData LitPatch(uint32_t materialIndex, const std::vector<PatchVertexLit>& vertices,
                      const std::vector<uint16_t>& indices);
Qz3PatchData ColouredPatch(uint32_t materialIndex, const std::vector<PatchVertexColoured>& vertices,
                           const std::vector<uint16_t>& indices);
