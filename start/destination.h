// Where an archive entry lands: below the destination folder and nowhere else.
#pragma once

#include <filesystem>
#include <string>

// The destination joined with the entry's name; false when the name is empty, absolute, names a drive
// or a stream (":"), or has a part made of dots and spaces only (other than "."), such as "..".
bool EntryPathBelow(const char* destination, const std::string& name, std::filesystem::path& path);

// Creates the folder and every folder on the way: RarSuccess or RarCreateError.
int CreateFolders(const std::filesystem::path& folder);
