// The image reader on every kind of bitmap and on damaged ones, and the one rule for which image names load.
#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "render/bmp_file.h"
#include "tests/support.h"
#include "tools/content/bmp_writer.h"

namespace {

// 5 x 3, with colours that 5- and 6-bit fields hold exactly. White comes first: run-length files skip it.
BmpPicture FewColours() {
  const uint8_t k[3] = {0, 0, 0}, w[3] = {255, 255, 255}, r[3] = {255, 0, 0}, a[3] = {8, 49, 206},
                b[3] = {239, 247, 16};
  const uint8_t* pixels[] = {w, r, r, r, k,   // stored last: a delta, a run, the end of the bitmap
                             a, b, k, w, a,   // a literal stretch, a delta
                             w, k, k, b, w};  // stored first: a delta, a run, the end of the line skipping the rest
  BmpPicture picture{5, 3, {}};
  for (const uint8_t* p : pixels) picture.rgb.insert(picture.rgb.end(), p, p + 3);
  return picture;
}

BmpPicture TwoColours() {
  BmpPicture picture{5, 3, {}};
  for (int i = 0; i < 15; ++i) picture.rgb.insert(picture.rgb.end(), {0, static_cast<uint8_t>(i % 3 ? 49 : 0), 206});
  return picture;
}

std::vector<uint8_t> Patched(std::vector<uint8_t> file, size_t at, std::initializer_list<uint8_t> bytes) {
  for (uint8_t b : bytes) file.at(at++) = b;
  return file;
}

std::vector<uint8_t> Cut(std::vector<uint8_t> file, size_t bytes) {
  file.resize(file.size() - bytes);
  return file;
}

TEST(BmpFile, EveryKindReadsBackAsThePictureTopRowFirst) {
  const BmpKind kinds[] = {BmpKind::Core24,         BmpKind::Core8,      BmpKind::Info4,
                           BmpKind::Info8,          BmpKind::Info16_555, BmpKind::Info16_565Bitfields,
                           BmpKind::Info24,         BmpKind::Info32,     BmpKind::Info32Bitfields,
                           BmpKind::Rle8,           BmpKind::Rle4,       BmpKind::V4_24,
                           BmpKind::V5_32Bitfields, BmpKind::TopDown24};
  auto expectSame = [](const BmpPicture& picture, const std::vector<uint8_t>& file, int what) {
    BmpImage image;
    ASSERT_TRUE(DecodeBmp(file.data(), file.size(), &image)) << what;
    EXPECT_EQ(image.width, picture.width);
    EXPECT_EQ(image.height, picture.height);
    EXPECT_EQ(image.rgb, picture.rgb) << what;
  };
  for (BmpKind kind : kinds) expectSame(FewColours(), BuildBmp(FewColours(), kind), static_cast<int>(kind));
  expectSame(TwoColours(), BuildBmp(TwoColours(), BmpKind::Info1), static_cast<int>(BmpKind::Info1));
  // A 52-byte header holds inside it the masks that follow a 40-byte one.
  expectSame(FewColours(), Patched(BuildBmp(FewColours(), BmpKind::Info16_565Bitfields), 14, {52}), 52);

  // An index past a short palette reads black.
  const uint8_t indices[] = {1, 0, 7};
  std::vector<uint8_t> file = EncodeBmp8(3, 1, indices, {{1, 2, 3}, {4, 5, 6}});
  BmpImage image;
  ASSERT_TRUE(DecodeBmp(file.data(), file.size(), &image));
  EXPECT_EQ(image.rgb, (std::vector<uint8_t>{4, 5, 6, 1, 2, 3, 0, 0, 0}));
}

TEST(BmpFile, DamagedOrUnsupportedFilesAreRefusedAndLeaveNoImage) {
  const BmpPicture picture = FewColours();
  const std::vector<uint8_t> rgb = BuildBmp(picture, BmpKind::Info24);
  const std::vector<uint8_t> pal = BuildBmp(picture, BmpKind::Info8);
  const std::vector<uint8_t> rle = BuildBmp(picture, BmpKind::Rle8);
  const std::vector<uint8_t> fields = BuildBmp(picture, BmpKind::Info16_565Bitfields);
  // Offsets: 10 pixels, 14 header size, 18 width, 22 height, 26 planes, 28 bits, 30 compression, 46 colours,
  // 54 the masks after a 40-byte header. The runs start at 74, after five colours: a delta of 1 to the right.
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
  };
  const Case cases[] = {
      {"empty", {}},
      {"last row cut short", Cut(rgb, 1)},
      {"palette cut short", std::vector<uint8_t>(pal.begin(), pal.begin() + 60)},
      {"no mark", Patched(rgb, 0, {'P', 'K'})},
      {"pixels past the end", Patched(rgb, 10, {0xF0, 0xFF, 0xFF, 0x7F})},
      {"unknown header size", Patched(rgb, 14, {64})},
      {"two planes", Patched(rgb, 26, {2})},
      {"JPEG", Patched(rgb, 30, {4})},
      {"PNG", Patched(rgb, 30, {5})},
      {"24-bit bit fields", Patched(rgb, 30, {3})},
      {"run-length 24-bit", Patched(rgb, 30, {1})},
      {"no width", Patched(rgb, 18, {0, 0, 0, 0})},
      {"negative width", Patched(rgb, 18, {0xFB, 0xFF, 0xFF, 0xFF})},
      {"65536 wide", Patched(rgb, 18, {0, 0, 1, 0})},
      {"no rows", Patched(rgb, 22, {0, 0, 0, 0})},
      {"most negative height", Patched(rgb, 22, {0, 0, 0, 0x80})},
      {"257 colours", Patched(pal, 46, {1, 1})},
      {"runs top-down", Patched(rle, 22, {0xFD, 0xFF, 0xFF, 0xFF})},
      {"a run past the line", Patched(rle, 74, {6, 2})},
      {"a delta past the line", Patched(rle, 76, {6})},
      {"a delta past the top", Patched(rle, 77, {3})},
      {"no end of bitmap", Cut(rle, 2)},
      {"an empty mask", Patched(fields, 54, {0, 0})},
      {"overlapping masks", Patched(fields, 58, {0x00, 0xF8})},
      {"a mask past 16 bits", Patched(fields, 62, {0x1F, 0, 1})},
      {"a mask with a hole", Patched(fields, 62, {0x1D})},
  };
  for (const Case& c : cases) {
    BmpImage image;
    EXPECT_FALSE(DecodeBmp(c.file.data(), c.file.size(), &image)) << c.what;
    EXPECT_TRUE(image.rgb.empty() && image.width == 0) << c.what;
  }
}

// A name loads when what follows its last "." is "bmp" in any letter case and its file is a bitmap; otherwise
// the show stops with the name.
TEST(ImageName, OnlyBitmapNamesOfBitmapFilesLoadOnEveryPlatform) {
  ScopedFakePlatform sys;
  const std::vector<uint8_t> bitmap = BuildBmp(FewColours(), BmpKind::Core8);
  const Scratch dir;
  struct Case {
    const char* name;
    bool loads;
  };
  const Case cases[] = {{"A.BMP", true},  {"b.Bmp", true},  {"c.png.bmp", true},  {"d.jpg", false},
                        {"e.png", false}, {"noext", false}, {"f.bmp.png", false}, {"g.bmpx", false}};
  for (const Case& c : cases) {
    const std::string path = dir.Write(c.name, bitmap);
    BmpImage image;
    sys->boxes.clear();
    bool loaded = false;
    EXPECT_EQ(ExitOf([&] { loaded = LoadTextureImage(path.c_str(), &image); }).value_or(-1), -1);
    EXPECT_EQ(loaded, c.loads) << c.name;
    EXPECT_EQ(image.width, c.loads ? 5 : 0) << c.name;
    if (!c.loads) {
      ASSERT_EQ(sys->boxes.size(), 1u) << c.name;
      EXPECT_EQ(sys->boxes[0].text, "Texture BMP File not found (" + path + ")");
    }
  }
  // A bitmap name whose file is missing or damaged stops the show the same way.
  for (const std::string& path : {dir.Write("damaged.bmp", Cut(bitmap, 1)), dir.Path("missing.bmp")}) {
    BmpImage image;
    EXPECT_THROW(LoadTextureImage(path.c_str(), &image), FakeExit);
    EXPECT_EQ(sys->boxes.back().text, "Texture BMP File not found (" + path + ")");
  }
}

}  // namespace
