// The Windows library's archive reader: RAR 4 archives whose entries are stored, checked against their CRCs.
#include "start/rar4_reader.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/byte_reader.h"
#include "core/crc32.h"
#include "start/rar4_format.h"
#include "start/unrar.h"

namespace {

using namespace rar4;

class Rar4Archive : public ArchiveSource {
 public:
  int Open(const char* path);
  int NextEntry(EntryHeader& entry) override;
  int ReadData(uint8_t* buffer, size_t capacity, size_t& got) override;

 private:
  bool ReadAt(uint64_t offset, uint8_t* buffer, size_t size);
  // Reads and checks the header of the block at next_ into header_.
  int ReadBlock(BlockHeader& block);
  int ReadFileHeader(const BlockHeader& block, EntryHeader& entry, uint64_t& dataSize);

  std::ifstream file_;
  uint64_t fileSize_ = 0;
  uint64_t next_ = 0;  // offset of the next block
  uint64_t dataLeft_ = 0;
  uint32_t dataCrc_ = 0;
  uint32_t expectedCrc_ = 0;
  int dataProblem_ = RarSuccess;  // why the current entry's bytes cannot be given
  std::array<uint8_t, kMaxHeaderSize> header_;
};

int Rar4Archive::Open(const char* path) {
  std::error_code error;
  fileSize_ = std::filesystem::file_size(path, error);
  if (error) return RarOpenError;
  file_.open(path, std::ios::binary);
  if (!file_) return RarOpenError;
  uint8_t signature[sizeof kSignature];
  if (fileSize_ < sizeof signature || !ReadAt(0, signature, sizeof signature) ||
      std::memcmp(signature, kSignature, sizeof signature) != 0) {
    return RarUnknownFormat;
  }
  next_ = sizeof signature;
  BlockHeader block;
  if (ReadBlock(block) != RarSuccess || block.type != BlockMain || block.size < sizeof(MainHeader)) {
    return RarBadArchive;
  }
  if (block.flags & MainEncryptedHeaders) return RarUnknownFormat;
  next_ += block.size;
  return RarSuccess;
}

bool Rar4Archive::ReadAt(uint64_t offset, uint8_t* buffer, size_t size) {
  file_.clear();
  file_.seekg(static_cast<std::streamoff>(offset));
  file_.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(size));
  return file_.gcount() == static_cast<std::streamsize>(size);
}

int Rar4Archive::ReadBlock(BlockHeader& block) {
  // An archive may end without its end block.
  if (next_ == fileSize_) return RarEndArchive;
  uint64_t left = fileSize_ - next_;
  if (left < sizeof(BlockHeader) || !ReadAt(next_, header_.data(), sizeof(BlockHeader))) return RarBadData;
  ByteReader r(header_.data(), sizeof(BlockHeader));
  block.crc = r.U16();
  block.type = r.U8();
  block.flags = r.U16();
  block.size = r.U16();
  if (block.size < sizeof(BlockHeader) || block.size > left) return RarBadData;
  if (!ReadAt(next_ + sizeof(BlockHeader), header_.data() + sizeof(BlockHeader), block.size - sizeof(BlockHeader))) {
    return RarReadError;
  }
  uint32_t crc = Crc32(0, header_.data() + kCrcStart, block.size - kCrcStart);
  return (crc & 0xFFFF) == block.crc ? RarSuccess : RarBadData;
}

int Rar4Archive::ReadFileHeader(const BlockHeader& block, EntryHeader& entry, uint64_t& dataSize) {
  ByteReader r(header_.data() + sizeof(BlockHeader), block.size - sizeof(BlockHeader));
  FileHeader h;
  h.block = block;
  h.packSize = r.U32();
  h.unpackSize = r.U32();
  h.hostOs = r.U8();
  h.fileCrc = r.U32();
  h.fileTime = r.U32();
  h.unpackVersion = r.U8();
  h.method = r.U8();
  h.nameSize = r.U16();
  h.attributes = r.U32();
  LargeSizes large{0, 0};
  if (h.block.flags & FileLarge) {
    large.highPackSize = r.U32();
    large.highUnpackSize = r.U32();
  }
  const uint8_t* name = r.Bytes(h.nameSize);
  if (r.Failed()) return RarBadData;

  // A Unicode name starts with its ASCII form, up to a zero byte.
  const uint8_t* nameEnd = name;
  while (nameEnd < name + h.nameSize && *nameEnd != 0) ++nameEnd;
  entry = EntryHeader{};
  entry.name.assign(name, nameEnd);
  bool folder = (h.block.flags & FileWindowMask) == FileWindowMask;
  entry.kind = folder ? EntryKind::Folder : EntryKind::File;
  entry.packedSize = static_cast<uint64_t>(large.highPackSize) << 32 | h.packSize;
  entry.size = static_cast<uint64_t>(large.highUnpackSize) << 32 | h.unpackSize;
  entry.crc = h.fileCrc;
  entry.dosTime = h.fileTime;
  entry.attributes = h.attributes;
  entry.hostOs = h.hostOs;
  entry.version = h.unpackVersion;
  entry.method = h.method;

  dataSize = entry.packedSize;
  expectedCrc_ = h.fileCrc;
  if (h.method != MethodStore || (h.block.flags & (FileEncrypted | FileSplitBefore | FileSplitAfter))) {
    dataProblem_ = RarUnknownFormat;
  } else if (entry.packedSize != entry.size) {
    dataProblem_ = RarBadData;
  }
  return RarSuccess;
}

int Rar4Archive::NextEntry(EntryHeader& entry) {
  dataLeft_ = 0;
  dataCrc_ = 0;
  expectedCrc_ = 0;
  dataProblem_ = RarSuccess;
  // Every pass moves past at least one header, so a hostile archive cannot keep this loop going.
  for (;;) {
    BlockHeader block;
    int result = ReadBlock(block);
    if (result != RarSuccess) return result;
    if (block.type == BlockEnd) return RarEndArchive;

    uint64_t dataStart = next_ + block.size;
    uint64_t dataSize = 0;
    if (block.type == BlockFile) {
      result = ReadFileHeader(block, entry, dataSize);
      if (result != RarSuccess) return result;
    } else if (block.flags & FlagLongBlock) {
      ByteReader r(header_.data() + sizeof(BlockHeader), block.size - sizeof(BlockHeader));
      dataSize = r.U32();
      if (r.Failed()) return RarBadData;
    }
    if (dataSize > fileSize_ - dataStart) return RarBadData;
    next_ = dataStart + dataSize;
    if (block.type != BlockFile) continue;

    if (entry.kind == EntryKind::File) {
      dataLeft_ = dataSize;
      file_.clear();
      file_.seekg(static_cast<std::streamoff>(dataStart));
    }
    return RarSuccess;
  }
}

int Rar4Archive::ReadData(uint8_t* buffer, size_t capacity, size_t& got) {
  got = 0;
  if (dataProblem_ != RarSuccess) return dataProblem_;
  if (dataLeft_ == 0) return dataCrc_ == expectedCrc_ ? RarSuccess : RarBadData;
  size_t n = dataLeft_ < capacity ? static_cast<size_t>(dataLeft_) : capacity;
  file_.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(n));
  if (file_.gcount() != static_cast<std::streamsize>(n)) return RarReadError;
  dataCrc_ = Crc32(dataCrc_, buffer, n);
  dataLeft_ -= n;
  got = n;
  return RarSuccess;
}

}  // namespace

std::unique_ptr<ArchiveSource> OpenRar4Archive(const char* path, int& openResult) {
  auto archive = std::make_unique<Rar4Archive>();
  openResult = archive->Open(path);
  if (openResult != RarSuccess) return nullptr;
  return archive;
}
