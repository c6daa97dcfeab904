#include "presentation/effects/VisualRandom.h"

#include <cmath>

namespace {

std::mt19937& engine() {
    static std::mt19937 shared{std::random_device{}()};
    return shared;
}

}  // namespace

std::mt19937& visualRandomEngine() {
    return engine();
}

void seedVisualRandomEngine(u32 seed) {
    engine().seed(seed);
}

float visualRandomUnit() {
    // The library's canonical float can round up to 1.0; keep it below.
    const float c = std::generate_canonical<float, 24>(engine());
    return c < 1.0f ? c : std::nextafter(1.0f, 0.0f);
}

float visualRandomBetween(float a, float b) {
    return a + visualRandomUnit() * (b - a);
}

int visualRandomInt(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(engine());
}

float visualRandomSigned() {
    for (;;) {
        const float r = visualRandomUnit() * 2.0f - 1.0f;
        if (r != 0.0f) return r;
    }
}

int chooseVariant(float r) {
    if (r < 0.33f) return 0;
    if (r < 0.66f) return 1;
    return 2;
}

RandomSoundSet::RandomSoundSet(std::vector<std::string> files)
    : files_(std::move(files)), engine_(5489u), index_(0, files_.empty() ? 0 : files_.size() - 1) {}

const std::string& RandomSoundSet::pick() {
    return files_.at(index_(engine_));
}
