// The Windows library's archive reader: RAR 4 archives whose entries are stored, checked against their CRCs.
//
// Portable C++, so that it is built and tested on Linux too. Compressed, encrypted and split entries
// are listed but not extracted (RarUnknownFormat).
#pragma once

#include <memory>

#include "start/archive_source.h"

std::unique_ptr<ArchiveSource> OpenRar4Archive(const char* path, int& openResult);
