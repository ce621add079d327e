// OpenAudio: the usual audio start-up of a program in one call.
#include <vantrel/audio/audio.h>

namespace vantrel {

String OpenAudio() {
    StartAudioModule();
    StartSonvarDriverModule();
    StartOggLoaderModule();
    StartWavLoaderModule();
    // The device pulled by its own thread plays with the least delay; the
    // timer-fed queue is next. A name that is not registered (no output
    // device at start-up) is simply passed over.
    for (const char* name : {"Sonvar DirectSound", "Sonvar Multimedia"}) {
        if (SelectAudioDriver(name)) return CurrentAudioDriver()->Name();
    }
    SelectAudioDriver("Null");
    return CurrentAudioDriver()->Name();
}

}  // namespace vantrel
