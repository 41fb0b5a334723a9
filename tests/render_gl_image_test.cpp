// The back ends' pure pieces: the letterbox and the bitmap reader.
#include <gtest/gtest.h>

#include <vector>

#include "render/bmp_file.h"
#include "render/letterbox.h"
#include "tools/content/bmp_writer.h"

namespace {

void ExpectRect(PixelRect r, int32_t x, int32_t y, int32_t width, int32_t height) {
  EXPECT_EQ(r.x, x);
  EXPECT_EQ(r.y, y);
  EXPECT_EQ(r.width, width);
  EXPECT_EQ(r.height, height);
}

TEST(Letterbox, KeepsFourThirdsCentredWithBars) {
  ExpectRect(Letterbox(800, 600, 800, 600), 0, 0, 800, 600);
  ExpectRect(Letterbox(1280, 720, 800, 600), 160, 0, 960, 720);     // bars left and right
  ExpectRect(Letterbox(1024, 1280, 800, 600), 0, 256, 1024, 768);   // bars above and below
  ExpectRect(Letterbox(3840, 2160, 800, 600), 480, 0, 2880, 2160);  // a high-DPI drawable
  ExpectRect(Letterbox(0, 0, 800, 600), 0, 0, 0, 0);
}

std::vector<uint8_t> Gradient(int32_t width, int32_t height) {
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 7);
  return rgb;
}

TEST(BmpFile, TwentyFourBitImagesReadBackTopRowFirstWhateverTheRowPadding) {
  for (int32_t width : {1, 2, 3, 4, 5}) {
    std::vector<uint8_t> rgb = Gradient(width, 3);
    std::vector<uint8_t> file = EncodeBmp24(width, 3, rgb.data());
    BmpImage image;
    ASSERT_TRUE(DecodeBmp(file.data(), file.size(), &image)) << width;
    EXPECT_EQ(image.width, width);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(image.rgb, rgb) << width;
  }
}

TEST(BmpFile, EightBitImagesGoThroughTheirPaletteAndPastItsEndToBlack) {
  const std::vector<BmpColour> palette = {{10, 20, 30}, {200, 100, 50}};
  const uint8_t indices[] = {0, 1, 200, 1, 0, 0};  // 3 x 2, top row first
  std::vector<uint8_t> file = EncodeBmp8(3, 2, indices, palette);
  BmpImage image;
  ASSERT_TRUE(DecodeBmp(file.data(), file.size(), &image));
  const std::vector<uint8_t> expected = {10, 20, 30, 200, 100, 50, 0, 0, 0, 200, 100, 50, 10, 20, 30, 10, 20, 30};
  EXPECT_EQ(image.rgb, expected);
}

TEST(BmpFile, TopDownRowsAreReadInTheirOrder) {
  std::vector<uint8_t> rgb = Gradient(2, 2);
  std::vector<uint8_t> file = EncodeBmp24(2, 2, rgb.data());
  // Negative height: the stored rows, bottom row first, now read as the top row first.
  file[22] = 0xFE;
  file[23] = file[24] = file[25] = 0xFF;
  BmpImage image;
  ASSERT_TRUE(DecodeBmp(file.data(), file.size(), &image));
  EXPECT_EQ(std::vector<uint8_t>(image.rgb.begin(), image.rgb.begin() + 6),
            std::vector<uint8_t>(rgb.begin() + 6, rgb.end()));
}

TEST(BmpFile, RefusesWhatItCannotReadSafely) {
  std::vector<uint8_t> rgb = Gradient(4, 4);
  const std::vector<uint8_t> good = EncodeBmp24(4, 4, rgb.data());
  BmpImage image;
  auto refused = [&image](std::vector<uint8_t> file) { return !DecodeBmp(file.data(), file.size(), &image); };
  auto patched = [&good](size_t at, std::initializer_list<uint8_t> bytes) {
    std::vector<uint8_t> file = good;
    size_t i = at;
    for (uint8_t b : bytes) file[i++] = b;
    return file;
  };
  EXPECT_TRUE(refused({}));
  EXPECT_TRUE(refused(std::vector<uint8_t>(good.begin(), good.end() - 1)));  // last row cut short
  EXPECT_TRUE(refused(std::vector<uint8_t>(good.begin(), good.begin() + 30)));
  EXPECT_TRUE(refused(patched(0, {'P', 'K'})));
  EXPECT_TRUE(refused(patched(14, {12, 0, 0, 0})));             // the old core header
  EXPECT_TRUE(refused(patched(10, {0xF0, 0xFF, 0xFF, 0x7F})));  // pixels past the end
  EXPECT_TRUE(refused(patched(18, {0x00, 0x00, 0x01, 0x00})));  // 65536 wide
  EXPECT_TRUE(refused(patched(22, {0x00, 0x00, 0x00, 0x80})));  // most negative height
  EXPECT_TRUE(refused(patched(22, {0, 0, 0, 0})));              // no rows
  EXPECT_TRUE(refused(patched(28, {16, 0})));                   // 16-bit
  EXPECT_TRUE(refused(patched(30, {1, 0, 0, 0})));              // run-length coded
  EXPECT_TRUE(image.rgb.empty());

  const std::vector<BmpColour> palette(2, BmpColour{1, 2, 3});
  const uint8_t indices[] = {0, 1, 1, 0};
  std::vector<uint8_t> eight = EncodeBmp8(2, 2, indices, palette);
  eight[46] = 0x01;  // 257 palette entries
  eight[47] = 0x01;
  EXPECT_TRUE(refused(eight));
}

}  // namespace
