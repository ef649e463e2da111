#include "app/music.h"

SoundSystem *musicSystem = nullptr;
Sound *musicSound = nullptr;
std::string musicTempPath;

void createMusicSystem() {}
void loadMusic() {}
void startMusic() {}
