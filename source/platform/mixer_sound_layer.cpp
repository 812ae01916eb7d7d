// The SDL_mixer layer's lifetime: opening and closing the device, loading
// and freeing samples and streams.
#include "platform/mixer_sound_layer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>

#include "platform/channel_handle.h"
#include "platform/mixer_handles.h"
#include "platform/wav_check.h"
#include "platform/log_hook.h"

namespace platform {
namespace {

constexpr int kOutputChannels = 2;
constexpr int kChunkFrames = 1024;

// Why the device did not open. SDL reports no error of its own when no
// audio driver started, so whatever older error it holds is not the cause.
std::string AudioFailure() {
    char driver[32];
    if (SDL_AudioDriverName(driver, sizeof driver)) {
        const std::string reason = SDL_GetError();
        return reason.empty() ? "the audio device could not be opened" : reason;
    }
    const char* asked = std::getenv("SDL_AUDIODRIVER");
    if (asked && *asked) return std::string("the audio driver \"") + asked + "\" could not be started";
    return "no audio driver could be started";
}

}  // namespace

SoundLayer& MixerLayer() {
    // Never destroyed: SDL may already be shut down when statics die.
    static MixerSoundLayer* layer = new MixerSoundLayer();
    return *layer;
}

bool MixerSoundLayer::OpenDevice(int mixRate) {
    // System may or may not have started SDL's audio; when it has not, we
    // start it here and stop it again at Close.
    SDL_ClearError();
    if (!SDL_WasInit(SDL_INIT_AUDIO)) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) {
            LogWarning("no audio device, sound is off: " + AudioFailure());
            return false;
        }
        startedAudio = true;
    }
    if (mixRate < 8000 || mixRate > 96000) mixRate = MIX_DEFAULT_FREQUENCY;
    if (Mix_OpenAudio(mixRate, AUDIO_S16SYS, kOutputChannels, kChunkFrames) < 0) {
        LogWarning("no audio device, sound is off: " + AudioFailure());
        if (startedAudio) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        startedAudio = false;
        return false;
    }
    return true;
}

bool MixerSoundLayer::Init(int mixRate, int maxChannels, unsigned int /*flags*/) {
    std::lock_guard<std::mutex> loadGuard(loadMutex);
    std::lock_guard<std::mutex> tableGuard(tableMutex);
    if (open) return true;
    if (!OpenDevice(mixRate)) return false;
    int count = std::clamp(maxChannels, 1, kMaxEffectChannels);
    Mix_AllocateChannels(count);
    channelCount = count;
    ResetChannels();
    listener = SoundListener();
    rolloff = 1.0f;
    player.SetVolume(MIX_MAX_VOLUME);
    player.Attach();
    open = true;
    return true;
}

void MixerSoundLayer::Close() {
    std::lock_guard<std::mutex> loadGuard(loadMutex);
    std::lock_guard<std::mutex> tableGuard(tableMutex);
    if (!open) return;
    player.Detach();
    Mix_HaltChannel(-1);
    FreeEverything();
    Mix_CloseAudio();
    if (startedAudio) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    startedAudio = false;
    channelCount = 0;
    open = false;
}

// Every channel starts afresh, and its generation moves on so that handles
// given out before are dead.
void MixerSoundLayer::ResetChannels() {
    auto reset = [](Channel& channel) {
        unsigned generation = channel.generation;
        channel = Channel();
        if (generation != 0) channel.generation = NextChannelGeneration(generation);
    };
    for (Channel& channel : channels) reset(channel);
    reset(music);
}

void MixerSoundLayer::FreeEverything() {
    for (FSOUND_SAMPLE* sample : samples) {
        Mix_FreeChunk(sample->chunk);
        delete sample;
    }
    samples.clear();
    for (FSOUND_STREAM* stream : streams) {
        Mix_FreeChunk(stream->chunk);
        delete stream;
    }
    streams.clear();
}

Mix_Chunk* MixerSoundLayer::LoadChunk(const char* file) {
    if (!open || !file) return nullptr;
    std::vector<std::uint8_t> bytes;
    std::string problem;
    WavLayout layout;
    if (!ReadSoundFile(file, bytes, problem) || !ReadWavLayout(bytes, layout, problem)) {
        LogWarning(std::string("sound file not loaded: ") + file + ": " + problem);
        return nullptr;
    }
    // SDL decodes the checked chunks only, never its own reading of the file.
    const std::vector<std::uint8_t> canonical = CanonicalWav(bytes, layout);
    // Decoding converts to the device's format, so the device must be open.
    SDL_RWops* source = SDL_RWFromConstMem(canonical.data(), static_cast<int>(canonical.size()));
    Mix_Chunk* chunk = source ? Mix_LoadWAV_RW(source, 1) : nullptr;
    if (!chunk) LogWarning(std::string("sound file not loaded: ") + file + ": " + Mix_GetError());
    return chunk;
}

FSOUND_SAMPLE* MixerSoundLayer::SampleLoad(int /*index*/, const char* file, unsigned int mode,
                                           int /*offset*/, int /*length*/) {
    std::lock_guard<std::mutex> loadGuard(loadMutex);
    Mix_Chunk* chunk = LoadChunk(file);
    if (!chunk) return nullptr;
    auto* sample = new FSOUND_SAMPLE;
    sample->chunk = chunk;
    sample->loop = (mode & FSOUND_LOOP_NORMAL) != 0;
    std::lock_guard<std::mutex> tableGuard(tableMutex);
    samples.insert(sample);
    return sample;
}

bool MixerSoundLayer::SampleSetMode(FSOUND_SAMPLE* sample, unsigned int mode) {
    std::lock_guard<std::mutex> guard(tableMutex);
    if (!OwnsSample(sample)) return false;
    if (mode & FSOUND_LOOP_NORMAL) sample->loop = true;
    if (mode & FSOUND_LOOP_OFF) sample->loop = false;
    return true;
}

void MixerSoundLayer::SampleFree(FSOUND_SAMPLE* sample) {
    std::lock_guard<std::mutex> guard(tableMutex);
    if (!OwnsSample(sample)) return;
    samples.erase(sample);
    Mix_FreeChunk(sample->chunk);  // halts every channel still playing it
    delete sample;
}

FSOUND_STREAM* MixerSoundLayer::StreamOpen(const char* file, unsigned int mode, int /*offset*/,
                                           int /*length*/) {
    std::lock_guard<std::mutex> loadGuard(loadMutex);
    Mix_Chunk* chunk = LoadChunk(file);
    if (!chunk) return nullptr;
    auto* stream = new FSOUND_STREAM;
    stream->chunk = chunk;
    stream->music.bytes = chunk->abuf;
    stream->music.length = chunk->alen;
    stream->music.loop.store((mode & FSOUND_LOOP_NORMAL) != 0);
    std::lock_guard<std::mutex> tableGuard(tableMutex);
    streams.insert(stream);
    return stream;
}

bool MixerSoundLayer::StreamClose(FSOUND_STREAM* stream) {
    std::lock_guard<std::mutex> guard(tableMutex);
    if (!OwnsStream(stream)) return false;
    player.StopIfPlaying(&stream->music);
    streams.erase(stream);
    Mix_FreeChunk(stream->chunk);
    delete stream;
    return true;
}

bool MixerSoundLayer::OwnsSample(FSOUND_SAMPLE* sample) const {
    return open && sample && samples.count(sample) != 0;
}

bool MixerSoundLayer::OwnsStream(FSOUND_STREAM* stream) const {
    return open && stream && streams.count(stream) != 0;
}

}  // namespace platform
