// The MP3 bitstream: the track in memory, frame headers, frame bodies with the bit reservoir, side information.
//
// Everything here works on one stream's Mp3Stream, which its decoder owns. Every read is bounded by the
// file data or by the frame buffers, whatever the stream holds.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

constexpr int kMaxGranules = 2;
constexpr int kMaxChannels = 2;
constexpr int kGranuleLines = 576;
constexpr int kSubbands = 32;
// Time slots of a granule: 18 samples per subband.
constexpr int kGranuleSlots = 18;
constexpr int kFrameBufferSize = 2304;
// Bytes kept before each frame body for main data that began in earlier frames (main_data_begin < 512).
constexpr int kReservoirMargin = 512;
// The sampling frequencies by index: MPEG-1 at 0 to 2, MPEG-2 LSF at 3 to 5, MPEG 2.5 at 6 to 8.
constexpr int kSamplingFrequencyCount = 9;
extern const int32_t kSamplingFrequencies[kSamplingFrequencyCount];

struct FrameHeader {
  int32_t subbandLimit;     // subbands that may take the filterbank: 0 until the first frame starts the output
  int32_t lsf;              // 0 MPEG-1, 1 MPEG-2 LSF or MPEG 2.5
  int32_t headerChange;     // 2 on the first frame or a change of frequency or of stereo/other mode
  int32_t layer;            // from the track's first header
  int32_t errorProtection;  // from every header: a stream may carry check words from some frame on
  int32_t bitrateIndex;
  int32_t samplingIndex;  // from the track's first header
  int32_t padding;
  int32_t mode;           // 1 joint stereo, 3 mono
  int32_t modeExtension;  // bit value 2 mid/side, 1 intensity
  int32_t bodySize;       // bytes after the 4-byte header
  int32_t channels;       // 1 for mode 3, else 2
  int32_t sideInfoSize;   // including the check word
};

// Results of the frame decoding steps that can meet a bad stream.
enum class DecodeStatus {
  Ok,
  BadGranule,    // the granule and the rest of its frame play as silence
  BadBlockType,  // a window-switched granule with block_type 0: the stream cannot be played
};

struct GranuleInfo {
  int32_t scfsi;  // -1 in granule 0
  int32_t part23Length;
  int32_t bigValues;  // at most 288
  int32_t scalefacCompress;
  int32_t blockType;
  int32_t mixedBlock;
  int32_t tableSelect[3];
  int32_t subblockGain[3];  // index into the gain powers: gain base + 8 per subblock_gain step
  int32_t maxband[3];
  int32_t maxbandl;
  int32_t maxb;
  int32_t region1Start;  // in pairs of lines
  int32_t region2Start;
  int32_t preflag;
  int32_t scalefacScale;
  int32_t count1Table;
  int32_t gainBase;  // index into the gain powers: 256 - global_gain, 2 more for mid/side
};

struct SideInfo {
  int32_t mainDataBegin;
  GranuleInfo granules[kMaxGranules][kMaxChannels];
};

// Bits of the current frame buffer, most significant first. Reads past the frame's main data come from
// inside the buffer and are caught afterwards by the position check; none leaves the buffer.
struct BitReader {
  const uint8_t* data;  // the current frame buffer (kFrameBufferSize bytes)
  uint32_t position;    // in bits from the buffer's start
  uint32_t end;         // one past the last bit of the frame body
};

// The next 64 bits of a frame buffer from a bit position, without moving; at least 57 of them are the
// stream's. Clamped so that the 8-byte load stays in the buffer: positions that far are overruns anyway.
inline uint64_t PeekBits64(const uint8_t* data, uint32_t position) {
  const uint32_t byte = position >> 3 < kFrameBufferSize - 8 ? position >> 3 : kFrameBufferSize - 8;
  uint64_t value;
  std::memcpy(&value, data + byte, sizeof value);
  return __builtin_bswap64(value) << (position & 7);
}
// n from 0 to 32 bits; 0 returns 0 without moving.
uint32_t GetBits(BitReader& reader, int n);

// One stream: the whole file, the header history, and the two frame buffers, which swap roles every
// frame so that the previous body stays intact for the reservoir. Each body lies at kReservoirMargin.
struct Mp3Stream {
  std::vector<uint8_t> file;
  uint32_t position = 0;
  uint32_t end = 0;
  uint32_t previousWord = 0;  // 0 before the track's first header
  uint32_t firstWord = 0;
  int32_t current = 0;  // the frame buffer of the current frame
  int32_t bodySize = 0;
  int32_t sideInfoSize = 0;
  int32_t previousBodySize = 0;
  // Main data bytes that end with each body and may be reached back into.
  int32_t validBytes = 0;
  int32_t previousValidBytes = 0;
  BitReader bits = {};  // over the current frame buffer
  alignas(64) uint8_t frameBuffers[2][kFrameBufferSize] = {};
};

// Reads the whole file into the stream and starts it at its first byte with no header history; false
// when the file cannot be read.
bool StreamLoad(Mp3Stream& stream, const char* path);
void StreamRelease(Mp3Stream& stream);

bool HeaderCheck(uint32_t word);
// 1 when the word is a header the decoder can play, 0 otherwise.
int DecodeHeader(Mp3Stream& stream, FrameHeader& header, uint32_t word);
// 1 when a frame was read into the current frame buffer, 0 at the end of the stream.
int ReadFrame(Mp3Stream& stream, FrameHeader& header);
// Moves the reservoir's last bytes in front of the frame's main data and points the bit reader backstep
// bytes into them; false when the stream has not given that many bytes before this frame's main data.
bool SetMainDataPointer(Mp3Stream& stream, int32_t backstep);
// Read at the start of the frame body, after the check word when there is one.
DecodeStatus ReadSideInfoMpeg1(const Mp3Stream& stream, SideInfo& side, const FrameHeader& header, bool midSide);
DecodeStatus ReadSideInfoLsf(const Mp3Stream& stream, SideInfo& side, const FrameHeader& header, bool midSide);

// The long-block scale-factor band boundaries (23 per frequency); the Layer III tables share them.
extern const int16_t kLongBandBounds[kSamplingFrequencyCount][23];
extern const int16_t kShortBandBounds[kSamplingFrequencyCount][14];
