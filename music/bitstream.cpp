// The MP3 bitstream: loading the track, finding and decoding frame headers, the bit reservoir, side information.
#include "music/bitstream.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "core/file.h"

const int32_t kSamplingFrequencies[kSamplingFrequencyCount] = {44100, 48000, 32000, 22050, 24000,
                                                               16000, 11025, 12000, 8000};

// clang-format off
const int16_t kLongBandBounds[kSamplingFrequencyCount][23] = {
    {0, 4, 8, 12, 16, 20, 24, 30, 36, 44, 52, 62, 74, 90, 110, 134, 162, 196, 238, 288, 342, 418, 576},
    {0, 4, 8, 12, 16, 20, 24, 30, 36, 42, 50, 60, 72, 88, 106, 128, 156, 190, 230, 276, 330, 384, 576},
    {0, 4, 8, 12, 16, 20, 24, 30, 36, 44, 54, 66, 82, 102, 126, 156, 194, 240, 296, 364, 448, 550, 576},
    {0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576},
    {0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 114, 136, 162, 194, 232, 278, 332, 394, 464, 540, 576},
    {0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576},
    {0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576},
    {0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576},
    {0, 12, 24, 36, 48, 60, 72, 88, 108, 132, 160, 192, 232, 280, 336, 400, 476, 566, 568, 570, 572, 574, 576},
};
const int16_t kShortBandBounds[kSamplingFrequencyCount][14] = {
    {0, 4, 8, 12, 16, 22, 30, 40, 52, 66, 84, 106, 136, 192},
    {0, 4, 8, 12, 16, 22, 28, 38, 50, 64, 80, 100, 126, 192},
    {0, 4, 8, 12, 16, 22, 30, 42, 58, 78, 104, 138, 180, 192},
    {0, 4, 8, 12, 18, 24, 32, 42, 56, 74, 100, 132, 174, 192},
    {0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 136, 180, 192},
    {0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 134, 174, 192},
    {0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 134, 174, 192},
    {0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 134, 174, 192},
    {0, 8, 16, 24, 36, 52, 72, 96, 124, 160, 162, 164, 166, 192},
};
// clang-format on

static_assert(std::endian::native == std::endian::little, "frame words are read with a byte swap");

namespace {

// Layer III bitrates in kbit/s, MPEG-1 then LSF.
constexpr int32_t kBitrates[2][16] = {
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
};

constexpr int kJunkScanLimit = 65536;
constexpr int kId3v1RestBytes = 124;
constexpr int kId3v2HeaderRest = 6;  // revision, flags, 4 size bytes after "ID3" and the version
constexpr int kId3v2FooterBytes = 10;
constexpr int kMaxBodySize = kFrameBufferSize - kReservoirMargin;
// main_data_begin has 9 bits.
constexpr int32_t kMaxBackstep = kReservoirMargin - 1;
constexpr uint32_t kTrackSizeLimit = 1u << 30;

constexpr uint32_t Tag(char a, char b, char c, char d) {
  return uint32_t(uint8_t(a)) << 24 | uint32_t(uint8_t(b)) << 16 | uint32_t(uint8_t(c)) << 8 | uint8_t(d);
}

bool ReadWord(Mp3Stream& s, uint32_t& word) {
  if (s.end - s.position < 4) return false;
  const uint8_t* p = s.file.data() + s.position;
  word = uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
  s.position += 4;
  return true;
}

bool ShiftByte(Mp3Stream& s, uint32_t& word) {
  if (s.position >= s.end) return false;
  word = word << 8 | s.file[s.position++];
  return true;
}

bool Skip(Mp3Stream& s, uint32_t bytes) {
  if (s.end - s.position < bytes) return false;
  s.position += bytes;
  return true;
}

// A header the decoder plays: Layer III, a known MPEG version, a bitrate that is not free format.
bool PlayableHeader(uint32_t word) {
  const uint32_t version = (word >> 19) & 3;
  const uint32_t layer = (word >> 17) & 3;
  const uint32_t bitrate = (word >> 12) & 15;
  return HeaderCheck(word) && layer == 1 && version != 1 && bitrate != 0;
}

// An ID3 version 2 tag before the first frame: skipped whole when its size is well formed.
bool SkipId3v2(Mp3Stream& s) {
  uint8_t rest[kId3v2HeaderRest];
  if (s.end - s.position < kId3v2HeaderRest) return false;
  std::memcpy(rest, s.file.data() + s.position, kId3v2HeaderRest);
  uint32_t size = 0;
  for (int i = 2; i < kId3v2HeaderRest; ++i) {
    if (rest[i] & 0x80) return false;
    size = size << 7 | rest[i];
  }
  if (rest[1] & 0x10) size += kId3v2FooterBytes;
  const uint32_t start = s.position;
  if (!Skip(s, kId3v2HeaderRest) || !Skip(s, size)) {
    s.position = start;
    return false;
  }
  return true;
}

// Finds the track's first header behind a RIFF wrapper, ID3 tags or junk; false when there is none.
bool FindFirstHeader(Mp3Stream& s, uint32_t& word) {
  for (;;) {
    if (PlayableHeader(word)) return true;
    if (word == Tag('R', 'I', 'F', 'F')) {
      if (!ReadWord(s, word)) return false;
      while (word != Tag('d', 'a', 't', 'a')) {
        if (!ShiftByte(s, word)) return false;
      }
      if (!ReadWord(s, word) || !ReadWord(s, word)) return false;
      continue;
    }
    if ((word >> 8) == (Tag('T', 'A', 'G', 0) >> 8)) {
      if (!Skip(s, kId3v1RestBytes) || !ReadWord(s, word)) return false;
      continue;
    }
    if ((word >> 8) == (Tag('I', 'D', '3', 0) >> 8) && SkipId3v2(s)) {
      if (!ReadWord(s, word)) return false;
      continue;
    }
    for (int i = 0; i < kJunkScanLimit; ++i) {
      if (!ShiftByte(s, word)) return false;
      if (PlayableHeader(word)) return true;
    }
    return false;
  }
}

void ReadGranule(BitReader& reader, GranuleInfo& g, const FrameHeader& header, bool midSide, DecodeStatus& status) {
  const int sfreq = header.samplingIndex;
  g.part23Length = int32_t(GetBits(reader, 12));
  g.bigValues = std::min(int32_t(GetBits(reader, 9)), kGranuleLines / 2);
  const int32_t globalGain = int32_t(GetBits(reader, 8));
  g.gainBase = 256 - globalGain + (midSide ? 2 : 0);
  g.scalefacCompress = int32_t(GetBits(reader, header.lsf ? 9 : 4));
  if (GetBits(reader, 1)) {
    g.blockType = int32_t(GetBits(reader, 2));
    g.mixedBlock = int32_t(GetBits(reader, 1));
    g.tableSelect[0] = int32_t(GetBits(reader, 5));
    g.tableSelect[1] = int32_t(GetBits(reader, 5));
    g.tableSelect[2] = 0;
    for (int32_t& gain : g.subblockGain) gain = g.gainBase + 8 * int32_t(GetBits(reader, 3));
    if (g.blockType == 0) status = DecodeStatus::BadBlockType;
    // Region 0 ends with the first three short bands, or with the eighth long band.
    g.region1Start = g.blockType == 2 ? kShortBandBounds[sfreq][3] * 3 / 2 : kLongBandBounds[sfreq][8] / 2;
    g.region2Start = kGranuleLines / 2;
  } else {
    for (int32_t& table : g.tableSelect) table = int32_t(GetBits(reader, 5));
    const int region0 = int(GetBits(reader, 4));
    const int region1 = int(GetBits(reader, 3));
    g.region1Start = kLongBandBounds[sfreq][region0 + 1] / 2;
    // The sum can name a boundary past the last band: the region then ends with the spectrum.
    g.region2Start = kLongBandBounds[sfreq][std::min(region0 + region1 + 2, 22)] / 2;
    g.blockType = 0;
    g.mixedBlock = 0;
    for (int32_t& gain : g.subblockGain) gain = g.gainBase;
  }
  g.preflag = header.lsf ? 0 : int32_t(GetBits(reader, 1));
  g.scalefacScale = int32_t(GetBits(reader, 1));
  g.count1Table = int32_t(GetBits(reader, 1));
}

BitReader SideInfoReader(const Mp3Stream& s, const FrameHeader& header) {
  return BitReader{s.frameBuffers[s.current], uint32_t(kReservoirMargin + (header.errorProtection ? 2 : 0)) * 8,
                   uint32_t(kReservoirMargin + s.bodySize) * 8};
}

}  // namespace

uint32_t GetBits(BitReader& reader, int n) {
  if (n == 0) return 0;
  const uint32_t value = uint32_t(PeekBits64(reader.data, reader.position) >> (64 - n));
  reader.position += uint32_t(n);
  return value;
}

bool StreamLoad(Mp3Stream& stream, const char* path) {
  const bool loaded = File_ReadAll(path, kTrackSizeLimit - 1, stream.file);
  stream.position = 0;
  stream.end = uint32_t(stream.file.size());
  stream.previousWord = 0;
  stream.firstWord = 0;
  stream.bodySize = 0;
  stream.validBytes = 0;
  return loaded;
}

void StreamRelease(Mp3Stream& stream) {
  stream.file.clear();
  stream.file.shrink_to_fit();
  stream.position = 0;
  stream.end = 0;
}

bool HeaderCheck(uint32_t word) {
  return (word & 0xFFE00000u) == 0xFFE00000u && ((word >> 17) & 3) != 0 && ((word >> 12) & 15) != 15 &&
         ((word >> 10) & 3) != 3;
}

int DecodeHeader(Mp3Stream& s, FrameHeader& header, uint32_t word) {
  const bool mpeg25 = !(word & (1u << 20));
  header.lsf = mpeg25 ? 1 : 1 - int32_t((word >> 19) & 1);
  if (s.previousWord == 0) {
    header.layer = 4 - int32_t((word >> 17) & 3);
    header.samplingIndex = int32_t((word >> 10) & 3) + 3 * header.lsf + (mpeg25 ? 3 : 0);
  }
  header.errorProtection = 1 - int32_t((word >> 16) & 1);
  header.bitrateIndex = int32_t((word >> 12) & 15);
  header.padding = int32_t((word >> 9) & 1);
  header.mode = int32_t((word >> 6) & 3);
  header.modeExtension = int32_t((word >> 4) & 3);
  header.channels = header.mode == 3 ? 1 : 2;
  s.previousWord = word;
  if (header.bitrateIndex == 0 || header.layer != 3) return 0;
  if (header.lsf) {
    header.sideInfoSize = header.channels == 1 ? 9 : 17;
  } else {
    header.sideInfoSize = header.channels == 1 ? 17 : 32;
  }
  if (header.errorProtection) header.sideInfoSize += 2;
  const int32_t frequency = kSamplingFrequencies[header.samplingIndex] << header.lsf;
  header.bodySize = kBitrates[header.lsf][header.bitrateIndex] * 144000 / frequency + header.padding - 4;
  // A later header may change the MPEG version under the first header's frequency: never past the buffer.
  return header.bodySize <= kMaxBodySize ? 1 : 0;
}

int ReadFrame(Mp3Stream& s, FrameHeader& header) {
  uint32_t word;
  if (!ReadWord(s, word)) return 0;
  if (s.firstWord == 0) {
    if (!FindFirstHeader(s, word)) return 0;
    s.firstWord = word;
  } else if (!PlayableHeader(word)) {
    // Trailing tags, junk or another layer: the track ends here rather than playing noise.
    return 0;
  }
  header.headerChange = 2;
  if (s.previousWord != 0 && ((s.previousWord >> 10) & 3) == ((word >> 10) & 3) &&
      (((s.previousWord >> 6) & 3) == 0) == (((word >> 6) & 3) == 0)) {
    header.headerChange = 1;
  }
  if (!DecodeHeader(s, header, word)) return 0;
  if (s.end - s.position < uint32_t(header.bodySize)) return 0;

  s.previousBodySize = s.bodySize;
  s.previousValidBytes = s.validBytes;
  s.current ^= 1;
  s.bodySize = header.bodySize;
  s.sideInfoSize = header.sideInfoSize;
  s.validBytes = std::max(0, s.bodySize - s.sideInfoSize);
  std::memcpy(s.frameBuffers[s.current] + kReservoirMargin, s.file.data() + s.position, size_t(s.bodySize));
  s.position += uint32_t(s.bodySize);
  s.bits =
      BitReader{s.frameBuffers[s.current], uint32_t(kReservoirMargin) * 8, uint32_t(kReservoirMargin + s.bodySize) * 8};
  return 1;
}

bool SetMainDataPointer(Mp3Stream& s, int32_t backstep) {
  if (s.sideInfoSize > s.bodySize) return false;
  // The reservoir moves on whether or not this frame can reach back as far as it asks: the first frames
  // of a stream cut from a longer one reach back before its start, yet the frames after them reach back
  // over their bodies into the same older bytes, which must still be there.
  const int32_t carried = std::min(s.previousValidBytes, kMaxBackstep);
  uint8_t* mainData = s.frameBuffers[s.current] + kReservoirMargin + s.sideInfoSize;
  const uint8_t* previousEnd = s.frameBuffers[s.current ^ 1] + kReservoirMargin + s.previousBodySize;
  std::memcpy(mainData - carried, previousEnd - carried, size_t(carried));
  s.validBytes = carried + s.bodySize - s.sideInfoSize;
  if (backstep > carried) return false;
  s.bits.position = uint32_t(mainData - backstep - s.frameBuffers[s.current]) * 8;
  return true;
}

DecodeStatus ReadSideInfoMpeg1(const Mp3Stream& s, SideInfo& side, const FrameHeader& header, bool midSide) {
  if (s.sideInfoSize > s.bodySize) return DecodeStatus::BadGranule;
  DecodeStatus status = DecodeStatus::Ok;
  BitReader reader = SideInfoReader(s, header);
  side.mainDataBegin = int32_t(GetBits(reader, 9));
  GetBits(reader, header.channels == 1 ? 5 : 3);
  for (int ch = 0; ch < header.channels; ++ch) {
    side.granules[0][ch].scfsi = -1;
    side.granules[1][ch].scfsi = int32_t(GetBits(reader, 4));
  }
  for (auto& granule : side.granules) {
    for (int ch = 0; ch < header.channels; ++ch) ReadGranule(reader, granule[ch], header, midSide, status);
  }
  return status;
}

DecodeStatus ReadSideInfoLsf(const Mp3Stream& s, SideInfo& side, const FrameHeader& header, bool midSide) {
  if (s.sideInfoSize > s.bodySize) return DecodeStatus::BadGranule;
  DecodeStatus status = DecodeStatus::Ok;
  BitReader reader = SideInfoReader(s, header);
  side.mainDataBegin = int32_t(GetBits(reader, 8));
  GetBits(reader, header.channels == 1 ? 1 : 2);
  for (int ch = 0; ch < header.channels; ++ch) {
    side.granules[0][ch].scfsi = -1;
    ReadGranule(reader, side.granules[0][ch], header, midSide, status);
  }
  return status;
}
