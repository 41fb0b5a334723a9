// The RAR 4 archive layout: block records, flags and limits, shared by the stored-entry reader and the writer.
//
// An archive is the signature, the main header, one file header per entry (each followed by the
// entry's bytes) and an end block. Every block starts with BlockHeader; its crc is the low 16 bits
// of the CRC-32 of the header's bytes after the crc field. All numbers are little-endian.
#pragma once

#include <cstdint>

namespace rar4 {

// RAR 5 archives start with the same six bytes and then 0x01.
constexpr uint8_t kSignature[7] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};

enum BlockType : uint8_t { BlockMain = 0x73, BlockFile = 0x74, BlockEnd = 0x7B };

// Any block: a 32-bit count of data bytes after the header follows the BlockHeader.
constexpr uint16_t FlagLongBlock = 0x8000;
constexpr uint16_t FlagSkipIfUnknown = 0x4000;

constexpr uint16_t MainEncryptedHeaders = 0x0080;

constexpr uint16_t FileSplitBefore = 0x0001;
constexpr uint16_t FileSplitAfter = 0x0002;
constexpr uint16_t FileEncrypted = 0x0004;
constexpr uint16_t FileWindowMask = 0x00E0;  // all bits set: the entry is a folder
constexpr uint16_t FileLarge = 0x0100;       // LargeSizes follow the FileHeader

constexpr uint8_t MethodStore = 0x30;
constexpr uint8_t HostWin32 = 2;
constexpr uint8_t StoreVersion = 20;
constexpr uint32_t AttributeFolder = 0x10;
constexpr uint32_t AttributeArchive = 0x20;

#pragma pack(push, 1)
struct BlockHeader {
  uint16_t crc;
  uint8_t type;
  uint16_t flags;
  uint16_t size;  // of the whole header, this record included
};
static_assert(sizeof(BlockHeader) == 7);

struct MainHeader {
  BlockHeader block;
  uint16_t reserved1;
  uint32_t reserved2;
};
static_assert(sizeof(MainHeader) == 13);

// Followed by LargeSizes when FileLarge is set, then nameSize bytes of name.
struct FileHeader {
  BlockHeader block;
  uint32_t packSize;
  uint32_t unpackSize;
  uint8_t hostOs;
  uint32_t fileCrc;
  uint32_t fileTime;  // MS-DOS date and time
  uint8_t unpackVersion;
  uint8_t method;
  uint16_t nameSize;
  uint32_t attributes;
};
static_assert(sizeof(FileHeader) == 32);

struct LargeSizes {
  uint32_t highPackSize;
  uint32_t highUnpackSize;
};
static_assert(sizeof(LargeSizes) == 8);
#pragma pack(pop)

// The header size field is 16 bits.
constexpr uint32_t kMaxHeaderSize = 0xFFFF;
// Bytes of a header the crc covers start after the crc field.
constexpr uint32_t kCrcStart = sizeof(uint16_t);

}  // namespace rar4
