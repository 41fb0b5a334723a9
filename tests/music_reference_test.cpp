// Decoding against libmpg123: every Huffman code, and streams that lame makes from test signals.
#include <gtest/gtest.h>
#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <span>
#include <string>

#include "music/mp3_decoder.h"
#include "tests/music_support.h"

namespace {

// A test signal with tones, a chirp and sharp clicks (which make the encoder switch to short blocks), as
// raw 16-bit little-endian samples.
void WriteTestSignal(const std::string& rawPath, int rate, int channels, double seconds) {
  const int count = int(rate * seconds);
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
    for (int ch = 0; ch < channels; ++ch) {
      const int16_t v = int16_t(std::fmax(-32768.0, std::fmin(32767.0, ch == 0 ? left : right)));
      bytes.push_back(uint8_t(v));
      bytes.push_back(uint8_t(uint16_t(v) >> 8));
    }
  }
  WriteFile(rawPath, bytes);
}

// Runs lame -t on the raw samples at their rate with the options (-m m for one channel); false when it fails.
bool Encode(const std::string& rawPath, int rate, const std::string& mp3Path, const std::string& options) {
  // Kept at the signal's rate: lame would resample low bitrates otherwise.
  const std::string khz = std::to_string(rate / 1000.0);
  const std::string command = "lame -t --quiet -r --signed --little-endian --bitwidth 16 -s " + khz + " --resample " +
                              khz + " " + options + " '" + rawPath + "' '" + mp3Path + "'";
  return std::system(command.c_str()) == 0;
}

// libmpg123 without gapless decoding, 16-bit stereo at the stream's rate.
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
  return pcm;
}

// The samples of a 16-bit WAV file written by qz2-tool mp3; its rate in *rate.
std::vector<int16_t> ReadWav(const std::string& path, int32_t* rate) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> pcm;
  if (bytes.size() < 44) return pcm;
  *rate = int32_t(bytes[24] | bytes[25] << 8 | bytes[26] << 16 | bytes[27] << 24);
  for (size_t i = 44; i + 1 < bytes.size(); i += 2) pcm.push_back(int16_t(bytes[i] | bytes[i + 1] << 8));
  return pcm;
}

// How far one channel of our samples lies from the reference's, samples on the rails left out.
struct Deviation {
  double rms;
  int largest;
  size_t worst;  // the sample index of the largest difference
};

Deviation Compare(const std::vector<int16_t>& ours, const std::vector<int16_t>& reference, int channel) {
  Deviation d{0.0, 0, 0};
  size_t counted = 0;
  for (size_t i = size_t(channel); i < ours.size() && i < reference.size(); i += 2) {
    const auto rail = [](int16_t s) { return s == 32767 || s == -32768; };
    if (rail(ours[i]) || rail(reference[i])) continue;
    const int difference = std::abs(ours[i] - reference[i]);
    d.rms += double(difference) * difference;
    if (difference > d.largest) {
      d.largest = difference;
      d.worst = i;
    }
    ++counted;
  }
  d.rms = counted ? std::sqrt(d.rms / double(counted)) : 0.0;
  return d;
}

#include "music/huffman_data.inc"

struct CodeList {
  int table;  // the table_select that uses it
  int linbits;
  int size;  // x and y range; 0 for the quadruple tables
  std::span<const uint16_t> codes;
  std::span<const uint8_t> lengths;
};

// One granule holding a single code: a pair in region 0, or a quadruple in the count1 region.
GranuleSpec CodeGranule(const CodeList& list, int index, BitWriter& data) {
  GranuleSpec g;
  const int start = data.size();
  data.Put(list.codes[index], list.lengths[index]);
  if (list.size > 0) {
    g.bigValues = 1;
    g.tableSelect[0] = list.table;
    const int values[2] = {index / list.size, index % list.size};
    for (int k = 0; k < 2; ++k) {
      if (values[k] == 15 && list.linbits) data.Put(uint32_t(k + 1), list.linbits);
      if (values[k]) data.Put(uint32_t(k), 1);
    }
  } else {
    g.count1Table = list.table;
    for (int bit = 0; bit < 4; ++bit) {
      if (index >> bit & 1) data.Put(uint32_t(bit & 1), 1);
    }
  }
  g.part23Length = data.size() - start;
  return g;
}

TEST(MusicHuffman, EveryCodeDecodesAsTheReferenceDecodesIt) {
  const CodeList lists[] = {
      {1, 0, 2, kCodes1, kLengths1},     {2, 0, 3, kCodes2, kLengths2},     {3, 0, 3, kCodes3, kLengths3},
      {5, 0, 4, kCodes5, kLengths5},     {6, 0, 4, kCodes6, kLengths6},     {7, 0, 6, kCodes7, kLengths7},
      {8, 0, 6, kCodes8, kLengths8},     {9, 0, 6, kCodes9, kLengths9},     {10, 0, 8, kCodes10, kLengths10},
      {11, 0, 8, kCodes11, kLengths11},  {12, 0, 8, kCodes12, kLengths12},  {13, 0, 16, kCodes13, kLengths13},
      {15, 0, 16, kCodes15, kLengths15}, {18, 3, 16, kCodes16, kLengths16}, {27, 7, 16, kCodes24, kLengths24},
      {0, 0, 0, kCodesA, kLengthsA},     {1, 0, 0, kCodesB, kLengthsB},
  };
  // Four codes per frame, one per granule and channel.
  std::vector<uint8_t> stream;
  FrameSpec frame;
  BitWriter data;
  int slot = 0;
  int codes = 0;
  auto flush = [&]() {
    frame.mainData = data.bytes();
    Append(stream, BuildFrame(frame));
    frame = FrameSpec{};
    data = BitWriter{};
    slot = 0;
  };
  for (const CodeList& list : lists) {
    for (int i = 0; i < int(list.codes.size()); ++i, ++codes) {
      frame.granules[slot / 2][slot % 2] = CodeGranule(list, i, data);
      if (++slot == 4) flush();
    }
  }
  flush();
  EXPECT_EQ(codes, 1410);

  const std::string path = TempPath("codes.mp3");
  WriteFile(path, stream);
  int32_t frames = 0;
  const std::vector<int16_t> ours = DecodeBytes(stream, &frames);
  long rate = 0;
  const std::vector<int16_t> reference = ReferenceDecode(path, &rate);
  EXPECT_EQ(frames, (codes + 3) / 4);
  ASSERT_EQ(ours.size(), reference.size());
  // A code read as another pair would show as a difference of hundreds in its frame.
  for (int ch = 0; ch < 2; ++ch) {
    const Deviation d = Compare(ours, reference, ch);
    EXPECT_LE(d.largest, 1) << "first at frame " << d.worst / kFrameSamples;
  }
}

// The standard's compliance stream of a 1 kHz sine that clips. Every frame's main data begins more than a
// frame back, so the first two frames cannot be decoded and its reference decode leaves them out.
TEST(MusicReference, ComplianceSineMatchesTheStandardsDecode) {
  const std::string dir = QZ2_COMPLIANCE_DIR;
  std::ifstream in(dir + "/l3-sin1k0db.pcm", std::ios::binary);
  ASSERT_TRUE(in) << "no compliance stream in " << dir;
  std::vector<int16_t> reference;
  for (char b[2]; in.read(b, 2);) reference.push_back(int16_t(uint8_t(b[0]) | uint8_t(b[1]) << 8));
  CaptureSink sink;
  Mp3Decoder decoder;
  DecodeTrack(decoder, (dir + "/l3-sin1k0db.bit").c_str(), sink);
  std::vector<int16_t> ours = sink.pcm();
  ASSERT_EQ(ours.size(), reference.size() + 2 * kFrameSamples);
  ours.erase(ours.begin(), ours.begin() + 2 * kFrameSamples);
  for (int ch = 0; ch < 2; ++ch) EXPECT_LE(Compare(ours, reference, ch).rms, 1.0) << "channel " << ch;
}

struct StreamCase {
  const char* name;
  int rate;
  int channels;
  const char* options;
};

// Stereo CBR and mid/side VBR at every MPEG-1 and LSF rate, mono, and MPEG 2.5 (mono too).
const StreamCase kCases[] = {
    {"s32000", 32000, 2, "-m s -b 160"},   {"ms32000", 32000, 2, "-m f -V 2"},  {"s44100", 44100, 2, "-m s -b 192"},
    {"ms44100", 44100, 2, "-m f -V 0"},    {"s48000", 48000, 2, "-m s -b 256"}, {"ms48000", 48000, 2, "-m f -V 4"},
    {"s16000", 16000, 2, "-m s -b 64"},    {"ms16000", 16000, 2, "-m f -V 3"},  {"s22050", 22050, 2, "-m s -b 96"},
    {"ms22050", 22050, 2, "-m f -V 5"},    {"s24000", 24000, 2, "-m s -b 48"},  {"j24000", 24000, 2, "-m j -V 2"},
    {"mono44100", 44100, 1, "-m m -b 96"}, {"ms11025", 11025, 2, "-m f -V 4"},  {"s8000", 8000, 2, "-m s -b 24"},
    {"mono8000", 8000, 1, "-m m -b 16"},
};

class MusicReference : public ::testing::TestWithParam<StreamCase> {};

TEST_P(MusicReference, DecodesWithinOneLsbOfTheReference) {
  const StreamCase& c = GetParam();
  const std::string raw = TempPath(std::string(c.name) + ".raw");
  const std::string mp3 = TempPath(std::string(c.name) + ".mp3");
  const std::string out = TempPath(std::string(c.name) + ".out.wav");
  WriteTestSignal(raw, c.rate, c.channels, 1.5);
  ASSERT_TRUE(Encode(raw, c.rate, mp3, c.options));

  const std::string command = std::string(QZ2_TOOL) + " mp3 '" + mp3 + "' '" + out + "' > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  int32_t rate = 0;
  const std::vector<int16_t> ours = ReadWav(out, &rate);
  long referenceRate = 0;
  const std::vector<int16_t> reference = ReferenceDecode(mp3, &referenceRate);
  EXPECT_EQ(rate, c.rate);
  EXPECT_EQ(referenceRate, c.rate);
  ASSERT_EQ(ours.size(), reference.size());
  ASSERT_GT(ours.size(), size_t(c.rate));

  for (int ch = 0; ch < 2; ++ch) {
    const Deviation d = Compare(ours, reference, ch);
    EXPECT_LE(d.rms, 1.0) << c.name << " channel " << ch;
    EXPECT_LE(d.largest, 4) << c.name << " channel " << ch;
    std::printf("%s channel %d: rms %.3f, largest %d LSB\n", c.name, ch, d.rms, d.largest);
  }
}

INSTANTIATE_TEST_SUITE_P(Streams, MusicReference, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<StreamCase>& info) { return std::string(info.param.name); });

}  // namespace
