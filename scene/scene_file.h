// LoadScene: reads a .qz3 scene file into a World, resolving its cross references through the registry.
#pragma once

class World;

// Every failure it reports is fatal and ends the program, so a return means the World holds the scene.
void LoadScene(const char* path, World* world);
