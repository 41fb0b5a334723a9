// PNG files of 8-bit RGB pictures, written without compression so that every platform's tool writes the same
// bytes with no library.
#pragma once

#include <cstdint>
#include <vector>

// rgb holds width x height pixels, red first, top row first. False when the file cannot be written.
bool WritePng(const char* path, const std::vector<uint8_t>& rgb, int32_t width, int32_t height);
