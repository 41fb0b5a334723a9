// Directories only this user can enter, with names nobody can guess ahead of their creation, and their removal.
#pragma once

// The system's directory for temporary files, into buffer (size bytes with terminator); false if it does not fit.
bool Directory_SystemTemp(char* buffer, unsigned size);
// Creates a new directory inside parent, private to the user, with an unpredictable name, and puts its
// path into buffer; false when it cannot be made or its path does not fit.
bool Directory_CreatePrivate(const char* parent, char* buffer, unsigned size);
// Deletes the files directly inside directory (folders are not entered; a link goes, never what it points at),
// then the directory itself, which stays if anything is left in it. Failures are silent.
void Directory_DeleteFiles(const char* directory);
