// End to end: the real qirn executable in the test's X server, driven with
// xdotool, watched through screenshots, heard through SDL's disk audio
// driver.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "resources/pixmap.h"
#include "resources/png_pixmap.h"

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

int BrightPixels(const Ref<TPixmap>& shot, int x0, int y0, int x1, int y1) {
    int bright = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            unsigned argb = static_cast<unsigned>(ReadPixel(shot, x, y));
            int level = ((argb >> 16) & 255) + ((argb >> 8) & 255) + (argb & 255);
            if (level > 360) ++bright;
        }
    return bright;
}

class GameEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server (the test script starts Xvfb)";
        StartPixmapModule();
        StartPngModule();
        dir_ = std::string(VANTREL_BUILD_DIR) + "/e2e";
        std::system(("mkdir -p " + dir_).c_str());
        audio_ = dir_ + "/audio.raw";
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
            setenv("SDL_AUDIODRIVER", "disk", 1);
            setenv("SDL_DISKAUDIOFILE", audio_.c_str(), 1);
            execl(QIRN_EXECUTABLE, "qirn", static_cast<char*>(nullptr));
            _exit(127);
        }
        window_ = Shell("timeout 30 xdotool search --sync --name '^OXR #48 - QIRN$' | head -n 1");
        ASSERT_FALSE(window_.empty()) << "the game window did not appear";
        Shell("xdotool windowfocus --sync " + window_);
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

    void Key(const char* key) { Shell(std::string("xdotool key --delay 60 ") + key); }

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
    std::string dir_, audio_, window_;
};

TEST_F(GameEndToEnd, TitlePlayAndBackThenEscapeQuits) {
    Launch();
    std::this_thread::sleep_for(2s);
    Ref<TPixmap> title = Screenshot("title");
    ASSERT_TRUE(title);
    Colour t = MeanColour(title, 0, 0, 800, 600);
    EXPECT_GT(t.b, t.r + 5) << "the title screen is drawn in its blue hue";
    EXPECT_GT(t.b, t.g);
    int titleHud = BrightPixels(title, 8, 8, 120, 70);

    Key("w");
    std::this_thread::sleep_for(3s);
    Ref<TPixmap> play = Screenshot("play");
    ASSERT_TRUE(play);
    EXPECT_GT(BrightPixels(play, 8, 8, 120, 70), titleHud + 50) << "the HUD shows the level";
    EXPECT_GT(BrightPixels(play, 680, 8, 795, 70), 50) << "the HUD shows the score";

    Key("Escape");
    std::this_thread::sleep_for(4s);
    Ref<TPixmap> back = Screenshot("back");
    ASSERT_TRUE(back);
    Colour b = MeanColour(back, 0, 0, 800, 600);
    EXPECT_GT(b.b, b.r + 5) << "back on the title screen, blue again";
    EXPECT_LT(BrightPixels(back, 8, 8, 120, 70), titleHud + 50);

    Key("Escape");
    EXPECT_EQ(WaitForExit(10s), 0);

    std::ifstream raw(audio_, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(raw)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 44100u * 4) << "at least a second of audio was written";
    double energy = 0;
    size_t frames = bytes.size() / 2;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        int16_t s = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
        energy += static_cast<double>(s) * s;
    }
    EXPECT_GT(std::sqrt(energy / frames), 300.0) << "the written audio holds the music";
}

TEST_F(GameEndToEnd, MissingAssetIsNamedAndFails) {
    std::string empty = dir_ + "/empty";
    std::system(("rm -rf " + empty + " && mkdir -p " + empty + " && cp " QIRN_EXECUTABLE " " + empty + "/").c_str());
    std::string out = Shell(empty + "/qirn 2>&1; echo \"status=$?\"");
    EXPECT_NE(out.find("gfx/interface.png"), std::string::npos) << out;
    EXPECT_NE(out.find("status=255"), std::string::npos) << out;
}

}  // namespace
