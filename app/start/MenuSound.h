#pragma once

#include <string>

// The menus' way to the sound player: one-shot interface sounds on the
// effects channel and looped music on the music channel, each scaled by its
// channel's master volume (1.0 when the program starts). Main thread only.
namespace menu_sound {

// Plays the file once at volume 1.0 and gain 1.0.
void playEffect(const std::string& file);
// Plays the file looped; the id, or -1 when it cannot be played.
int playMusicLooped(const std::string& file);
void stopMusic(int id);
void stopAllMusic();
// Master volumes (0 .. 1, the settings' percent / 100); music already playing
// follows at once.
void setEffectsMasterVolume(float volume);
void setMusicMasterVolume(float volume);

}  // namespace menu_sound
