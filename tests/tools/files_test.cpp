// The files the build generates beside the game executable, read back the
// way the game reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include <unistd.h>

#include <vantrel/audio/ogg_loader.h>
#include <vantrel/audio/sample_loader.h>
#include <vantrel/audio/wav_loader.h>
#include <vantrel/resources/png_pixmap.h>
#include <vantrel/resources/stream.h>
#include "tools/assetgen/art.h"
#include "tools/assetgen/music.h"
#include "tools/assetgen/sound_output.h"

using namespace vantrel;
namespace fs = std::filesystem;

namespace {

const fs::path kGameDir = fs::path(VANTREL_BUILD_DIR) / "game";

const char* const kPictures[] = {"patterns.png", "interface.png", "button1.png", "button2.png",
                                 "font.png",     "shield.png",    "gun.png",     "player.png",
                                 "health.png",   "shot.png",      "shockwave.png"};
const char* const kSounds[] = {"qirn.ogg", "shot.wav", "hit.wav", "miss.wav"};

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> alpha;
};

// Through the engine's loader chain, as the game's image loading does.
Picture ReadPng(const fs::path& path) {
    StartPngModule();
    Picture p;
    Ref<TPixmap> pixmap = LoadPixmapFrom(String::FromUtf8(path.string()));
    if (!pixmap) return p;
    EXPECT_EQ(pixmap->format, FormatRGBA8888);
    p.width = pixmap->width;
    p.height = pixmap->height;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) p.alpha.push_back(uint8_t(uint32_t(pixmap->ReadPixel(x, y)) >> 24));
    return p;
}

// Through the engine's sample loaders, as the game's sound loading does.
Ref<TAudioSample> ReadSound(const fs::path& path) {
    StartOggLoaderModule();
    StartWavLoaderModule();
    return LoadSampleFromUrl(String::FromUtf8(path.string()));
}

std::vector<int16_t> Frames(const Ref<TAudioSample>& sample) {
    std::vector<int16_t> pcm(size_t(sample->length) * size_t(ChannelsPerSample[sample->format]));
    std::memcpy(pcm.data(), sample->samples, pcm.size() * 2);
    return pcm;
}

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(GeneratedFiles, PicturesHaveTheirSizesAndAlpha) {
    struct Size {
        const char* name;
        int width, height;
    };
    for (Size want : {Size{"patterns.png", 320, 32}, Size{"interface.png", 800, 600}, Size{"font.png", 512, 512},
                      Size{"button1.png", 512, 150}}) {
        Picture p = ReadPng(kGameDir / "gfx" / want.name);
        EXPECT_EQ(p.width, want.width) << want.name;
        EXPECT_EQ(p.height, want.height) << want.name;
    }
    for (const char* name : kPictures) {
        SCOPED_TRACE(name);
        Picture p = ReadPng(kGameDir / "gfx" / name);
        ASSERT_GT(p.width, 0);
        int clear = 0, opaque = 0;
        for (uint8_t a : p.alpha) {
            clear += a == 0;
            opaque += a == 255;
        }
        EXPECT_GT(clear, 0);
        EXPECT_GT(opaque, 0);
    }
}

// Square, at their size, with a transparent corner around an opaque tile.
TEST(GeneratedFiles, IconsAtEverySize) {
    for (int size : assetgen::kIconSizes) {
        SCOPED_TRACE(size);
        Picture p = ReadPng(kGameDir / "icons" / ("qirn-" + std::to_string(size) + ".png"));
        ASSERT_EQ(p.width, size);
        ASSERT_EQ(p.height, size);
        EXPECT_EQ(p.alpha.front(), 0);
        EXPECT_EQ(p.alpha[size_t(size / 2) * size_t(size) + size_t(size / 2)], 255);
    }
}

// The Windows icon holds every size's PNG file whole, where its directory says.
TEST(GeneratedFiles, WindowsIconHoldsEveryIconPicture) {
    auto ico = Bytes(kGameDir / "icons" / "qirn.ico");
    auto u16 = [&ico](size_t at) { return uint32_t(uint8_t(ico.at(at))) | uint32_t(uint8_t(ico.at(at + 1))) << 8; };
    auto u32 = [&u16](size_t at) { return u16(at) | u16(at + 2) << 16; };
    ASSERT_EQ(u16(2), 1u);
    ASSERT_EQ(u16(4), std::size(assetgen::kIconSizes));
    size_t entry = 6;
    for (int size : assetgen::kIconSizes) {
        SCOPED_TRACE(size);
        EXPECT_EQ(uint8_t(ico.at(entry)), size % 256);
        auto png = Bytes(kGameDir / "icons" / ("qirn-" + std::to_string(size) + ".png"));
        ASSERT_EQ(u32(entry + 8), png.size());
        ASSERT_LE(u32(entry + 12) + png.size(), ico.size());
        EXPECT_TRUE(std::equal(png.begin(), png.end(), ico.begin() + u32(entry + 12)));
        entry += 16;
    }
}

TEST(GeneratedFiles, FontAndPatternCellsAllHaveInk) {
    Picture font = ReadPng(kGameDir / "gfx" / "font.png");
    ASSERT_EQ(font.width, 512);
    // Every printable character but the blank has solid ink inside its
    // glyph box (from x 1, y 6, 15 x 19 pixels in its 32 x 32 cell).
    for (int code = 33; code <= 126; ++code) {
        int ink = 0;
        for (int y = 6; y < 6 + 19; ++y)
            for (int x = 1; x < 1 + 15; ++x) ink += font.alpha[size_t((code / 16 * 32 + y) * 512 + code % 16 * 32 + x)] > 128;
        EXPECT_GT(ink, 3) << code;
    }
    Picture patterns = ReadPng(kGameDir / "gfx" / "patterns.png");
    ASSERT_EQ(patterns.width, 320);
    for (int cell = 0; cell < 10; ++cell) {
        int ink = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) ink += patterns.alpha[size_t(y * 320 + cell * 32 + x)] > 128;
        EXPECT_GT(ink, 20) << cell;
    }
}

TEST(GeneratedFiles, EffectsAreShortClickFree16BitPcm) {
    for (const char* name : {"shot.wav", "hit.wav", "miss.wav"}) {
        SCOPED_TRACE(name);
        Ref<TAudioSample> sample = ReadSound(kGameDir / "snd" / name);
        ASSERT_TRUE(sample);
        EXPECT_EQ(sample->format, SampleFormatMono16LE);
        EXPECT_EQ(sample->hertz, 44100);
        EXPECT_GE(sample->length, 4410);
        EXPECT_LE(sample->length, 22050);
        std::vector<int16_t> pcm = Frames(sample);
        EXPECT_LT(std::abs(int(pcm.front())), 64);
        EXPECT_LT(std::abs(int(pcm.back())), 64);
    }
}

TEST(GeneratedFiles, MusicIsStereoAndLoopsSmoothly) {
    Ref<TAudioSample> sample = ReadSound(kGameDir / "snd" / "qirn.ogg");
    ASSERT_TRUE(sample);
    EXPECT_EQ(sample->format, SampleFormatStereo16LE);
    EXPECT_EQ(sample->hertz, 44100);
    EXPECT_EQ(sample->length, assetgen::kMusicFrames);
    EXPECT_GE(sample->length, 60 * 44100);
    EXPECT_LE(sample->length, 120 * 44100);
    std::vector<int16_t> pcm = Frames(sample);
    // Across the join, last frame to first, and a few frames either side
    // of it, the music moves no faster than it does almost everywhere
    // else: no click, no codec noise at the ends.
    std::vector<int> steps;
    for (size_t i = 2; i < pcm.size(); ++i) steps.push_back(std::abs(pcm[i] - pcm[i - 2]));
    std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
    const int usual = steps[steps.size() * 99 / 100];
    const size_t n = pcm.size();
    auto at = [&](long frame, int channel) { return int(pcm[(size_t(frame) * 2 + n) % n + size_t(channel)]); };
    for (long frame = -4; frame < 4; ++frame)
        for (int c = 0; c < 2; ++c) EXPECT_LE(std::abs(at(frame + 1, c) - at(frame, c)), usual) << frame << " " << c;
    double sum = 0;
    for (int16_t v : pcm) sum += double(v) * v;
    EXPECT_GT(std::sqrt(sum / double(pcm.size())), 2000.0);
}

TEST(GeneratedFiles, MusicAndAnyTwoEffectsAtOnceDoNotClip) {
    // At volume 1.0 and the files' own rate the mixer adds samples exactly,
    // so these sums are what the game plays (mono effects on both sides).
    Ref<TAudioSample> music = ReadSound(kGameDir / "snd" / "qirn.ogg");
    ASSERT_TRUE(music);
    const std::vector<int16_t> loop = Frames(music);
    const size_t loopFrames = loop.size() / 2;
    std::vector<std::vector<int16_t>> effects;
    for (const char* name : {"shot.wav", "hit.wav", "miss.wav"}) {
        Ref<TAudioSample> effect = ReadSound(kGameDir / "snd" / name);
        ASSERT_TRUE(effect) << name;
        effects.push_back(Frames(effect));
    }
    std::mt19937 random(0x5eed);
    int high = 0, low = 0;
    for (const std::vector<int16_t>& first : effects) {
        for (const std::vector<int16_t>& second : effects) {
            for (int trial = 0; trial < 300; ++trial) {
                // The second effect starts while the first plays, somewhere in the music.
                const size_t lag = random() % first.size();
                const size_t at = random() % loopFrames;
                for (size_t t = 0; t < first.size(); ++t) {
                    const int both = first[t] + (t >= lag && t - lag < second.size() ? second[t - lag] : 0);
                    for (size_t c = 0; c < 2; ++c) {
                        const int sum = loop[(at + t) % loopFrames * 2 + c] + both;
                        high = std::max(high, sum);
                        low = std::min(low, sum);
                    }
                }
            }
        }
    }
    EXPECT_LE(high, 32767);
    EXPECT_GE(low, -32768);
}

TEST(SoundFiles, AFullDiskIsAFailure) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    // Small enough to sit in the file buffer until the file is closed.
    const std::vector<int16_t> pcm(64, 1000);
    EXPECT_FALSE(assetgen::WriteWav(pcm, 1, 44100, "/dev/full"));
    EXPECT_FALSE(assetgen::WriteOggVorbis(pcm, 2, 44100, 0.3f, "/dev/full"));
}

TEST(GeneratedFiles, ASecondRunGivesTheSameBytes) {
    fs::path again = fs::temp_directory_path() / ("qirn_assets_again_" + std::to_string(::getpid()));
    std::string command = (fs::path(VANTREL_BUILD_DIR) / "tools" / "qirn_assetgen").string() + " " + again.string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* name : kPictures) EXPECT_TRUE(Bytes(again / "gfx" / name) == Bytes(kGameDir / "gfx" / name)) << name;
    for (const char* name : kSounds) EXPECT_TRUE(Bytes(again / "snd" / name) == Bytes(kGameDir / "snd" / name)) << name;
    for (int size : assetgen::kIconSizes) {
        std::string name = "qirn-" + std::to_string(size) + ".png";
        EXPECT_TRUE(Bytes(again / "icons" / name) == Bytes(kGameDir / "icons" / name)) << name;
    }
    fs::remove_all(again);
}
