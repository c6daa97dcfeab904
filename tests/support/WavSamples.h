#pragma once

// Reads the 16-bit PCM WAV files the sound generator writes, for tests that
// listen to the mix. Header-only.

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace zarn_test {

struct WavSamples {
    int rate = 0;
    int channels = 0;
    // Interleaved, channels per frame.
    std::vector<std::int16_t> samples;

    std::size_t frames() const {
        return channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0;
    }
};

// The samples of a RIFF WAV file of 16-bit PCM, or nothing for a file that is
// missing, not such a file, or cut short. Every read is checked against the
// bytes the file has.
inline std::optional<WavSamples> readWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
    auto u16 = [&](std::size_t at) { return static_cast<std::uint32_t>(bytes[at] | (bytes[at + 1] << 8)); };
    auto u32 = [&](std::size_t at) { return u16(at) | (u16(at + 2) << 16); };
    auto tag = [&](std::size_t at, const char* name) { return std::memcmp(bytes.data() + at, name, 4) == 0; };
    if (bytes.size() < 12 || !tag(0, "RIFF") || !tag(8, "WAVE")) return std::nullopt;
    WavSamples wav;
    bool haveFormat = false;
    std::size_t at = 12;
    while (at <= bytes.size() && bytes.size() - at >= 8) {
        const std::size_t size = u32(at + 4);
        const std::size_t body = at + 8;
        if (size > bytes.size() - body) return std::nullopt;
        if (tag(at, "fmt ")) {
            if (size < 16) return std::nullopt;
            const std::uint32_t format = u16(body);
            const std::uint32_t bits = u16(body + 14);
            // 1: PCM; 0xFFFE: the extensible header, which the generator's
            // library writes for PCM too.
            if ((format != 1 && format != 0xFFFE) || bits != 16) return std::nullopt;
            wav.channels = static_cast<int>(u16(body + 2));
            wav.rate = static_cast<int>(u32(body + 4));
            haveFormat = wav.channels > 0;
        } else if (tag(at, "data")) {
            if (!haveFormat) return std::nullopt;
            wav.samples.resize(size / 2);
            for (std::size_t i = 0; i < wav.samples.size(); ++i)
                wav.samples[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(u16(body + 2 * i)));
            wav.samples.resize(wav.frames() * static_cast<std::size_t>(wav.channels));
            return wav;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

// The samples laid out for `channels` channels: a mono file is copied to each
// channel, a file of as many channels is kept; nothing for any other layout.
inline std::optional<std::vector<std::int16_t>> samplesFor(const WavSamples& wav, int channels) {
    if (wav.channels == channels) return wav.samples;
    if (wav.channels != 1) return std::nullopt;
    std::vector<std::int16_t> out;
    out.reserve(wav.samples.size() * static_cast<std::size_t>(channels));
    for (std::int16_t s : wav.samples) out.insert(out.end(), static_cast<std::size_t>(channels), s);
    return out;
}

}  // namespace zarn_test
