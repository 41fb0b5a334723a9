// LoadScene: reads a .qz3 scene file into a World, resolving its cross references through the registry.
#pragma once

#include <cstddef>
#include <cstdint>

class World;

// Every failure it reports is fatal and ends the program, so a return means the World holds the scene.
void LoadScene(const char* path, World* world);
// The same for a file already in memory; name stands for its path in the messages.
void LoadScene(const char* name, const uint8_t* bytes, size_t size, World* world);
