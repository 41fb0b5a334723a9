// Texture images as the back ends prepare them: RGB rows top first, mip levels, the black colour key.
#pragma once

#include <cstddef>
#include <cstdint>

// Levels of a mip chain: one more for each halving of the smaller side while it is above 2
// (256 x 256 gets 8 levels, down to 2 x 2), as the Direct3D 7 texture manager builds it.
uint32_t MipLevelCount(int32_t width, int32_t height);

// The side of a surface that needs powers of two for an image side: the power of two not below it (a side above
// the largest is kept).
uint32_t PowerOfTwoNotBelow(uint32_t side);

// A scene texture's pixels (blue first, stored bottom row first like a bitmap) as RGB rows top first.
void RawPixelsToRgb(const uint8_t* bgr, int32_t width, int32_t height, uint8_t* rgb);

// The image of 3-byte pixels resampled onto outWidth x outHeight pixels, each bilinearly at its centre, edges
// held, as drawing samples an image. With a key colour (3 bytes, or null), a pixel less than half covered by the
// image's other pixels becomes exactly the key, so the key's edges stay where the image has them.
void StretchImage(const uint8_t* pixels, int32_t width, int32_t height, uint8_t* out, int32_t outWidth,
                  int32_t outHeight, const uint8_t* key);

// Each pixel of the half-size image is the average of a 2 x 2 block, truncated; an odd last
// row or column is dropped.
void HalveImage(const uint8_t* rgb, int32_t width, int32_t height, uint8_t* half);

// RGB to RGBA: pure black pixels transparent, every other pixel opaque.
void KeyBlackToAlpha(const uint8_t* rgb, size_t pixels, uint8_t* rgba);
