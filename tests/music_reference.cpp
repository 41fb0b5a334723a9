// Test support against the reference decoder: lame streams from test signals, libmpg123 decoding.
#include "tests/music_reference.h"

#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/music_support.h"

std::string EncodeTestSignal(const std::string& name, int rate, int channels, const std::string& options) {
  const int count = rate * 3 / 2;
  std::vector<uint8_t> bytes;
  const double pi = std::acos(-1.0);
  uint32_t noise = 12345;
  for (int i = 0; i < count; ++i) {
    const double t = double(i) / rate;
    const int sinceClick = i % (rate / 4);
    const double decay = std::exp(-sinceClick / (rate * 0.002));
    const double click = sinceClick < rate / 100 ? 20000.0 * decay * ((i / 7) % 2 ? 1 : -1) : 0.0;
    noise = noise * 1103515245u + 12345u;
    const double hiss = 800.0 * (double(noise >> 16 & 0x7FFF) / 32768.0 - 0.5);
    const double left =
        9800.0 * std::sin(2 * pi * (300 + 400 * t) * t) + 4900.0 * std::sin(2 * pi * 1234 * t) + click + hiss;
    const double right =
        8000.0 * std::sin(2 * pi * 550 * t) + 0.5 * click + 3200.0 * std::sin(2 * pi * 5000 * t) + 0.8 * left;
    // A pause of digital silence: silent granules, and the filters' tails playing out.
    const double gate = t >= 0.6 && t < 0.9 ? 0.0 : 1.0;
    for (int ch = 0; ch < channels; ++ch) {
      const int16_t v = int16_t(gate * std::fmax(-32768.0, std::fmin(32767.0, ch == 0 ? left : right)));
      bytes.push_back(uint8_t(v));
      bytes.push_back(uint8_t(uint16_t(v) >> 8));
    }
  }
  const std::string raw = MusicFiles().Write(name + ".raw", bytes), mp3 = MusicFiles().Path(name + ".mp3");
  // Kept at the signal's rate: lame would resample low bitrates otherwise.
  const std::string khz = std::to_string(rate / 1000.0);
  const std::string command = "lame -t --quiet -r --signed --little-endian --bitwidth 16 -s " + khz + " --resample " +
                              khz + " " + options + " '" + raw + "' '" + mp3 + "'";
  return std::system(command.c_str()) == 0 ? mp3 : "";
}

namespace {

// The rate as 4 bytes, little-endian, then the samples as they are.
void SaveReference(const std::string& mp3Path, long rate, const std::vector<int16_t>& pcm) {
  std::ifstream in(mp3Path, std::ios::binary);
  const std::vector<uint8_t> stream((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::create_directories(QZ2_MUSIC_REFERENCES);
  std::ofstream out(SavedReferencePath(QZ2_MUSIC_REFERENCES, stream), std::ios::binary);
  const uint32_t rate32 = uint32_t(rate);
  out.write(reinterpret_cast<const char*>(&rate32), sizeof rate32);
  out.write(reinterpret_cast<const char*>(pcm.data()), std::streamsize(pcm.size() * sizeof pcm[0]));
}

}  // namespace

std::vector<int16_t> ReferenceDecode(const std::string& mp3Path, long* rate) {
  std::vector<int16_t> pcm;
  mpg123_handle* handle = mpg123_new(nullptr, nullptr);
  if (!handle) return pcm;
  mpg123_param(handle, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0.0);
  // Every rate stays as it is; 16-bit samples are the library's first choice.
  mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_FORCE_STEREO | MPG123_QUIET, 0.0);
  if (mpg123_open(handle, mp3Path.c_str()) == MPG123_OK) {
    int channels = 0;
    int encoding = 0;
    mpg123_getformat(handle, rate, &channels, &encoding);
    unsigned char buffer[16384];
    size_t done = 0;
    int result;
    do {
      result = mpg123_read(handle, buffer, sizeof buffer, &done);
      const int16_t* samples = reinterpret_cast<const int16_t*>(buffer);
      pcm.insert(pcm.end(), samples, samples + done / 2);
    } while (result == MPG123_OK || result == MPG123_NEW_FORMAT);
    mpg123_close(handle);
  }
  mpg123_delete(handle);
  SaveReference(mp3Path, *rate, pcm);
  return pcm;
}

std::vector<int16_t> ReadWav(const std::string& path, int32_t* rate) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> pcm;
  if (bytes.size() < 44) return pcm;
  *rate = int32_t(bytes[24] | bytes[25] << 8 | bytes[26] << 16 | bytes[27] << 24);
  for (size_t i = 44; i + 1 < bytes.size(); i += 2) pcm.push_back(int16_t(bytes[i] | bytes[i + 1] << 8));
  return pcm;
}
