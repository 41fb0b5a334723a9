// CRC-32 (the reflected 0xEDB88320 polynomial): RAR 4 headers and file data, PNG chunks.
#pragma once

#include <cstddef>
#include <cstdint>

// Continues crc (0 to begin) over size bytes; Crc32(Crc32(0, a), b) is the CRC of a then b.
uint32_t Crc32(uint32_t crc, const uint8_t* data, size_t size);
