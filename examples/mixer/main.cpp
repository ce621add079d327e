// Mixer: WAV and OGG samples played on channels of their own with volume,
// pan and rate, and the state of every channel drawn each frame.
//
//   vantrel_mixer SOUND.wav|SOUND.ogg ... [--frames N]
//
// Keys: 1..9 (re)start the sound of that channel, Tab selects a channel,
// Up/Down change its volume, Left/Right its pan, - and = its rate, Space
// pauses or resumes it, Escape quits. With --frames the program plays every
// sound and quits by itself after N frames. Without a sound device the
// engine's silent driver plays nothing and the channels never run. Exits
// with status 255, naming the cause, when a file cannot be loaded or no
// window can be opened.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include <vantrel/audio/audio.h>
#include <vantrel/render/gl/gl_vel2d_driver.h>
#include <vantrel/render/graphics.h>
#include <vantrel/render/vel2d.h>
#include <vantrel/runtime/runtime.h>
#include <vantrel/system/polled_input.h>
#include <vantrel/system/timer.h>

using namespace vantrel;

namespace {

struct Track {
    std::string name;
    Ref<TAudioSample> sample;  // kept for its length and rate
    Ref<TSound> sound;
    Ref<TChannel> channel;     // reserved once, reused by every start
    float volume = 0.8f, pan = 0.0f, rate = 1.0f;
    bool paused = false;
};

// An uncaught runtime exception ends the program: RunProgram prints its
// text on standard error and exits with status 255.
[[noreturn]] void Fail(const std::string& message) {
    RaiseRuntimeError(String::FromUtf8("vantrel_mixer: " + message));
}

// RunProgram makes the executable's folder the working directory, so a
// relative path from the command line is taken from where it was started.
String FromLaunchDir(const std::string& path) {
    String p = String::FromUtf8(path);
    return path[0] == '/' ? p : LaunchDir() + "/" + p;
}

void Start(Track& t) {
    PrepareSound(t.sound, t.channel);  // cued paused, so the settings apply from the first frame
    ChangeChannelVolume(t.channel, t.volume);
    ChangeChannelPan(t.channel, t.pan);
    ChangeChannelRate(t.channel, t.rate);
    ResumeChannelPlayback(t.channel);
    t.paused = false;
}

// A bar of width w filled to fraction f (0..1), with a frame.
void Bar(float x, float y, float w, float f) {
    SetDrawColor(60, 70, 90);
    FillRect(x, y, w, 10);
    SetDrawColor(120, 200, 255);
    FillRect(x, y, w * std::clamp(f, 0.0f, 1.0f), 10);
}

void DrawState(const String& driver, const std::vector<Track>& tracks, size_t selected) {
    SetClearColor(12, 14, 24);
    ClearCanvas();
    SetDrawColor(255, 255, 255);
    DrawTextAt(String("driver: ") + driver, 8, 8);
    DrawTextAt("1-9 start  Tab select  Up/Down volume  Left/Right pan  -/= rate  Space pause", 8, 28);
    SetDrawColor(150, 160, 190);
    DrawTextAt("volume", 8, 44);
    DrawTextAt("pan", 140, 44);
    DrawTextAt("rate", 272, 44);
    DrawTextAt("position", 404, 44);
    for (size_t i = 0; i < tracks.size(); ++i) {
        const Track& t = tracks[i];
        float y = 68.0f + 48.0f * float(i);
        int position = 0;
        if (Ref<TSonvarChannel> mixed = Cast<TSonvarChannel>(t.channel)) position = mixed->Position();
        bool playing = IsChannelPlaying(t.channel);
        SetDrawColor(255, i == selected ? 220 : 255, i == selected ? 80 : 255);
        std::string line = std::to_string(i + 1) + " " + t.name + (playing ? (t.paused ? "  paused" : "  playing") : "  stopped");
        DrawTextAt(String::FromUtf8(line), 8, y);
        Bar(8, y + 20, 120, t.volume);
        Bar(140, y + 20, 120, (t.pan + 1.0f) / 2.0f);
        Bar(272, y + 20, 120, t.rate / 2.0f);
        Bar(404, y + 20, 228, t.sample->length ? float(position % t.sample->length) / float(t.sample->length) : 0.0f);
    }
    FlipGraphics(0);
}

void Run() {
    Array<String> args = AppArgs();
    std::vector<Track> tracks;
    int frameLimit = 0;
    StartTimerModule();
    String driver = OpenAudio();  // the loaders and the first driver that starts
    for (int i = 1; i < args->Length(); ++i) {
        std::string arg = (*args)[i].ToUtf8();
        if (arg == "--frames" && i + 1 < args->Length()) {
            frameLimit = std::atoi((*args)[++i].ToUtf8().c_str());
            continue;
        }
        Track t;
        t.name = arg.substr(arg.find_last_of('/') + 1);
        t.sample = LoadSampleFromUrl(FromLaunchDir(arg));
        if (!t.sample) Fail("cannot load " + arg);
        t.sound = LoadSoundFromUrl(t.sample, 0);  // flags 1 would loop it
        t.channel = ReserveChannel();
        tracks.push_back(t);
    }
    if (tracks.empty() || tracks.size() > 9) Fail("usage: vantrel_mixer SOUND... (1 to 9 WAV or OGG files) [--frames N]");

    InitGLVel2DModule();
    SetAppTitle("Vantrel mixer");
    if (!OpenGraphics(640, 72 + 48 * int(tracks.size()), 0, 60, 0)) Fail("cannot open an OpenGL window");
    Ref<TTimer> timer = MakeTimer(60.0f, nullptr);

    if (frameLimit > 0) {
        for (Track& t : tracks) Start(t);
    }
    size_t selected = 0;
    for (int frame = 1; !TakeTerminateRequest() && !TakeKeyHits(keys::Escape); ++frame) {
        for (size_t i = 0; i < tracks.size(); ++i) {
            if (TakeKeyHits(keys::Digit1 + int(i))) Start(tracks[i]);
        }
        if (TakeKeyHits(keys::Tab)) selected = (selected + 1) % tracks.size();
        Track& t = tracks[selected];
        t.volume = std::clamp(t.volume + 0.1f * float(TakeKeyHits(keys::Up) - TakeKeyHits(keys::Down)), 0.0f, 1.0f);
        t.pan = std::clamp(t.pan + 0.2f * float(TakeKeyHits(keys::Right) - TakeKeyHits(keys::Left)), -1.0f, 1.0f);
        t.rate = std::clamp(t.rate + 0.1f * float(TakeKeyHits(keys::Equals) - TakeKeyHits(keys::Minus)), 0.1f, 2.0f);
        ChangeChannelVolume(t.channel, t.volume);
        ChangeChannelPan(t.channel, t.pan);
        ChangeChannelRate(t.channel, t.rate);
        if (TakeKeyHits(keys::Space)) {
            t.paused = !t.paused;
            t.paused ? PauseChannelPlayback(t.channel) : ResumeChannelPlayback(t.channel);
        }
        DrawState(driver, tracks, selected);
        if (frame == frameLimit) break;
        AwaitTimerTicks(timer);
    }
}

}  // namespace

int main(int argc, char** argv) { return RunProgram(argc, argv, Run); }
