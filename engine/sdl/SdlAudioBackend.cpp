#include "engine/sdl/SdlAudioBackend.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <vector>

#include "engine/EngineLog.h"

namespace cocos2d {
namespace experimental {

struct SdlAudioBackend::Chunk {
    Mix_Chunk* chunk = nullptr;  // owned; null when the file could not be decoded
    ~Chunk() {
        if (chunk != nullptr) Mix_FreeChunk(chunk);
    }
};

SdlAudioBackend::SdlAudioBackend(int rate, int channels) : mixer_(rate, channels) {}

std::unique_ptr<SdlAudioBackend> SdlAudioBackend::open() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (SDL_WasInit(0) == 0) SDL_Quit();
        return nullptr;
    }
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3);
    auto close = [] {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        if (SDL_WasInit(0) == 0) SDL_Quit();
    };
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        close();
        return nullptr;
    }
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    // The mixer writes signed 16-bit samples in the machine's byte order.
    if (Mix_QuerySpec(&rate, &format, &channels) == 0 || format != AUDIO_S16SYS || channels < 1) {
        engineLog("audio: the device would not take 16-bit samples");
        Mix_CloseAudio();
        close();
        return nullptr;
    }
    Mix_AllocateChannels(0);
    std::unique_ptr<SdlAudioBackend> backend(new SdlAudioBackend(rate, channels));
    Mix_HookMusic(&SdlAudioBackend::fill, backend.get());
    return backend;
}

bool SdlAudioBackend::install() {
    std::unique_ptr<SdlAudioBackend> backend = open();
    if (!backend) return false;
    AudioEngine::setBackend(std::move(backend));
    return true;
}

SdlAudioBackend::~SdlAudioBackend() {
    // Takes the device's lock: no pull runs once it returns.
    Mix_HookMusic(nullptr, nullptr);
    chunks_.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (SDL_WasInit(0) == 0) SDL_Quit();  // the last user frees SDL's own state
}

void SdlAudioBackend::fill(void* backend, std::uint8_t* stream, int bytes) {
    auto* self = static_cast<SdlAudioBackend*>(backend);
    const std::size_t frameBytes = sizeof(std::int16_t) * static_cast<std::size_t>(self->mixer_.channels());
    std::lock_guard<std::mutex> lock(self->mixLock_);
    self->mixer_.mix(reinterpret_cast<std::int16_t*>(stream), static_cast<std::size_t>(bytes) / frameBytes);
}

SdlAudioBackend::Chunk* SdlAudioBackend::load(const std::string& fullPath) {
    auto it = chunks_.find(fullPath);
    if (it != chunks_.end()) return it->second.get();
    auto chunk = std::make_unique<Chunk>();
    chunk->chunk = Mix_LoadWAV(fullPath.c_str());
    if (chunk->chunk == nullptr) engineLog("audio: cannot decode " + fullPath + ": " + Mix_GetError());
    return chunks_.emplace(fullPath, std::move(chunk)).first->second.get();
}

int SdlAudioBackend::play(const std::string& fullPath, bool loop, float volume) {
    Chunk* chunk = load(fullPath);
    if (chunk->chunk == nullptr) return AudioEngine::INVALID_AUDIO_ID;
    const auto* samples = reinterpret_cast<const std::int16_t*>(chunk->chunk->abuf);
    std::lock_guard<std::mutex> lock(mixLock_);
    if (mixer_.playingCount() >= static_cast<std::size_t>(kMaxSounds)) return AudioEngine::INVALID_AUDIO_ID;
    const std::size_t frameBytes = sizeof(std::int16_t) * static_cast<std::size_t>(mixer_.channels());
    const int id = nextId_++;
    if (nextId_ < 0) nextId_ = 0;
    mixer_.play(id, samples, chunk->chunk->alen / frameBytes, loop, volume);
    return id;
}

void SdlAudioBackend::stop(int audioID) {
    std::lock_guard<std::mutex> lock(mixLock_);
    mixer_.stop(audioID);
}

void SdlAudioBackend::stopAll() {
    std::lock_guard<std::mutex> lock(mixLock_);
    mixer_.stopAll();
}

void SdlAudioBackend::pause(int audioID) {
    std::lock_guard<std::mutex> lock(mixLock_);
    mixer_.setPaused(audioID, true);
}

void SdlAudioBackend::resume(int audioID) {
    std::lock_guard<std::mutex> lock(mixLock_);
    mixer_.setPaused(audioID, false);
}

void SdlAudioBackend::setVolume(int audioID, float volume) {
    std::lock_guard<std::mutex> lock(mixLock_);
    mixer_.setVolume(audioID, volume);
}

void SdlAudioBackend::setLoop(int audioID, bool loop) {
    std::lock_guard<std::mutex> lock(mixLock_);
    mixer_.setLoop(audioID, loop);
}

int SdlAudioBackend::playingCount() const {
    std::lock_guard<std::mutex> lock(mixLock_);
    return static_cast<int>(mixer_.playingCount());
}

void SdlAudioBackend::update(float, const std::function<void(int)>& finished) {
    std::vector<int> ended;
    {
        std::lock_guard<std::mutex> lock(mixLock_);
        ended = mixer_.takeEnded();
    }
    std::sort(ended.begin(), ended.end());
    for (int id : ended) finished(id);
}

}  // namespace experimental
}  // namespace cocos2d
