#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>

#include "AssetNames.h"
#include "SheetPixels.h"
#include "engine/EngineLog.h"
#include "engine/FileUtils.h"
#include "engine/SpriteFrame.h"
#include "engine/SpriteFrameCache.h"
#include "engine/Texture2D.h"
#include "presentation/audio/LevelMusicTable.h"
#include "visuals/elements/MusicalNoteVisual.h"
#include "visuals/traps/BossVisual.h"

using namespace cocos2d;

namespace {

// Points the engine at the generated assets and records every line the
// engine logs about a missing asset.
class GeneratedAssets : public ::testing::Test {
protected:
    void SetUp() override {
        FileUtils::getInstance()->setDefaultResourceRootPath(ZARN_ASSETS_DIR);
        SpriteFrameCache::getInstance()->removeSpriteFrames();
        TextureCache::getInstance()->removeAllTextures();
        resetMissingAssetLog();
        setEngineLogHook([this](const std::string& line) {
            if (line.rfind("Missing ", 0) == 0) missing.push_back(line);
        });
    }
    void TearDown() override {
        setEngineLogHook(nullptr);
        SpriteFrameCache::getInstance()->removeSpriteFrames();
        TextureCache::getInstance()->removeAllTextures();
    }
    std::vector<std::string> missing;
};

TEST_F(GeneratedAssets, TheGeneratorsMadeEveryNameTheyWereGiven) {
    for (const char* report : {"/2D/unpainted.txt", "/sound/unmade.txt"}) {
        const std::string path = std::string(ZARN_ASSETS_DIR) + report;
        ASSERT_TRUE(std::filesystem::exists(path)) << path << ": the generator did not run";
        for (const std::string& name : zarn_test::reportLines(path))
            ADD_FAILURE() << name << " has no drawing or recipe in tools/ (see " << report << ")";
    }
}

// Every frame of every family is in one of the sheets that start-up loads, is
// a real frame (not the engine's stand-in) whose rectangle lies in its
// texture and holds visible pixels; only the empty frame is empty.
TEST_F(GeneratedAssets, EveryFrameIsDrawnInALoadedSheet) {
    auto* cache = SpriteFrameCache::getInstance();
    for (const std::string& sheet : zarn_test::namesOfKind("sheet")) {
        cache->addSpriteFramesWithFile(sheet);
        EXPECT_TRUE(cache->isSpriteFramesWithFileLoaded(sheet)) << sheet;
    }
    std::map<std::string, std::unique_ptr<zarn_test::SheetPixels>> sheets;
    const std::set<std::string> names = zarn_test::allFrameNames();
    ASSERT_GT(names.size(), 300u);
    for (const std::string& name : names) {
        ASSERT_TRUE(cache->hasSpriteFrame(name)) << name;
        SpriteFrame* frame = cache->getSpriteFrameByName(name);
        ASSERT_FALSE(frame->isPlaceholder()) << name;
        Texture2D* texture = frame->getTexture();
        ASSERT_NE(texture, nullptr) << name;
        ASSERT_FALSE(texture->isPlaceholder()) << name;
        const Rect r = frame->getRect();
        ASSERT_GT(r.size.width, 0.0f) << name;
        ASSERT_LE(r.getMaxX(), texture->getPixelsWide()) << name;
        ASSERT_LE(r.getMaxY(), texture->getPixelsHigh()) << name;
        auto& pixels = sheets[texture->getPath()];
        if (!pixels) pixels = std::make_unique<zarn_test::SheetPixels>(texture->getPath());
        ASSERT_NE(pixels->surface, nullptr) << texture->getPath() << ": " << IMG_GetError();
        if (name == "blank.png") {
            EXPECT_EQ(pixels->maxAlpha(r), 0) << name << " is meant to show nothing";
        } else {
            // Fading smoke and overlay layers are faint on purpose; 32 of 255
            // is still plainly visible.
            EXPECT_GE(pixels->maxAlpha(r), 32) << name << " is empty";
        }
    }
    EXPECT_TRUE(missing.empty()) << missing.front();
}

TEST_F(GeneratedAssets, EveryImageIsARealImage) {
    const std::set<std::string> images = zarn_test::namesOfKind("image");
    ASSERT_FALSE(images.empty());
    for (const std::string& name : images) {
        Texture2D* texture = TextureCache::getInstance()->addImage(name);
        EXPECT_FALSE(texture->isPlaceholder()) << name;
        EXPECT_GE(texture->getPixelsWide(), 256) << name;
    }
    EXPECT_TRUE(missing.empty()) << missing.front();
}

// A missing name is logged by the engine, once, with its kind.
TEST_F(GeneratedAssets, AnUnknownNameIsLoggedAsMissing) {
    SpriteFrameCache::getInstance()->getSpriteFrameByName("no_such_frame.png");
    TextureCache::getInstance()->addImage("2D/no_such_image.png");
    EXPECT_EQ(missing, (std::vector<std::string>{"Missing sprite frame: no_such_frame.png",
                                                 "Missing image: 2D/no_such_image.png"}));
}

// Decodes sounds with the mixer on SDL's silent audio driver.
class GeneratedSound : public GeneratedAssets {
protected:
    void SetUp() override {
        GeneratedAssets::SetUp();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        Mix_Init(MIX_INIT_OGG);
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 1, 1024), 0) << Mix_GetError();
    }
    void TearDown() override {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        GeneratedAssets::TearDown();
    }

    struct Decoded {
        std::vector<int16_t> samples;  // mono, 44100 Hz
        double seconds() const { return static_cast<double>(samples.size()) / 44100.0; }
        double rms() const {
            double sum = 0;
            for (int16_t s : samples) sum += static_cast<double>(s) * s;
            return samples.empty() ? 0.0 : std::sqrt(sum / samples.size()) / 32768.0;
        }
        // The RMS level of the loudest 50 ms, in dB of full scale: how loud
        // the sound is heard at its loudest.
        double loudestDb() const {
            const std::size_t window = std::min<std::size_t>(2205, samples.size());
            double sum = 0, best = 0;
            for (std::size_t i = 0; i < samples.size(); ++i) {
                sum += static_cast<double>(samples[i]) * samples[i];
                if (i >= window) sum -= static_cast<double>(samples[i - window]) * samples[i - window];
                if (i + 1 >= window) best = std::max(best, sum / static_cast<double>(window));
            }
            return 10.0 * std::log10(std::max(best, 1.0) / (32768.0 * 32768.0));
        }
    };

    Decoded decode(const std::string& name) {
        Decoded d;
        const std::string path = FileUtils::getInstance()->fullPathForFilename(name);
        EXPECT_FALSE(path.empty()) << name << " resolves to no file";
        if (path.empty()) return d;
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        EXPECT_NE(chunk, nullptr) << path << ": " << Mix_GetError();
        if (chunk == nullptr) return d;
        const auto* s = reinterpret_cast<const int16_t*>(chunk->abuf);
        d.samples.assign(s, s + chunk->alen / 2);
        Mix_FreeChunk(chunk);
        return d;
    }
};

// Effects last 50 to 400 ms and are heard at one loudness: none startles,
// none is lost (a soft click may stay a few dB under the rest).
TEST_F(GeneratedSound, EveryEffectIsAShortSoundOfEvenLoudness) {
    const std::set<std::string> sounds = zarn_test::namesOfKind("sound");
    ASSERT_GT(sounds.size(), 80u);
    for (const std::string& name : sounds) {
        const Decoded d = decode(name);
        EXPECT_GE(d.seconds(), 0.045) << name;
        EXPECT_LE(d.seconds(), 0.41) << name;
        EXPECT_GT(d.rms(), 0.03) << name << " is (nearly) silent";
        EXPECT_LE(d.loudestDb(), -11.0) << name << " is louder than the other effects";
        EXPECT_GE(d.loudestDb(), -20.0) << name << " is quieter than the other effects";
    }
}

// Tracks last 60 to 120 s, are audible but quieter on the whole than the
// effects, and loop without a jump: the step from the last sample to the
// first is no bigger than the track's own steps.
TEST_F(GeneratedSound, EveryTrackIsAMinuteOrTwoAndLoopsSmoothly) {
    const std::set<std::string> tracks = zarn_test::namesOfKind("music");
    ASSERT_GE(tracks.size(), 10u);
    for (const std::string& name : tracks) {
        const Decoded d = decode(name);
        EXPECT_GE(d.seconds(), 60.0) << name;
        EXPECT_LE(d.seconds(), 120.0) << name;
        EXPECT_GT(d.rms(), 0.02) << name << " is (nearly) silent";
        EXPECT_LE(20.0 * std::log10(std::max(d.rms(), 1e-6)), -18.0) << name << " is as loud as the effects";
        if (d.samples.size() < 2) continue;
        int largestStep = 0;
        for (std::size_t i = 1; i < d.samples.size(); ++i)
            largestStep = std::max(largestStep, std::abs(d.samples[i] - d.samples[i - 1]));
        EXPECT_LE(std::abs(d.samples.front() - d.samples.back()), largestStep) << name;
    }
}

// The fundamental of a pitched sound in Hz, from the autocorrelation of its
// first 100 ms: the first peak that is nearly as high as the highest, between
// 80 Hz and 2 kHz (so an overtone's shorter period or a doubled one is not
// taken for it); 0 when there is none.
double fundamentalHz(const std::vector<int16_t>& samples) {
    const std::size_t window = std::min<std::size_t>(samples.size(), 4410);
    const int shortest = 44100 / 2000, longest = 44100 / 80;
    if (window < static_cast<std::size_t>(2 * longest)) return 0.0;
    std::vector<double> r(longest + 2, 0.0);
    for (int lag = shortest - 1; lag <= longest + 1; ++lag)
        for (std::size_t i = 0; i + lag < window; ++i)
            r[lag] += static_cast<double>(samples[i]) * samples[i + static_cast<std::size_t>(lag)];
    const double best = *std::max_element(r.begin() + shortest, r.begin() + longest + 1);
    for (int lag = shortest; lag <= longest; ++lag) {
        if (r[lag] < 0.85 * best || r[lag] < r[lag - 1] || r[lag] < r[lag + 1]) continue;
        // The peak between samples, from the parabola through its neighbours.
        const double bend = r[lag - 1] - 2 * r[lag] + r[lag + 1];
        const double shift = bend == 0 ? 0.0 : 0.5 * (r[lag - 1] - r[lag + 1]) / bend;
        return 44100.0 / (lag + shift);
    }
    return 0.0;
}

// The note tiles play a chromatic scale over two octaves (the note visuals
// name pitch p's sound): each note is one equal-tempered semitone above the
// one before, in tune with A = 440 Hz, so that a melody played on the floor
// sounds right.
TEST_F(GeneratedSound, TheNoteTilesPlayAChromaticScaleInTune) {
    double lowest = 0.0;
    for (u8 pitch = 0; pitch <= 24; ++pitch) {
        const std::string name = musicalNoteSoundFile(pitch);
        const double hz = fundamentalHz(decode(name).samples);
        ASSERT_GT(hz, 0.0) << name << " has no clear pitch";
        if (pitch == 0) lowest = hz;
        const double semitones = 12.0 * std::log2(hz / lowest);
        EXPECT_NEAR(semitones, pitch, 0.2) << name << " sounds at " << hz << " Hz";
        const double fromA = 12.0 * std::log2(hz / 440.0);
        EXPECT_NEAR(fromA, std::round(fromA), 0.2) << name << " is out of tune at " << hz << " Hz";
    }
}

// Every sound name written in the code is listed (so made); a name the code
// completes at run time ("sound/boss/eye/" + what) has listed names under it.
TEST(AssetNames, EverySoundTheCodeNamesIsListed) {
    std::set<std::string> listed = zarn_test::namesOfKind("sound");
    const std::set<std::string> music = zarn_test::namesOfKind("music");
    listed.insert(music.begin(), music.end());
    const auto literals = zarn_test::literalsInCode(std::regex(R"re("(sound/[A-Za-z0-9_/.\-]*)")re"));
    ASSERT_GT(literals.size(), 40u);
    for (const auto& [name, file, completes, compared] : literals) {
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".mp3") == 0) {
            EXPECT_TRUE(listed.count(name)) << file << ": " << name << " is in no manifest";
        } else {
            const bool under = std::any_of(listed.begin(), listed.end(),
                                           [&](const std::string& l) { return l.rfind(name, 0) == 0; });
            EXPECT_TRUE(under) << file << ": no listed sound starts with " << name;
        }
    }
}

// Every frame name written in the visual code is in the frame manifest (the
// generator draws exactly those), apart from the 3D models' textures and the
// names the code only compares with.
TEST(AssetNames, EveryFrameTheVisualCodeNamesIsListed) {
    const std::set<std::string> frames = zarn_test::allFrameNames();
    const std::set<std::string> images = zarn_test::namesOfKind("image");
    const auto literals = zarn_test::literalsInCode(std::regex(R"re("([A-Za-z0-9_ /.\-]+\.png)")re"));
    ASSERT_GT(literals.size(), 100u);
    for (const auto& [name, file, completes, compared] : literals) {
        if (compared || name.rfind("3D/", 0) == 0 || file.rfind("simulation/", 0) == 0) continue;
        if (completes) {
            const bool ends = std::any_of(frames.begin(), frames.end(), [&](const std::string& f) {
                return f.size() > name.size() && f.compare(f.size() - name.size(), name.size(), name) == 0;
            });
            EXPECT_TRUE(ends) << file << ": no listed frame ends in " << name;
        } else {
            EXPECT_TRUE(frames.count(name) || images.count(name))
                << file << ": " << name << " is in no manifest";
        }
    }
}

TEST_F(GeneratedAssets, EveryFontTheCodeNamesIsAFontFile) {
    const auto literals = zarn_test::literalsInCode(std::regex(R"re("(fonts/[A-Za-z0-9_\-]+\.ttf)")re"));
    ASSERT_FALSE(literals.empty());
    for (const auto& [name, file, completes, compared] : literals) {
        const std::vector<unsigned char> data = FileUtils::getInstance()->getDataFromFile(name);
        ASSERT_GE(data.size(), 1000u) << file << ": " << name;
        const bool trueType = data[0] == 0 && data[1] == 1 && data[2] == 0 && data[3] == 0;
        const bool openType = data[0] == 'O' && data[1] == 'T' && data[2] == 'T' && data[3] == 'O';
        EXPECT_TRUE(trueType || openType) << name;
        EXPECT_TRUE(zarn_test::namesOfKind("font").count(name)) << name;
    }
}

// The tracks that the level and boss tables pick at run time are listed.
TEST(AssetNames, TheMusicTablesNameListedTracks) {
    const std::set<std::string> music = zarn_test::namesOfKind("music");
    for (const MusicTrack& track : LevelMusicTable::tracks()) {
        if (!track.file.empty()) {
            EXPECT_TRUE(music.count(track.file)) << track.file;
        }
    }
    for (u8 stage = 1; stage <= 4; ++stage) EXPECT_TRUE(music.count(bossMusicFile(stage))) << int(stage);
}

}  // namespace
