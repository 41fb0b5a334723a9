// Whole files into memory: every reader parses its file from one bounded block of bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// directory, the platform's path separator and name into buffer; an empty string when they do not
// fit, so that a cut-off path never names another file.
void File_JoinPath(char* buffer, size_t size, const char* directory, const char* name);

// Reads the file at path into bytes; false (bytes empty) when it cannot be opened or read, or holds
// more than maxBytes, so that a huge file never sizes an allocation.
bool File_ReadAll(const char* path, size_t maxBytes, std::vector<uint8_t>& bytes);
