// The Direct3D 7 back end's rules that need no device: texture sizes and images, pixel formats, the colour key,
// packed colours and the named-texture list.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <bit>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "render/d3d7/device_patch.h"
#include "render/d3d7/surface_rules.h"
#include "render/d3d7/texture_list.h"
#include "render/texture_image.h"
#include "scene/material.h"
#include "scene/mesh.h"
#include "tests/scene_fixture.h"
#include "tools/content/bmp_writer.h"

namespace {

constexpr PixelFormat kR5G6B5 = {32, 0x40, 0, 16, 0xF800, 0x07E0, 0x001F, 0};
constexpr PixelFormat kA1R5G5B5 = {32, 0x41, 0, 16, 0x7C00, 0x03E0, 0x001F, 0x8000};
constexpr PixelFormat kA8R8G8B8 = {32, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000};
constexpr PixelFormat kX8R8G8B8 = {32, 0x40, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0};

TEST(TextureImage, MipChainStopsWhenTheSmallerSideReachesTwo) {
  EXPECT_EQ(MipLevelCount(256, 256), 8u);
  EXPECT_EQ(MipLevelCount(256, 128), 7u);
  EXPECT_EQ(MipLevelCount(2, 64), 1u);
  EXPECT_EQ(MipLevelCount(3, 3), 2u);
}

TEST(TextureImage, RawPixelsComeBottomRowFirstAndBlueFirst) {
  // Two rows of one pixel: stored first is the image's bottom row.
  const uint8_t bgr[] = {1, 2, 3, 4, 5, 6};
  std::vector<uint8_t> rgb(6);
  RawPixelsToRgb(bgr, 1, 2, rgb.data());
  EXPECT_EQ(rgb, (std::vector<uint8_t>{6, 5, 4, 3, 2, 1}));
}

TEST(TextureImage, HalvingAveragesEachBlockTruncatedAndDropsAnOddEdge) {
  // 3 x 3: one whole block, the third column and row dropped.
  const std::vector<uint8_t> image = {1,  2,  3,  5,  6,  7,  99, 99, 99,  //
                                      2,  2,  2,  3,  3,  3,  99, 99, 99,  //
                                      99, 99, 99, 99, 99, 99, 99, 99, 99};
  std::vector<uint8_t> half(3, 0xEE);
  HalveImage(image.data(), 3, 3, half.data());
  EXPECT_EQ(half, (std::vector<uint8_t>{2, 3, 3}));  // (1+5+2+3)/4, (2+6+2+3)/4, (3+7+2+3)/4
  // A single row has no half: nothing is written.
  HalveImage(image.data(), 3, 1, half.data());
  EXPECT_EQ(half, (std::vector<uint8_t>{2, 3, 3}));
}

// The device's rules give the surface's size, and the image is stretched over all of it: a texel whose centre
// lies in a key pixel is the key, one whose centre lies in a coloured pixel shows that colour, at an edge blended
// with the key. So the image's own coordinates still address it (the Texture keeps its size) and the key's edges
// stay in place.
TEST(TextureSize, ImagesOfAnySizeAreStretchedOverTheSurfaceTheDeviceTakes) {
  struct Case {
    TextureLimits limits;
    uint32_t width, height;
    uint32_t surfaceWidth, surfaceHeight;
  };
  const Case cases[] = {
      {{TextureCapsPow2, 2048, 2048}, 100, 60, 128, 64},
      {{TextureCapsPow2 | TextureCapsSquareOnly, 2048, 2048}, 100, 60, 128, 128},
      {{0, 2048, 2048}, 100, 60, 100, 60},
      {{TextureCapsPow2, 2048, 2048}, 608, 16, 1024, 16},  // a font of 38 cells of 16 pixels
      {{TextureCapsPow2, 256, 128}, 1024, 512, 256, 128},
      {{0, 256, 256}, 300, 64, 150, 64},
  };
  constexpr uint8_t kKey[3] = {0, 0, 0};
  for (const Case& c : cases) {
    uint32_t width = c.width, height = c.height;
    FitTextureSize(c.limits, &width, &height);
    EXPECT_EQ(width, c.surfaceWidth) << c.width << " x " << c.height;
    EXPECT_EQ(height, c.surfaceHeight) << c.width << " x " << c.height;

    // Stripes across one side in turn: 3 pixels of key, then 3 of a colour of their own.
    for (int across = 0; across < 2; ++across) {
      auto stripe = [](uint32_t i) {
        const uint32_t k = i / 6;
        if (i / 3 % 2 == 0) return std::array<uint8_t, 3>{0, 0, 0};
        return std::array<uint8_t, 3>{static_cast<uint8_t>(40 + k * 37 % 200), static_cast<uint8_t>(40 + k * 53 % 200),
                                      static_cast<uint8_t>(40 + k * 71 % 200)};
      };
      std::vector<uint8_t> image;
      for (uint32_t y = 0; y < c.height; ++y) {
        for (uint32_t x = 0; x < c.width; ++x) {
          for (uint8_t v : stripe(across ? y : x)) image.push_back(v);
        }
      }
      std::vector<uint8_t> surface(size_t{width} * height * 3);
      StretchImage(image.data(), static_cast<int32_t>(c.width), static_cast<int32_t>(c.height), surface.data(),
                   static_cast<int32_t>(width), static_cast<int32_t>(height), kKey);
      const uint32_t side = across ? c.height : c.width, surfaceSide = across ? height : width;
      int wrong = 0;
      for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
          // The texel's centre lies (t + 1/2) x side / surfaceSide image pixels in (kept whole here, times
          // 2 surfaceSide); on a pixel's edge it may show either pixel.
          const uint64_t centre = (2 * uint64_t{across ? y : x} + 1) * side, pixelSize = 2 * uint64_t{surfaceSide};
          if (centre % pixelSize == 0) continue;
          const uint8_t* shown = &surface[(size_t{y} * width + x) * 3];
          const std::array<uint8_t, 3> under = stripe(static_cast<uint32_t>(centre / pixelSize));
          if (under == std::array<uint8_t, 3>{0, 0, 0}) {
            wrong += shown[0] || shown[1] || shown[2];
            continue;
          }
          // A coloured pixel's texel blends at most half of the key's black into it.
          for (int i = 0; i < 3; ++i) wrong += shown[i] > under[i] || 2 * shown[i] + 1 < under[i];
        }
      }
      EXPECT_EQ(wrong, 0) << c.width << " x " << c.height << (across ? ", stripes across" : ", upright stripes");
    }
  }
}

TEST(TextureFormat, EachKindOfTextureTakesOnlyItsFormats) {
  constexpr PixelFormat luminance = {32, 0x20000, 0, 16, 0xFF, 0, 0, 0};
  constexpr PixelFormat fourCC = {32, 0x44, 0x31545844, 16, 0xF800, 0x07E0, 0x001F, 0};
  constexpr PixelFormat palette = {32, 0x60, 0, 8, 0, 0, 0, 0};
  EXPECT_TRUE(AcceptsImageFormat(kA1R5G5B5, 16, true));
  EXPECT_FALSE(AcceptsImageFormat(kR5G6B5, 16, true));
  EXPECT_FALSE(AcceptsImageFormat(kA1R5G5B5, 16, false));
  EXPECT_FALSE(AcceptsImageFormat(kA8R8G8B8, 16, true));
  EXPECT_TRUE(AcceptsImageFormat(kA8R8G8B8, 32, true));
  EXPECT_FALSE(AcceptsImageFormat(palette, 16, false));
  EXPECT_TRUE(AcceptsMipmapFormat(kR5G6B5));
  EXPECT_FALSE(AcceptsMipmapFormat(luminance));
  EXPECT_FALSE(AcceptsMipmapFormat(fourCC));
  EXPECT_TRUE(AcceptsRenderTargetFormat(kX8R8G8B8, kX8R8G8B8));
  EXPECT_FALSE(AcceptsRenderTargetFormat(kA8R8G8B8, kX8R8G8B8));
  EXPECT_FALSE(AcceptsRenderTargetFormat(kR5G6B5, kX8R8G8B8));
  EXPECT_TRUE(AcceptsDepthFormat({32, 0x400, 0, 16, 0, 0xFFFF, 0, 0}));
  EXPECT_FALSE(AcceptsDepthFormat({32, 0x4400, 0, 32, 0, 0xFFFFFF, 0xFF000000, 0}));  // with stencil
}

TEST(ColourKey, KeyColouredPixelsClearTheirAlphaAndAllOthersSetIt) {
  struct Case {
    const char* name;
    PixelFormat format;
    bool keyWhite;
    std::vector<uint32_t> pixels, keyed;
  };
  const Case cases[] = {
      {"black, 16-bit", kA1R5G5B5, false, {0x0000, 0x8000, 0x0001, 0x7FFF}, {0x0000, 0x0000, 0x8001, 0xFFFF}},
      {"white, 16-bit", kA1R5G5B5, true, {0x7FFF, 0xFFFF, 0x7FFE, 0x0000}, {0x7FFF, 0x7FFF, 0xFFFE, 0x8000}},
      {"black, 32-bit", kA8R8G8B8, false, {0xFF000000, 0x00000100}, {0x00000000, 0xFF000100}},
      {"no alpha: no key", kR5G6B5, false, {0x0000, 0x1234}, {0x0000, 0x1234}},
  };
  for (const Case& c : cases) {
    const uint32_t bytes = c.format.rgbBitCount / 8;
    const uint32_t width = static_cast<uint32_t>(c.pixels.size());
    // Two rows, the second a copy of the first, with a padding byte after each that must stay.
    const int32_t pitch = static_cast<int32_t>(width * bytes + 1);
    std::vector<uint8_t> bits(static_cast<size_t>(pitch) * 2, 0xAB);
    for (uint32_t row = 0; row < 2; ++row) {
      for (uint32_t x = 0; x < width; ++x) std::memcpy(&bits[row * pitch + x * bytes], &c.pixels[x], bytes);
    }
    KeyColourToAlpha(bits.data(), pitch, width, 2, c.format, c.keyWhite);
    for (uint32_t row = 0; row < 2; ++row) {
      for (uint32_t x = 0; x < width; ++x) {
        uint32_t pixel = 0;
        std::memcpy(&pixel, &bits[row * pitch + x * bytes], bytes);
        EXPECT_EQ(pixel, c.keyed[x]) << c.name << ", pixel " << x;
      }
      EXPECT_EQ(bits[row * pitch + width * bytes], 0xAB) << c.name;
    }
  }
}

TEST(PackedColour, ComponentsGoUnderTheMasksFromTheTopBit) {
  EXPECT_EQ(PackColour(255, 0, 0, 255, kR5G6B5), 0xF800u);
  EXPECT_EQ(PackColour(0, 255, 0, 0, kR5G6B5), 0x07E0u);
  EXPECT_EQ(PackColour(0, 0, 0x80, 0, kR5G6B5), 0x0010u);
  EXPECT_EQ(PackColour(0x12, 0x34, 0x56, 0x78, kA8R8G8B8), 0x78123456u);
  EXPECT_EQ(PackColour(0x12, 0x34, 0x56, 0x78, kX8R8G8B8), 0x00123456u);
  EXPECT_EQ(PackColour(255, 255, 255, 255, kA1R5G5B5), 0xFFFFu);
  uint8_t rgb[3];
  UnpackColour(0xF81F, kR5G6B5, rgb);
  EXPECT_EQ((std::vector<int>{rgb[0], rgb[1], rgb[2]}), (std::vector<int>{255, 0, 255}));
  UnpackColour(0x00123456, kX8R8G8B8, rgb);
  EXPECT_EQ((std::vector<int>{rgb[0], rgb[1], rgb[2]}), (std::vector<int>{0x12, 0x34, 0x56}));
}

using DevicePatch = SceneTest;

TEST_F(DevicePatch, VerticesTakeTheDeviceLayoutWithOneCoordinatePairPerTexture) {
  auto* twoTextures = new Material("Two", &world);
  twoTextures->SetTextureCount(2);
  PatchVertexLit lit = {{1, 2, 3}, {0, 0, 1}, 0.25f, 0.75f};
  PatchVertexColoured coloured = {{4, 5, 6}, {9, 9, 9}, 0xFF112233, 0xFF445566, 0.5f, 1.5f};
  uint16_t index = 0;
  struct Case {
    Patch patch;
    uint32_t format, stride;
    std::vector<uint32_t> words;  // the device vertex, word by word
  };
  auto bits = [](float f) { return std::bit_cast<uint32_t>(f); };
  const Case cases[] = {
      {{PatchLit, twoTextures, 1, 1, &lit, &index, {}},
       0x212,
       40,
       {bits(1), bits(2), bits(3), bits(0), bits(0), bits(1), bits(0.25f), bits(0.75f), bits(0.25f), bits(0.75f)}},
      {{PatchColoured, nullptr, 1, 1, &coloured, &index, {}},
       0x1E2,
       32,
       {bits(4), bits(5), bits(6), 0, 0xFF112233, 0xFF445566, bits(0.5f), bits(1.5f)}},
  };
  for (const Case& c : cases) {
    PatchData* data = NewDevicePatch(c.patch);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->vertexFormat, c.format);
    EXPECT_EQ(data->stride, c.stride);
    EXPECT_EQ(data->indices[0], 0);
    std::vector<uint32_t> words(c.stride / 4);
    std::memcpy(words.data(), data->vertices, c.stride);
    EXPECT_EQ(words, c.words) << c.patch.kind;
    FreeDevicePatch(data);
  }
}

class TextureListTest : public testing::Test {
 protected:
  ~TextureListTest() override { ReleaseTextureList(); }

  std::string Path(const char* name) { return scratch_.Path(name); }
  std::string WriteBitmap(const char* name) {
    const std::vector<uint8_t> rgb(2 * 2 * 3, 0x40);
    return scratch_.Write(name, EncodeBmp24(2, 2, rgb.data()));
  }

 private:
  Scratch scratch_;
};

TEST_F(TextureListTest, ANameReadOnceAnswersForItselfInAnyLetterCase) {
  const std::string path = WriteBitmap("font.bmp");
  ASSERT_EQ(AddTexture(path.c_str(), 0, KeyBlack | NeedsAlpha), kTextureOk);
  unlink(path.c_str());  // a second read would fail
  std::string shouted = path;
  for (char& c : shouted) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(AddTexture(shouted.c_str(), 1, Prefer32), kTextureOk);
  TextureEntry* entry = FindTexture(shouted.c_str());
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry, TextureList);
  EXPECT_EQ(entry->next, nullptr);
  EXPECT_EQ(entry->flags, uint32_t{KeyBlack | NeedsAlpha});
  EXPECT_TRUE(entry->hasAlpha);
  EXPECT_EQ(entry->bitmap.width, 2);
  EXPECT_EQ(FindTextureSurface("other.bmp"), nullptr);
}

TEST_F(TextureListTest, OnlyBitmapFilesThatExistAreRead) {
  const std::string bitmap = WriteBitmap("image.BMP");
  const std::string jpeg = WriteBitmap("image.jpg");
  const std::string text = WriteBitmap("image.txt");
  const std::string noDot = WriteBitmap("image");
  struct Case {
    std::string name;
    int32_t result;
  };
  const Case cases[] = {
      {bitmap, kTextureOk},
      {jpeg, kTextureNotFound},
      {text, kTextureUnsupportedName},
      {noDot, kTextureUnsupportedName},
      {Path("missing.bmp"), kTextureNotFound},
  };
  for (const Case& c : cases) {
    BmpImage image;
    EXPECT_EQ(LoadTextureBitmap(c.name.c_str(), &image), c.result) << c.name;
  }
  EXPECT_EQ(AddTexture(jpeg.c_str(), 0, 0), kTextureFailed);
  EXPECT_EQ(AddTexture(std::string(kTextureNameSize, 'a').c_str(), 0, 0), kTextureInvalidArgument);
  EXPECT_EQ(TextureList, nullptr);
}

}  // namespace
