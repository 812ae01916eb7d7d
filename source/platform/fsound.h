// The FSOUND sound interface: the small set of calls the game makes to play
// 3D sound effects and one music stream. The calls forward to the current
// SoundLayer (sound_layer.h): normally our SDL_mixer layer, in tests a fake.
//
// Owns nothing itself. Threads: playing, stopping, moving and volume calls
// come from the main thread; FSOUND_Sample_Load and FSOUND_Stream_Open may
// also come from the level-loading thread. Must never fail hard: when no
// audio device opens, FSOUND_Init returns false and every later call is a
// harmless no-op that returns its failure value (null, -1, false or 0).
//
// Handles: a sample or stream handle is an opaque pointer owned by the layer
// until FSOUND_Sample_Free / FSOUND_Stream_Close or FSOUND_Close; a null or
// already released handle is ignored. A channel handle is a non-negative int
// that stays tied to one playback: once its channel is reused by another
// play, the old handle no longer reaches it.
#pragma once

// Opaque handles; only the layer that hands them out knows their layout.
struct FSOUND_SAMPLE;
struct FSOUND_STREAM;

// Channel argument: any free channel.
constexpr int FSOUND_FREE = -1;
// Mode bits for samples and streams.
constexpr unsigned int FSOUND_LOOP_OFF = 1;
constexpr unsigned int FSOUND_LOOP_NORMAL = 2;

// Opens the audio device at mixRate Hz with maxChannels sound-effect
// channels (clamped to 1..256). Flags are accepted and unused. False when no
// device opened; sound then stays silent until a later successful Init.
bool FSOUND_Init(int mixRate, int maxChannels, unsigned int flags);
// Stops everything, frees every sample and stream still loaded and closes
// the device. Handles given out before are dead afterwards.
void FSOUND_Close();

// Loads a whole WAV file. index, offset and length are accepted for the
// caller's sake and unused (every load takes a new slot and the whole file).
// mode may carry FSOUND_LOOP_NORMAL. Null when sound is off or the file is
// unreadable (logged as a warning).
FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* file, unsigned int mode, int offset,
                                  int length);
// Sets or clears looping; takes effect at the sample's next play.
bool FSOUND_Sample_SetMode(FSOUND_SAMPLE* sample, unsigned int mode);
// Stops every channel playing the sample and frees it.
void FSOUND_Sample_Free(FSOUND_SAMPLE* sample);
// Plays the sample from its start on a free channel (FSOUND_FREE) or on the
// given channel (its index; whatever played there stops). Returns the
// channel handle, or -1 when nothing could play. Volume starts at 255,
// centred and undamped until FSOUND_3D_SetAttributes places it.
int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample);
// Stops the playback the handle names (the music too, for its handle).
bool FSOUND_StopSound(int channel);

// Opens a WAV file as the music stream (decoded whole into memory).
FSOUND_STREAM* FSOUND_Stream_Open(const char* file, unsigned int mode, int offset, int length);
// Sets or clears looping; a playing stream follows the change at once.
bool FSOUND_Stream_SetMode(FSOUND_STREAM* stream, unsigned int mode);
// Starts the stream from its start on the one music channel and returns that
// channel's handle (-1 on failure). Given the handle of the music channel it
// restarts and returns the same handle; FSOUND_FREE or any other channel
// gives a new handle, and the old one goes stale. One stream plays at a time.
int FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream);
bool FSOUND_Stream_Stop(FSOUND_STREAM* stream);
// Stops the stream if it plays and frees it.
bool FSOUND_Stream_Close(FSOUND_STREAM* stream);

// Places a playing sound-effect channel at pos (x, y, z); vel is unused and
// may be null. Coordinates are the game's right-handed world.
bool FSOUND_3D_SetAttributes(int channel, const float* pos, const float* vel);
// The listener: position (null keeps the previous one), velocity (unused),
// forward and top vectors. Every placed channel is re-panned.
void FSOUND_3D_Listener_SetAttributes(const float* pos, const float* vel, float fx, float fy,
                                      float fz, float tx, float ty, float tz);
// Distance damping: 0 = none, 1 = natural, up to 10 = steep.
void FSOUND_3D_SetRolloffFactor(float rolloff);

// Channel volume 0..255 (clamped). A stale or unknown handle is ignored
// (false); FSOUND_GetVolume then gives 0.
bool FSOUND_SetVolume(int channel, int volume);
int FSOUND_GetVolume(int channel);
// Sound-effect channels playing now, plus one while the music plays.
int FSOUND_GetChannelsPlaying();
