// The SoundManager's events: the music stream and the two volumes.
#include <algorithm>
#include <string>

#include "interface_manager.h"
#include "platform/fsound.h"
#include "resource_manager.h"
#include "sound_manager.h"
#include "system.h"

namespace {

// The pause screen lowers the music by this much.
constexpr int kPauseMusicCut = 128;

const InterfaceManager& Interface() { return *Module<InterfaceManager>::Instance(); }

}  // namespace

// Out-of-range percentages are clamped first: the volume has no meaning
// beyond 0..255, and a huge value would overflow the conversion.
int SoundManager::VolumeFromPercent(int percent) {
    const int clamped = std::min(std::max(percent, 0), 100);
    return static_cast<int>(clamped * 0.01 * 255.0);
}

void SoundManager::ProcessEvent(const Event& event) {
    const std::string& type = event.eventType;
    if (type == kPlayMusic) {
        PlayMusic();
    } else if (type == kStopMusic) {
        StopMusic();
    } else if (type == kAdjustMusicVolume) {
        AdjustMusicVolume();
    } else if (type == kMusicVolume) {
        SetMusicVolumeFromPercent(event.GetParam<int>(kVolumeParam));
    } else if (type == kSoundVolume) {
        soundVolume = VolumeFromPercent(event.GetParam<int>(kVolumeParam));
    }
}

SoundStream* SoundManager::FindMusic() {
    return Module<ResourceManager>::Instance()->get<SoundStream>(Handle(kMusicStream));
}

void SoundManager::PlayMusic() {
    SoundStream* music = FindMusic();
    if (!music) return;
    // Playing again on the held channel restarts the music on that channel.
    if (music_chnl == -1)
        music_chnl = FSOUND_Stream_Play(FSOUND_FREE, music->stream);
    else
        FSOUND_Stream_Play(music_chnl, music->stream);
    FSOUND_Stream_SetMode(music->stream, FSOUND_LOOP_NORMAL);
    SetMusicChannelVolume(musicVolume);
}

void SoundManager::StopMusic() {
    if (SoundStream* music = FindMusic()) FSOUND_Stream_Stop(music->stream);
    music_chnl = -1;
}

void SoundManager::AdjustMusicVolume() {
    switch (Interface().currentState) {
    case InterfaceState::Pause:
        SetMusicChannelVolume(std::max(musicVolume - kPauseMusicCut, 0));
        break;
    case InterfaceState::Ingame:
        SetMusicChannelVolume(musicVolume);
        break;
    default:
        break;
    }
}

void SoundManager::SetMusicVolumeFromPercent(int percent) {
    musicVolume = VolumeFromPercent(percent);
    // The options screen opened from the pause screen: the player should
    // hear the new level at once.
    if (Interface().previousState == InterfaceState::Pause) {
        if (SoundStream* music = FindMusic()) StartMusicIfStopped(*music);
    }
    System& system = *Module<System>::Instance();
    system.Log("music_chnl = " + std::to_string(music_chnl) + "\n");
    system.Log("musicVolume = " + std::to_string(musicVolume) + "\n");
}

void SoundManager::StartMusicIfStopped(SoundStream& music) {
    if (music_chnl == -1) music_chnl = FSOUND_Stream_Play(FSOUND_FREE, music.stream);
    SetMusicChannelVolume(musicVolume);
    FSOUND_Stream_SetMode(music.stream, FSOUND_LOOP_NORMAL);
}

void SoundManager::SetMusicChannelVolume(int volume) {
    if (music_chnl == -1) return;
    FSOUND_SetVolume(music_chnl, volume);
}
