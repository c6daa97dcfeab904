// fuzz-links: simulation
// Loads arbitrary bytes as "singleplayer.bin": every input either loads or
// leaves the defaults; a loaded progress has its furthest and current level in
// its list, and saves and reloads to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "simulation/progress/SinglePlayerData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    Zarn::SinglePlayerData progress;
    if (!progress.load(in)) {
        if (progress.lives != 0 || progress.livesAtCompletion != 0xFFFFFFFFu || progress.money != 0)
            std::abort();
        return 0;
    }
    if (progress.furthestLevel >= progress.levelCount()) std::abort();
    if (progress.currentLevel >= progress.levelCount()) std::abort();
    progress.getLevelStatus(progress.currentLevel);
    std::ostringstream first;
    progress.save(first);
    std::istringstream again(first.str());
    Zarn::SinglePlayerData reloaded;
    if (!reloaded.load(again)) std::abort();
    std::ostringstream second;
    reloaded.save(second);
    if (first.str() != second.str()) std::abort();
    return 0;
}
