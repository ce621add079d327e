// End to end: the real qirn executable in the test's X server, driven with
// xdotool, watched through screenshots, heard through SDL's disk audio
// driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vantrel/resources/pixmap.h>
#include <vantrel/resources/png_pixmap.h>

namespace {

using namespace vantrel;
using namespace std::chrono_literals;

std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buf[256];
        while (fgets(buf, sizeof buf, pipe)) out += buf;
        pclose(pipe);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

struct Colour {
    double r = 0, g = 0, b = 0;
};

Colour MeanColour(const Ref<TPixmap>& shot, int x0, int y0, int x1, int y1) {
    Colour sum;
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            unsigned argb = static_cast<unsigned>(ReadPixel(shot, x, y));
            sum.r += (argb >> 16) & 255;
            sum.g += (argb >> 8) & 255;
            sum.b += argb & 255;
            ++n;
        }
    }
    return {sum.r / n, sum.g / n, sum.b / n};
}

// Pixels of the region lit by the game's drawing (the background stays dark).
int LitPixels(const Ref<TPixmap>& shot, int x0, int y0, int x1, int y1) {
    int lit = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            unsigned argb = static_cast<unsigned>(ReadPixel(shot, x, y));
            unsigned top = std::max({(argb >> 16) & 255, (argb >> 8) & 255, argb & 255});
            if (top > 120) ++lit;
        }
    return lit;
}

// Regions of the screen that tell the screens apart.
int MenuInk(const Ref<TPixmap>& shot) { return LitPixels(shot, 300, 60, 500, 150); }
int HudInk(const Ref<TPixmap>& shot) { return LitPixels(shot, 8, 8, 120, 70) + LitPixels(shot, 680, 8, 795, 70); }

class GameEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server (the test script starts Xvfb)";
        StartPixmapModule();
        StartPngModule();
        dir_ = std::string(VANTREL_BUILD_DIR) + "/e2e";
        std::system(("mkdir -p " + dir_).c_str());
        audio_ = dir_ + "/audio.raw";
        output_ = dir_ + "/output.txt";
        std::remove(audio_.c_str());
    }
    void TearDown() override {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    void Launch() {
        pid_ = fork();
        if (pid_ == 0) {
            unsetenv("SDL_VIDEODRIVER");  // the driver a player gets
            unsetenv("XDG_RUNTIME_DIR");   // as in a bare session, where SDL must still keep quiet
            setenv("SDL_AUDIODRIVER", "disk", 1);
            // A normal start prints nothing: whatever it prints is kept to be checked.
            FILE* out = std::freopen(output_.c_str(), "w", stdout);
            if (!out || dup2(fileno(out), 2) < 0) _exit(126);
            setenv("SDL_DISKAUDIOFILE", audio_.c_str(), 1);
            // QIRN_COMMAND runs another qirn (an installed one), looked up in PATH.
            const char* command = std::getenv("QIRN_COMMAND");
            execlp(command ? command : QIRN_EXECUTABLE, "qirn", static_cast<char*>(nullptr));
            _exit(127);
        }
        window_ = Shell("timeout 30 xdotool search --sync --name '^OXR #48 - QIRN$' | head -n 1");
        ASSERT_FALSE(window_.empty()) << "the game window did not appear";
        Shell("xdotool windowfocus --sync " + window_);
    }

    // Takes screenshots until ready says the screen is there (the game may
    // still be loading its music when the window appears).
    template <class Ready>
    Ref<TPixmap> WaitForScreen(const std::string& name, Ready ready) {
        auto end = std::chrono::steady_clock::now() + 40s;
        Ref<TPixmap> shot;
        do {
            std::this_thread::sleep_for(500ms);
            shot = Screenshot(name);
            if (shot && ready(shot)) return shot;
        } while (std::chrono::steady_clock::now() < end);
        ADD_FAILURE() << "the screen " << name << " did not appear";
        return shot;
    }

    // A copy of the game with its assets in dir_/<name>, for damaging them.
    std::string CopyOfGame(const std::string& name) {
        const std::string game = std::filesystem::path(QIRN_EXECUTABLE).parent_path().string();
        const std::string copy = dir_ + "/" + name;
        std::system(("rm -rf " + copy + " && mkdir -p " + copy + " && cp -r " QIRN_EXECUTABLE " " + game + "/gfx " +
                     game + "/snd " + copy + "/").c_str());
        return copy;
    }

    // What the game printed, less the lines of SDL's disk audio driver,
    // which the test chose and which announces itself.
    std::string PrintedByTheGame() {
        std::ifstream printed(output_);
        std::string other;
        for (std::string line; std::getline(printed, line);) {
            if (line.rfind("CRITICAL: You are using the SDL disk i/o audio driver!", 0) == 0) continue;
            if (line.rfind("CRITICAL:  Writing to file [", 0) == 0) continue;
            other += line + "\n";
        }
        return other;
    }

    // The audio the game wrote: 44100 stereo frames a second, 16 bits.
    std::vector<char> WrittenAudio() {
        std::ifstream raw(audio_, std::ios::binary);
        return std::vector<char>((std::istreambuf_iterator<char>(raw)), std::istreambuf_iterator<char>());
    }

    // The root mean square of the samples from byte `from` on.
    static double Level(const std::vector<char>& bytes, size_t from) {
        double energy = 0;
        for (size_t i = from; i + 1 < bytes.size(); i += 2) {
            const int16_t s =
                static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
            energy += static_cast<double>(s) * s;
        }
        return std::sqrt(energy / static_cast<double>((bytes.size() - from) / 2));
    }

    Ref<TPixmap> Screenshot(const std::string& name) {
        std::string path = dir_ + "/" + name + ".png";
        Shell("import -window " + window_ + " png:" + path);
        Ref<TPixmap> shot = LoadPixmapFrom(path.c_str());
        EXPECT_TRUE(shot) << "no screenshot " << path;
        if (shot) {
            EXPECT_EQ(shot->width, 800);
            EXPECT_EQ(shot->height, 600);
        }
        return shot;
    }

    // Focuses the game's window first: another program may have taken the focus.
    void Key(const char* key) {
        Shell("xdotool windowfocus --sync " + window_ + " key --delay 60 " + key);
    }

    // The exit status, or -1000 when the game did not end within the time.
    int WaitForExit(std::chrono::seconds limit) {
        auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(50ms);
        }
        return -1000;
    }

    pid_t pid_ = -1;
    std::string dir_, audio_, output_, window_;
};

TEST_F(GameEndToEnd, TitlePlayAndBackThenEscapeQuits) {
    Launch();
    Ref<TPixmap> title = WaitForScreen("title", [](auto& shot) { return MenuInk(shot) > 1500; });
    ASSERT_TRUE(title);
    std::this_thread::sleep_for(1s);  // the menu is fully shown: W now starts a run
    Colour t = MeanColour(title, 0, 0, 800, 600);
    EXPECT_GT(t.b, t.r + 5) << "the title screen is drawn in its blue hue";
    EXPECT_GT(t.b, t.g);
    int titleHud = HudInk(title);

    Key("w");
    Ref<TPixmap> play = WaitForScreen("play", [&](auto& shot) {
        return MenuInk(shot) < 500 && HudInk(shot) > titleHud + 300;
    });
    ASSERT_TRUE(play);

    Key("Escape");
    Ref<TPixmap> back = WaitForScreen("back", [&](auto& shot) {
        return MenuInk(shot) > 1500 && HudInk(shot) < titleHud + 100;
    });
    ASSERT_TRUE(back);
    std::this_thread::sleep_for(2500ms);  // the hue turns back to 230 over two seconds
    back = Screenshot("back");
    Colour b = MeanColour(back, 0, 0, 800, 600);
    EXPECT_GT(b.b, b.r + 5) << "back on the title screen, blue again";

    Key("Escape");
    EXPECT_EQ(WaitForExit(10s), 0);
    EXPECT_EQ(PrintedByTheGame(), "") << "a normal start prints nothing";

    const std::vector<char> bytes = WrittenAudio();
    ASSERT_GT(bytes.size(), 44100u * 4) << "at least a second of audio was written";
    EXPECT_GT(Level(bytes, 0), 300.0) << "the written audio holds the music";
}

TEST_F(GameEndToEnd, MissingAssetIsNamedAndFails) {
    std::string empty = dir_ + "/empty";
    std::system(("rm -rf " + empty + " && mkdir -p " + empty + " && cp " QIRN_EXECUTABLE " " + empty + "/").c_str());
    std::string out = Shell(empty + "/qirn 2>&1; echo \"status=$?\"");
    EXPECT_NE(out.find("gfx/interface.png"), std::string::npos) << out;
    EXPECT_NE(out.find("status=255"), std::string::npos) << out;
}

TEST_F(GameEndToEnd, ASoundWithoutARateIsNamedAndFails) {
    std::ifstream in(std::filesystem::path(QIRN_EXECUTABLE).parent_path().string() + "/snd/hit.wav",
                     std::ios::binary);
    std::string rateless((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(rateless.size(), 44u);
    rateless.replace(24, 4, 4, '\0');   // the format chunk's rate
    // The music (any loader may claim a file) and an effect, in turn.
    for (std::string name : {"snd/qirn.ogg", "snd/miss.wav"}) {
        const std::string copy = CopyOfGame("rateless");
        std::ofstream(copy + "/" + name, std::ios::binary) << rateless;
        std::string out = Shell("SDL_AUDIODRIVER=dummy timeout 60 " + copy + "/qirn 2>&1; echo \"status=$?\"");
        EXPECT_EQ(out, "Missing or unreadable sound file: " + name + "\nstatus=255");
    }
}

// Damage a few seconds into the music is only met as it decodes while
// playing: the stretch is skipped, the music sounds on past it and the game
// plays on without a word (the time-out's status 124 shows it running).
TEST_F(GameEndToEnd, MusicDamagedPastItsStartPlaysOn) {
    const std::string copy = CopyOfGame("damaged");
    std::fstream music(copy + "/snd/qirn.ogg", std::ios::binary | std::ios::in | std::ios::out);
    std::string bytes((std::istreambuf_iterator<char>(music)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 100000u);
    // The music's length: the last page's granule position over the rate in
    // the identification header; a tenth of the way in is some seconds past
    // the two the game starts with.
    const auto le = [&](size_t at, int n) {
        uint64_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(bytes[at + i]);
        return v;
    };
    const double seconds = static_cast<double>(le(bytes.rfind("OggS") + 6, 8)) / le(bytes.find("\x01vorbis") + 12, 4);
    const double damagedAt = seconds / 10;
    ASSERT_GT(damagedAt, 4.0);
    music.seekp(static_cast<std::streamoff>(bytes.size() / 10));
    music << std::string(8192, '\0');
    music.close();

    const std::string status = Shell("SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=" + audio_ + " timeout " +
                                     std::to_string(static_cast<int>(damagedAt) + 8) + " " + copy + "/qirn >" +
                                     output_ + " 2>&1; echo $?");
    EXPECT_EQ(status, "124");
    EXPECT_EQ(PrintedByTheGame(), "");

    // The music from the first second on.
    const std::vector<char> out = WrittenAudio();
    const size_t past = static_cast<size_t>((damagedAt + 1) * 44100) * 4;
    ASSERT_GT(out.size(), past + 44100 * 4) << "the music played on for a second past the damage";
    EXPECT_GT(Level(out, past), 300.0) << "the music sounds past the damage";
}

// No display at all: the game says so and ends, rather than running unseen
// (the time-out's status 124 would show it still running).
TEST(GameWithoutDisplay, NoOpenGLIsNamedAndFails) {
    // Nor any Wayland socket: the reason is the game's own line alone, with
    // no complaint of the Wayland library that SDL's probing would print.
    std::string out = Shell("timeout 20 env -u DISPLAY -u SDL_VIDEODRIVER -u XDG_RUNTIME_DIR -u WAYLAND_DISPLAY "
                            "-u WAYLAND_SOCKET " QIRN_EXECUTABLE " 2>&1; echo \"status=$?\"");
    EXPECT_EQ(out, "Cannot open the 800 x 600 OpenGL window: no OpenGL context is available\nstatus=255");
}

}  // namespace
