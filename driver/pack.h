// The data pack: the private data directory, extraction of the pack through "Start.Dll", and deletion.
#pragma once

#include "driver/show.h"

// Creates the data directory, private to the user and with an unpredictable name, in TMP when it is
// set, else in the system's temporary directory, else in the current directory; its path goes into
// buffer. False when none can be made.
bool ChooseDataDir(char* buffer, unsigned size);

// Extracts every file of the archive into the directory through the extraction library: 0, or -1
// when either name is missing. Every other failure is a fatal report.
int UnpackPack(const char* archive, const char* directory);

// Deletes the directory's files (not its folders, nor what is in them) and then the directory if it
// is empty. Failures are silent.
void DeleteDataDir(const char* directory);

class DataPack : public PackParts {
 public:
  bool ChooseDataDirectory(char* buffer, unsigned size) override { return ChooseDataDir(buffer, size); }
  int Unpack(const char* archive, const char* directory) override { return UnpackPack(archive, directory); }
  void DeleteDataDirectory(const char* directory) override { DeleteDataDir(directory); }
};
