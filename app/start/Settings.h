#pragma once

#include <array>
#include <string>
#include <vector>

#include "foundation/Types.h"

// The user's settings: one process-wide record, filled with the defaults
// before the program starts, read from "settings.ini" in the writable
// directory at start-up, changed by the menus and written back when the
// player leaves the settings menu, when the multiplayer panel goes and at
// exit. Main thread only.
//
// File format (INI text, no sections, one "KEY=value" line each, "\n" line
// ends), keys in this order:
//
//   | key                   | type | default | valid            |
//   |-----------------------|------|---------|------------------|
//   | EFFECT_VOLUME         | i32  | 100     | 0 .. 100 percent |
//   | MUSIC_VOLUME          | i32  | 100     | 0 .. 100 percent |
//   | RES_INDEX             | i32  | 1       | 0 .. 12          |
//   | FULLSCREEN            | bool | false   | true/false, 1/0  |
//   | LAST_ARCADE_INDEX     | u32  | 2       |                  |
//   | LAST_MULTIPLAYER_NAME | text | ""      |                  |
//   | NETWORK_LATENCY       | u32  | 166     | 0 .. 300 ms      |
//
// Reading: keys may stand in any order; only keys outside sections count; a
// missing key, or one whose whole text does not convert to the field's type,
// leaves the field as it was; a value outside its valid range becomes the
// default. A file that the INI reader rejects, or one larger than
// kMaxSettingsFileBytes, changes nothing. Every such value is logged.
struct SettingsRecord {
    i32 EFFECT_VOLUME = 100;
    i32 MUSIC_VOLUME = 100;
    i32 RES_INDEX = 1;
    bool FULLSCREEN = false;
    u32 LAST_ARCADE_INDEX = 2;
    std::string LAST_MULTIPLAYER_NAME;
    u32 NETWORK_LATENCY = 166;

    bool operator==(const SettingsRecord&) const = default;
};

// The process-wide record. resetSettingsForTests() puts the defaults back.
extern SettingsRecord Settings;
void resetSettingsForTests();

struct Resolution {
    i32 width;
    i32 height;
};

// The window sizes that RES_INDEX chooses from, ascending by width.
inline constexpr std::array<Resolution, 13> resolutionList = {{
    {1024, 576},
    {1280, 720},
    {1280, 800},
    {1366, 768},
    {1440, 900},
    {1600, 900},
    {1680, 1050},
    {1920, 1080},
    {1920, 1200},
    {2048, 1152},
    {2560, 1440},
    {2560, 1600},
    {3840, 2160},
}};

inline constexpr const char* kSettingsFileName = "settings.ini";
inline constexpr std::size_t kMaxSettingsFileBytes = 64 * 1024;

// The pure rules of the file, without the file system.
// Reads `text` into `record` by the rules above; what was wrong goes to
// `problems`, one line each.
void parseSettingsText(const std::string& text, SettingsRecord& record, std::vector<std::string>& problems);
// The file's text for a record.
std::string settingsText(const SettingsRecord& record);

// Reads "settings.ini" into Settings when it exists.
void loadSettings();
// Pushes Settings into the sound player and the window.
void applySettings();
// Writes Settings to "settings.ini" (atomically: the old file stays whole
// when the write fails).
void saveSettings();
// Store the percent and set the sound player's master volume to percent / 100.
void setEffectVolume(int percent);
void setMusicVolume(int percent);
