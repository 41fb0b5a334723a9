// The decoder's reference checks in WebAssembly under Node.js: the reference decodes are those a native run of the
// music suite saved, found by the stream's CRC-32 in the folder named by the first argument.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/music_reference.h"
#include "tests/music_support.h"

namespace {

std::string g_savedReferences;

}  // namespace

std::vector<int16_t> ReferenceDecode(const std::string& mp3Path, long* rate) {
  std::ifstream stream(mp3Path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  std::ifstream saved(SavedReferencePath(g_savedReferences, bytes), std::ios::binary);
  uint32_t savedRate = 0;
  std::vector<int16_t> pcm;
  if (!saved.read(reinterpret_cast<char*>(&savedRate), sizeof savedRate)) {
    ADD_FAILURE() << "no saved reference decode of " << mp3Path << " in " << g_savedReferences;
    return pcm;
  }
  *rate = long(savedRate);
  for (int16_t sample; saved.read(reinterpret_cast<char*>(&sample), sizeof sample);) pcm.push_back(sample);
  return pcm;
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fputs("usage: node music_wasm_tests.js [gtest options] SAVED_REFERENCES_DIR\n", stderr);
    return 2;
  }
  g_savedReferences = argv[1];
  return RUN_ALL_TESTS();
}
