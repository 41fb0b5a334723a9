// The music player: one MP3 track at a time, decoded and streamed to the sound device by a playback thread.
//
// The driver calls MusicOpen, MusicStart and later MusicStop from its own thread, and always stops a
// track before opening the next. A missing file only means silence.
#pragma once

// Loads the track; a file that cannot be read leaves the player silent.
void MusicOpen(const char* path);
// Starts the playback thread for the opened track.
void MusicStart();
// Ends the playback thread before its next frame; the blocks already queued play out, and the next
// MusicOpen closes the device.
void MusicStop();
// The playback thread is running (false again once the track has ended by itself).
bool MusicRunning();
