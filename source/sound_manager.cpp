// The SoundManager's module slots, the listener and the sound effects. The
// music events are in sound_manager/music.cpp.
#include "sound_manager.h"

#include <set>
#include <string>

#include "event_manager.h"
#include "object_manager.h"
#include "platform/fsound.h"
#include "resource_manager.h"
#include "system.h"

namespace {

struct ListenerPlace {
    Vector position;
    Vector forward;
};

// The camera looks along the negated third row of its view matrix. (The
// third row with only z negated agrees while the camera faces -z, but
// mirrors left and right once it turns.)
Vector ViewForward(const Matrix& view) {
    const Vector back = view.VecFromRow(2);
    return Vector(-back.x, -back.y, -back.z);
}

// Reads the listener under the object lock: the loader thread and scripts
// may write the player and the camera.
ListenerPlace ReadListenerPlace(bool followPlayer) {
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    ObjectLock lock(objects);
    ListenerPlace place;
    place.position = objects.cameraObject.target;
    if (followPlayer && objects.HasGameObject(std::string(GameObject::kPlayerName)))
        place.position = objects.GetGameObject(std::string(GameObject::kPlayerName))->trans;
    place.forward = ViewForward(objects.cameraObject.viewMat);
    return place;
}

void PlaceListener(const ListenerPlace& place) {
    const float position[3] = {place.position.x, place.position.y, place.position.z};
    FSOUND_3D_Listener_SetAttributes(position, nullptr, place.forward.x, place.forward.y,
                                     place.forward.z, 0.0f, 1.0f, 0.0f);
}

void PlaceChannel(int channel, const Vector& at) {
    const float position[3] = {at.x, at.y, at.z};
    FSOUND_3D_SetAttributes(channel, position, nullptr);
}

ResourceManager& Resources() { return *Module<ResourceManager>::Instance(); }

}  // namespace

SoundManager::SoundManager() : Module<SoundManager>("SoundManager") {}

SoundManager::~SoundManager() = default;

void SoundManager::Init() {
    // Without a device the layer stays silent and the game runs on.
    FSOUND_Init(44100, 32, 0);
    RegisterEventClient();
    PlaceListener(ReadListenerPlace(false));
    FSOUND_3D_SetRolloffFactor(1.0f);
    soundVolume = 255;
    musicVolume = 255;
    boost_chnl = -1;
    music_chnl = -1;
}

void SoundManager::Update() {
    PlaceListener(ReadListenerPlace(true));
    DispatchEvents();
}

void SoundManager::Kill() {
    UnregisterEventClient();
    // A game that never loaded them has nothing to free: no error.
    if (Resources().IsStored(kHullHitSample))
        if (Sound* hullHit = Resources().get<Sound>(Handle(kHullHitSample)))
            FSOUND_Sample_Free(hullHit->sample);
    if (Resources().IsStored(kMusicStream))
        if (SoundStream* music = FindMusic()) FSOUND_Stream_Close(music->stream);
    FSOUND_Close();
}

void SoundManager::PlaySample(const Sound& sound) {
    // Samples are null whenever sound is off; that is not worth a message.
    if (!sound.sample) return;
    // Callers may hold the object lock; the camera is written on the main
    // thread, so reading it here needs none.
    const Vector& camera = Module<ObjectManager>::Instance()->cameraObject.target;
    if ((camera - sound.position).Mag() > kHearingDistance) return;
    if (FSOUND_GetChannelsPlaying() > kMaxChannelsPlaying) return;

    if (sound.name == kBoostSample) {
        if (boost_chnl == -1) boost_chnl = FSOUND_PlaySound(FSOUND_FREE, sound.sample);
        if (boost_chnl != -1) PlaceChannel(boost_chnl, sound.position);
        return;
    }
    const int channel = FSOUND_PlaySound(FSOUND_FREE, sound.sample);
    FSOUND_Sample_SetMode(sound.sample, FSOUND_LOOP_OFF);
    if (channel == -1) return;
    PlaceChannel(channel, sound.position);
    if (FSOUND_GetVolume(channel) != soundVolume) FSOUND_SetVolume(channel, soundVolume);
}

void SoundManager::PlayStoredSample(const std::string& name, const Vector& at) {
    if (!Resources().IsStored(name)) {
        static std::set<std::string> warned;  // main thread only, like every entry point
        if (warned.insert(name).second)
            Module<System>::Instance()->Warning(SOURCE_POS + "sound " + name + " is not loaded; it stays silent");
        return;
    }
    const Sound* stored = Resources().get<Sound>(Handle(name));
    if (!stored) return;  // stored as another type: reported by the store
    Sound sound = *stored;
    sound.position = at;
    PlaySample(sound);
}

void SoundManager::StopSound() {
    if (boost_chnl == -1) return;
    FSOUND_StopSound(boost_chnl);
    boost_chnl = -1;
}
