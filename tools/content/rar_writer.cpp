// Writes RAR 4 archives of stored entries, the form the data pack takes, with their header and file CRCs.
#include "tools/content/rar_writer.h"

#include <cstddef>

#include "core/crc32.h"
#include "start/rar4_format.h"

namespace {

using namespace rar4;

// 2000-01-01 00:00:00 in MS-DOS form, so that a build writes the same bytes every time.
constexpr uint32_t kFixedTime = 0x28210000;

void PutU8(std::vector<uint8_t>& out, uint8_t v) { out.push_back(v); }
void PutU16(std::vector<uint8_t>& out, uint16_t v) {
  PutU8(out, static_cast<uint8_t>(v));
  PutU8(out, static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, static_cast<uint16_t>(v));
  PutU16(out, static_cast<uint16_t>(v >> 16));
}

// The crc field is filled in by SealHeader once the whole header is written.
void PutBlockHeader(std::vector<uint8_t>& out, const BlockHeader& block) {
  PutU16(out, block.crc);
  PutU8(out, block.type);
  PutU16(out, block.flags);
  PutU16(out, block.size);
}

// Puts in the crc of the header that starts at start and runs to the end of out.
void SealHeader(std::vector<uint8_t>& out, size_t start) {
  uint32_t crc = Crc32(0, out.data() + start + kCrcStart, out.size() - start - kCrcStart);
  out[start] = static_cast<uint8_t>(crc);
  out[start + 1] = static_cast<uint8_t>(crc >> 8);
}

void PutMainHeader(std::vector<uint8_t>& out) {
  size_t start = out.size();
  MainHeader h{{0, BlockMain, 0, sizeof(MainHeader)}, 0, 0};
  PutBlockHeader(out, h.block);
  PutU16(out, h.reserved1);
  PutU32(out, h.reserved2);
  SealHeader(out, start);
}

void PutFileHeader(std::vector<uint8_t>& out, const RarEntry& entry, const std::string& name) {
  size_t start = out.size();
  uint16_t flags = FlagLongBlock | (entry.folder ? FileWindowMask : 0);
  uint32_t size = static_cast<uint32_t>(entry.data.size());
  FileHeader h{{0, BlockFile, flags, static_cast<uint16_t>(sizeof(FileHeader) + name.size())},
               size,
               size,
               HostWin32,
               Crc32(0, entry.data.data(), entry.data.size()),
               kFixedTime,
               StoreVersion,
               MethodStore,
               static_cast<uint16_t>(name.size()),
               entry.folder ? AttributeFolder : AttributeArchive};
  PutBlockHeader(out, h.block);
  PutU32(out, h.packSize);
  PutU32(out, h.unpackSize);
  PutU8(out, h.hostOs);
  PutU32(out, h.fileCrc);
  PutU32(out, h.fileTime);
  PutU8(out, h.unpackVersion);
  PutU8(out, h.method);
  PutU16(out, h.nameSize);
  PutU32(out, h.attributes);
  out.insert(out.end(), name.begin(), name.end());
  SealHeader(out, start);
}

void PutEndBlock(std::vector<uint8_t>& out) {
  size_t start = out.size();
  PutBlockHeader(out, {0, BlockEnd, FlagSkipIfUnknown, sizeof(BlockHeader)});
  SealHeader(out, start);
}

}  // namespace

bool WriteRar4(const std::vector<RarEntry>& entries, std::vector<uint8_t>& archive) {
  archive.assign(std::begin(kSignature), std::end(kSignature));
  PutMainHeader(archive);
  for (const RarEntry& entry : entries) {
    if (entry.name.size() > kMaxHeaderSize - sizeof(FileHeader) || entry.data.size() > UINT32_MAX) return false;
    // The archive is written as on Windows, with '\' between folders.
    std::string name = entry.name;
    for (char& c : name) {
      if (c == '/') c = '\\';
    }
    PutFileHeader(archive, entry, name);
    archive.insert(archive.end(), entry.data.begin(), entry.data.end());
  }
  PutEndBlock(archive);
  return true;
}
