// The World's element registry: every element by identity, kind, name and, while a scene file is read, file index.
//
// 16 buckets chained newest first. Lookups by name and by file index scan the buckets in order,
// so of two matches the one in the lower bucket wins, and within a bucket the newer one.
// Names keep at most kRegistryNameLength characters, shortened the same way when looked up.
#pragma once

#include <cstdint>

enum ElementKind : uint32_t {
  ElementMesh = 1,
  ElementMaterial = 2,
  ElementCamera = 3,
  ElementLight = 4,
  ElementTexture = 5,
  ElementView = 6,
  ElementObjectMove = 7,
  ElementMove = 8,  // camera and light tracks
  ElementOverlayQuad = 10,
  ElementGlyphSet = 11,
};

// The element's address is its identity.
using ElementId = uintptr_t;

constexpr int kRegistryBuckets = 16;
constexpr int kRegistryNameLength = 31;

struct IdElm {
  ElementId id;
  void* element;
  uint32_t kind;
  char name[kRegistryNameLength + 1];
  int32_t fileIndex;  // -1 outside the reading of a scene file
  IdElm* prev;
  IdElm* next;
};

// ((id >> 4) ^ id) & 15
uint32_t RegistryBucket(ElementId id);

class ElementRegistry {
 public:
  IdElm* buckets[kRegistryBuckets] = {};

  // Registers element under kind and name (null or empty for none); returns its id.
  ElementId Add(void* element, uint32_t kind, const char* name);
  // The first entry by bucket order named exactly name, whatever its kind; null when none.
  void* FindByName(const char* name) const;
  // As FindByName, but only entries of the kind count.
  void* FindByNameAndKind(const char* name, uint32_t kind) const;
  IdElm* Find(ElementId id) const;
  // Ignored for an id that is not registered.
  void SetFileIndex(ElementId id, int32_t index);
  void ResetFileIndices();
  // The first entry by bucket order with that file index and that kind.
  void* FindByFileIndex(uint32_t kind, int32_t index) const;
  void FreeEntries();
};
