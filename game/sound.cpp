// Sound set-up and effects: the driver choice, the looping music and the
// three effects. A missing sound device leaves the engine's silent driver
// current; the game then runs without sound. A sound file that cannot be
// read at start-up ends the game; music that stops decoding later, while it
// already plays, stops there and the game plays on.
#include <cstdio>

#include "game/qirn.h"

namespace qirn {

using namespace vantrel;

int Sound::on = 1;
Ref<TSound> Sound::music;
Ref<TSound> Sound::shotSnd;
Ref<TSound> Sound::hitSnd;
Ref<TSound> Sound::missSnd;
Ref<TChannel> Sound::musicChannel;
Ref<TSampleLoadAhead> Sound::musicLoad;

namespace {

// A file no loader reads and a sample the running driver cannot play are
// both missing assets; under the silent driver any readable file will do.
[[noreturn]] void MissingSound(const char* path) {
    throw TRuntimeException(String("Missing or unreadable sound file: ") + String(path));
}

// source: the file's path, or the sample a load started ahead gave (Null
// when no loader read the file).
Ref<TSound> RequireSound(const char* path, const Ref<Object>& source, int flags) {
    Ref<TSound> sound = source ? LoadSoundFromUrl(source, flags) : nullptr;
    if (!sound) MissingSound(path);
    return sound;
}

Ref<TSound> RequireSound(const char* path, int flags) { return RequireSound(path, String(path).AsObject(), flags); }

}  // namespace

void Sound::Load() {
    for (const char* name : {"Sonvar DirectSound", "Sonvar Multimedia", "Sonvar", "Null"}) {
        if (HasAudioDriver(name)) {
            SelectAudioDriver(name);
            break;
        }
    }
    LoadFiles();
}

void Sound::LoadFiles() {
    // From the load StartUp began, when it did.
    music = musicLoad ? RequireSound(musicFile, musicLoad->Take(), 1) : RequireSound(musicFile, 1);
    musicChannel = StartSound(music, nullptr);
    shotSnd = RequireSound("snd/shot.wav", 0);
    hitSnd = RequireSound("snd/hit.wav", 0);
    missSnd = RequireSound("snd/miss.wav", 0);
}

void Sound::CheckMusic() {
    if (!musicLoad || !musicLoad->Done()) return;
    const bool whole = musicLoad->Whole();
    musicLoad = nullptr;
    // The music already plays up to where decoding stopped and waits there,
    // silent: the run goes on without it, and the player learns why.
    if (!whole) {
        std::fprintf(stderr, "Damaged sound file, the music stops here: %s\n", musicFile);
        std::fflush(stderr);
    }
}

void Sound::Play(const Ref<TSound>& effect) {
    if (on) StartSound(effect, nullptr);
}

}  // namespace qirn
