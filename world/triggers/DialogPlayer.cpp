#include "world/triggers/DialogPlayer.h"

#include <stdexcept>

namespace Zarn {
namespace {

// A uniform index below n from the engine's raw 32-bit output, the same on
// every standard library (rejection of the biased top range).
std::size_t uniformIndex(std::mt19937& engine, std::size_t n) {
    const u32 range = static_cast<u32>(n);
    const u32 limit = static_cast<u32>(0xFFFFFFFFu - (0xFFFFFFFFu % range + 1) % range);
    u32 draw = static_cast<u32>(engine());
    while (draw > limit) draw = static_cast<u32>(engine());
    return draw % range;
}

}  // namespace

DialogPlayer::DialogPlayer(DialogTable& table) : DialogPlayer(table, std::random_device{}()) {}

DialogPlayer::DialogPlayer(DialogTable& table, u32 seed) : table_(table), random_(seed) {}

bool DialogPlayer::play(u32 number) {
    if (table_.count(number) == 0) return false;
    current_ = number;
    playing_ = 1;
    return true;
}

void DialogPlayer::playSequenced(const std::vector<u32>& numbers) {
    const auto entry = progress_.find(&numbers);
    if (entry == progress_.end()) {
        const u32 first = numbers.at(0);
        progress_[&numbers] = 0;
        play(first);
        return;
    }
    if (entry->second + 1 >= numbers.size()) return;
    ++entry->second;
    play(numbers.at(entry->second));
}

void DialogPlayer::playRandom(const std::vector<u32>& numbers) {
    if (numbers.empty()) throw std::out_of_range("invalid vector<T> subscript");
    play(numbers[uniformIndex(random_, numbers.size())]);
}

}  // namespace Zarn
