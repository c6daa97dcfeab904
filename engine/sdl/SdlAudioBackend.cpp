#include "engine/sdl/SdlAudioBackend.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>

#include "engine/EngineLog.h"

namespace cocos2d {
namespace experimental {

namespace {
constexpr int kChannels = 32;

int mixVolume(float volume) {
    return static_cast<int>(std::lround(std::clamp(volume, 0.0f, 1.0f) * MIX_MAX_VOLUME));
}
}  // namespace

struct SdlAudioBackend::Chunk {
    Mix_Chunk* chunk = nullptr;  // owned; null when the file could not be decoded
    ~Chunk() {
        if (chunk != nullptr) Mix_FreeChunk(chunk);
    }
};

std::unique_ptr<SdlAudioBackend> SdlAudioBackend::open() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (SDL_WasInit(0) == 0) SDL_Quit();
        return nullptr;
    }
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3);
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        if (SDL_WasInit(0) == 0) SDL_Quit();
        return nullptr;
    }
    Mix_AllocateChannels(kChannels);
    return std::unique_ptr<SdlAudioBackend>(new SdlAudioBackend());
}

bool SdlAudioBackend::install() {
    std::unique_ptr<SdlAudioBackend> backend = open();
    if (!backend) return false;
    AudioEngine::setBackend(std::move(backend));
    return true;
}

SdlAudioBackend::~SdlAudioBackend() {
    Mix_HaltChannel(-1);
    chunks_.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (SDL_WasInit(0) == 0) SDL_Quit();  // the last user frees SDL's own state
}

SdlAudioBackend::Chunk* SdlAudioBackend::load(const std::string& fullPath) {
    auto it = chunks_.find(fullPath);
    if (it != chunks_.end()) return it->second.get();
    auto chunk = std::make_unique<Chunk>();
    chunk->chunk = Mix_LoadWAV(fullPath.c_str());
    if (chunk->chunk == nullptr) engineLog("audio: cannot decode " + fullPath + ": " + Mix_GetError());
    return chunks_.emplace(fullPath, std::move(chunk)).first->second.get();
}

int SdlAudioBackend::channelOf(int audioID) const {
    auto it = channels_.find(audioID);
    return it == channels_.end() ? -1 : it->second;
}

int SdlAudioBackend::play(const std::string& fullPath, bool loop, float volume) {
    Chunk* chunk = load(fullPath);
    if (chunk->chunk == nullptr) return AudioEngine::INVALID_AUDIO_ID;
    const int channel = Mix_PlayChannel(-1, chunk->chunk, loop ? -1 : 0);
    if (channel < 0) return AudioEngine::INVALID_AUDIO_ID;  // every channel busy
    Mix_Volume(channel, mixVolume(volume));
    // The mixer hands out free channels only: an id still listed on this one
    // ended by itself since the last poll and is reported at the next.
    for (auto it = channels_.begin(); it != channels_.end();) {
        if (it->second == channel) {
            endedUnpolled_.push_back(it->first);
            it = channels_.erase(it);
        } else {
            ++it;
        }
    }
    const int id = nextId_++;
    if (nextId_ < 0) nextId_ = 0;
    channels_[id] = channel;
    return id;
}

void SdlAudioBackend::stop(int audioID) {
    const int channel = channelOf(audioID);
    if (channel < 0) return;
    channels_.erase(audioID);
    Mix_HaltChannel(channel);
}

void SdlAudioBackend::stopAll() {
    channels_.clear();
    endedUnpolled_.clear();
    Mix_HaltChannel(-1);
}

void SdlAudioBackend::pause(int audioID) {
    const int channel = channelOf(audioID);
    if (channel >= 0) Mix_Pause(channel);
}

void SdlAudioBackend::resume(int audioID) {
    const int channel = channelOf(audioID);
    if (channel >= 0) Mix_Resume(channel);
}

void SdlAudioBackend::setVolume(int audioID, float volume) {
    const int channel = channelOf(audioID);
    if (channel >= 0) Mix_Volume(channel, mixVolume(volume));
}

void SdlAudioBackend::setLoop(int audioID, bool loop) {
    // The mixer fixes a sound's loop count when it starts; the game chooses
    // looping only at play, so a later change is not carried to the mixer.
    (void)audioID;
    (void)loop;
}

void SdlAudioBackend::update(float, const std::function<void(int)>& finished) {
    std::vector<int> ended = std::move(endedUnpolled_);
    endedUnpolled_.clear();
    for (const auto& [id, channel] : channels_) {
        // Paused channels count as playing.
        if (Mix_Playing(channel) == 0) ended.push_back(id);
    }
    std::sort(ended.begin(), ended.end());
    for (int id : ended) {
        channels_.erase(id);
        finished(id);
    }
}

}  // namespace experimental
}  // namespace cocos2d
