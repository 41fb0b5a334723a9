// The show's files inside its data pack and which track plays under which scenes: the one list the program
// plays and the content builder writes.
#pragma once

constexpr int kSceneCount = 9;
// The scene index (0 to 8) whose stage holds the skinned character, where it stands and its scale.
constexpr int kCharacterScene = 3;
constexpr float kCharacterX = 0.0f, kCharacterY = 0.0f, kCharacterZ = 7.0f;
constexpr float kCharacterScale = 1.0f;

constexpr const char* kPackFile = "PACK.ZUL";
constexpr const char* kFontFile = "police1.bmp";
constexpr const char* kCharacterAnimationFile = "rap.qza";
constexpr const char* kCharacterMeshFile = "rap.qzb";
// Scene index i draws overlay file i + 1.
constexpr const char* kOverlayFileFormat = "over%d.dat";

struct ShowSceneFiles {
  const char* sceneFile;
  const char* musicFile;  // null: no track opened, the one playing plays on
  bool stopMusicAtEnd;
};

// The third track plays on under the remaining scenes.
constexpr ShowSceneFiles kShowSceneFiles[kSceneCount] = {
    {"scene1.QZ3", "mp31.mp3", true}, {"scene2.qz3", "mp32.mp3", true}, {"scene3.qz3", "mp33.mp3", false},
    {"scene4.qz3", nullptr, false},   {"scene5.qz3", nullptr, false},   {"scene6.qz3", nullptr, false},
    {"scene7.qz3", nullptr, false},   {"scene8.qz3", nullptr, false},   {"scene9.qz3", nullptr, false},
};
