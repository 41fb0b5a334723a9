// Texture images as the GL back ends upload them: a scene texture's mip chain, an image file with its colour key.
#pragma once

#include <cstdint>
#include <vector>

class Texture;

// A scene texture's raw pixels as a mip chain: level 0 is the image as RGB rows top first, stretched onto sides of
// powers of two, each further level the one before halved. Load time only: the chain keeps two buffers of level 0's
// size.
class RawMipChain {
 public:
  // False when the texture carries no pixels or fewer than its size needs.
  bool Start(const Texture& texture);
  uint32_t Levels() const { return levels_; }
  // Levels go in order from 0; each call halves the previous one in place.
  const uint8_t* NextLevel(int32_t* width, int32_t* height);

 private:
  std::vector<uint8_t> level_, half_;
  int32_t width_ = 0, height_ = 0;
  uint32_t levels_ = 0, next_ = 0;
};

// An image file's pixels stretched onto sides of powers of two: RGB, or RGBA with pure black transparent when the
// texture asks for the key.
struct TextureFileImage {
  int32_t width = 0, height = 0;
  bool keyed = false;
  std::vector<uint8_t> pixels;
};

// Reads the texture's image file and sets the texture's size from it; a name or a file that LoadTextureImage
// refuses ends the show, as on the Direct3D 7 side, and false is returned.
bool ReadTextureFile(Texture* texture, TextureFileImage* image);
