// fuzz-links: app
// Reads arbitrary bytes as "settings.ini": every input leaves each value in
// its valid range, and the record written back reads again to the same
// values (the multiplayer name aside: the INI reader trims its spaces).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/start/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    SettingsRecord record;
    std::vector<std::string> problems;
    parseSettingsText(text, record, problems);
    if (record.EFFECT_VOLUME < 0 || record.EFFECT_VOLUME > 100) std::abort();
    if (record.MUSIC_VOLUME < 0 || record.MUSIC_VOLUME > 100) std::abort();
    if (record.RES_INDEX < 0 || record.RES_INDEX >= static_cast<int>(resolutionList.size())) std::abort();
    if (record.NETWORK_LATENCY > 300) std::abort();
    SettingsRecord again;
    std::vector<std::string> none;
    parseSettingsText(settingsText(record), again, none);
    again.LAST_MULTIPLAYER_NAME = record.LAST_MULTIPLAYER_NAME;
    if (!(again == record)) std::abort();
    return 0;
}
