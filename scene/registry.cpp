// The World's element registry: 16 buckets of IdElm entries, newest first.
#include "scene/registry.h"

#include <cstring>

#include "core/allocate.h"

namespace {

// The one way names are shortened, at registration and at lookup alike.
void ShortenName(const char* name, char (&out)[kRegistryNameLength + 1]) {
  size_t n = name ? strnlen(name, kRegistryNameLength) : 0;
  std::memcpy(out, name ? name : "", n);
  out[n] = '\0';
}

}  // namespace

uint32_t RegistryBucket(ElementId id) { return static_cast<uint32_t>(((id >> 4) ^ id) & (kRegistryBuckets - 1)); }

ElementId ElementRegistry::Add(void* element, uint32_t kind, const char* name) {
  ElementId id = reinterpret_cast<ElementId>(element);
  IdElm* entry = static_cast<IdElm*>(Allocate(sizeof(IdElm), "IdElm"));
  if (!entry) return id;
  entry->id = id;
  entry->element = element;
  entry->kind = kind;
  ShortenName(name, entry->name);
  entry->fileIndex = -1;
  IdElm*& head = buckets[RegistryBucket(id)];
  entry->prev = nullptr;
  entry->next = head;
  if (head) head->prev = entry;
  head = entry;
  return id;
}

void* ElementRegistry::FindByName(const char* name) const {
  char wanted[kRegistryNameLength + 1];
  ShortenName(name, wanted);
  for (IdElm* head : buckets) {
    for (IdElm* e = head; e; e = e->next) {
      if (std::strcmp(e->name, wanted) == 0) return e->element;
    }
  }
  return nullptr;
}

void* ElementRegistry::FindByNameAndKind(const char* name, uint32_t kind) const {
  char wanted[kRegistryNameLength + 1];
  ShortenName(name, wanted);
  for (IdElm* head : buckets) {
    for (IdElm* e = head; e; e = e->next) {
      if (e->kind == kind && std::strcmp(e->name, wanted) == 0) return e->element;
    }
  }
  return nullptr;
}

IdElm* ElementRegistry::Find(ElementId id) const {
  for (IdElm* e = buckets[RegistryBucket(id)]; e; e = e->next) {
    if (e->id == id) return e;
  }
  return nullptr;
}

void ElementRegistry::SetFileIndex(ElementId id, int32_t index) {
  if (IdElm* e = Find(id)) e->fileIndex = index;
}

void ElementRegistry::ResetFileIndices() {
  for (IdElm* head : buckets) {
    for (IdElm* e = head; e; e = e->next) e->fileIndex = -1;
  }
}

void* ElementRegistry::FindByFileIndex(uint32_t kind, int32_t index) const {
  for (IdElm* head : buckets) {
    for (IdElm* e = head; e; e = e->next) {
      if (e->fileIndex == index && e->kind == kind) return e->element;
    }
  }
  return nullptr;
}

void ElementRegistry::FreeEntries() {
  for (IdElm*& head : buckets) {
    while (head) {
      IdElm* next = head->next;
      Release(head);
      head = next;
    }
  }
}
