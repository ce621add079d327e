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
    // device at start-up) is passed over like one that fails to start.
    for (const char* name : {"Sonvar DirectSound", "Sonvar Multimedia", "Null"}) {
        if (SelectAudioDriver(name)) break;
    }
    return CurrentAudioDriver()->Name();
}

}  // namespace vantrel
