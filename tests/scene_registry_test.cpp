// The element registry: buckets, lookup order, kinds, file indices and long names.
#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "scene/registry.h"

namespace {

void* Address(uintptr_t address) { return reinterpret_cast<void*>(address); }

class Registry : public testing::Test {
 protected:
  ~Registry() override { registry.FreeEntries(); }
  ElementRegistry registry;
};

// The bucket folds an address's second nibble into its first: 0x10 goes to bucket 1, 0x11 to bucket 0.
TEST_F(Registry, SameNameFindsTheLowerBucketThenTheNewerEntry) {
  EXPECT_EQ(RegistryBucket(0x25), 7u);
  registry.Add(Address(0x10), ElementMesh, "twin");   // bucket 1
  registry.Add(Address(0x11), ElementLight, "twin");  // bucket 0
  EXPECT_EQ(registry.FindByName("twin"), Address(0x11));
  registry.Add(Address(0x22), ElementCamera, "pair");  // bucket 0
  registry.Add(Address(0x33), ElementCamera, "pair");  // bucket 0, newer
  EXPECT_EQ(registry.FindByName("pair"), Address(0x33));
  EXPECT_EQ(registry.FindByName("Pair"), nullptr) << "names are case-sensitive";
}

TEST_F(Registry, FileIndexLookupComparesKinds) {
  ElementId texture = registry.Add(Address(0x40), ElementTexture, "tex");
  ElementId material = registry.Add(Address(0x50), ElementMaterial, "mat");
  registry.SetFileIndex(texture, 7);
  EXPECT_EQ(registry.FindByFileIndex(ElementMaterial, 7), nullptr);
  EXPECT_EQ(registry.FindByFileIndex(ElementTexture, 7), Address(0x40));
  registry.SetFileIndex(material, 7);
  EXPECT_EQ(registry.FindByFileIndex(ElementMaterial, 7), Address(0x50));
}

TEST_F(Registry, LongNamesAreShortenedAlikeAtRegistrationAndLookup) {
  const char* longName = "@A_mesh_name_that_runs_to_thirty_nine_c";  // 39 characters
  ElementId id = registry.Add(Address(0x60), ElementObjectMove, longName);
  EXPECT_EQ(std::string(registry.Find(id)->name), std::string(longName, kRegistryNameLength));
  EXPECT_EQ(registry.FindByName(longName), Address(0x60));
  EXPECT_EQ(registry.FindByName("@A_mesh_name_that_runs_to_thirty_other"), Address(0x60))
      << "only the first 31 characters count";
  registry.Add(Address(0x70), ElementView, nullptr);
  EXPECT_EQ(registry.FindByName(""), Address(0x70));
}

}  // namespace
