// qirn_assetgen OUTDIR [--contact-sheet FILE]: writes the game's pictures to
// OUTDIR/gfx, its sounds to OUTDIR/snd and its desktop icons to
// OUTDIR/icons (PNG files, and qirn.ico for Windows); with --contact-sheet, also a
// picture showing all the art. Exits non-zero, naming the file, when a file
// cannot be written.
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <vantrel/runtime/program.h>
#include "tools/assetgen/art.h"
#include "tools/assetgen/contact_sheet.h"
#include "tools/assetgen/effects.h"
#include "tools/assetgen/image_output.h"
#include "tools/assetgen/music.h"
#include "tools/assetgen/sound_output.h"
#include "tools/assetgen/synth.h"

namespace {

constexpr float kMusicQuality = 0.3f;

bool Check(bool written, const std::string& path) {
    if (!written) std::fprintf(stderr, "qirn_assetgen: cannot write %s\n", path.c_str());
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace assetgen;
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--contact-sheet")) {
        std::fprintf(stderr, "usage: %s OUTDIR [--contact-sheet FILE]\n", argv[0]);
        return 2;
    }
    vantrel::StartRuntime(argc, argv, false);
    std::filesystem::path out = argv[1];
    std::error_code error;
    for (const char* sub : {"gfx", "snd", "icons"}) {
        std::filesystem::create_directories(out / sub, error);
        if (error) {
            std::fprintf(stderr, "qirn_assetgen: cannot create %s: %s\n", (out / sub).c_str(), error.message().c_str());
            return 1;
        }
    }
    for (const ArtPiece& piece : kArtPieces) {
        std::string path = (out / "gfx" / piece.name).string();
        if (!Check(WritePng(piece.make(), path), path)) return 1;
    }
    std::vector<std::pair<int, std::string>> icons;
    for (int size : kIconSizes) {
        std::string path = (out / "icons" / ("qirn-" + std::to_string(size) + ".png")).string();
        if (!Check(WritePng(MakeIcon(size), path), path)) return 1;
        icons.emplace_back(size, path);
    }
    // The Windows program's icon resource is made from the same pictures.
    std::string ico = (out / "icons" / "qirn.ico").string();
    if (!Check(WriteIco(icons, ico), ico)) return 1;
    for (const EffectPiece& piece : kEffectPieces) {
        std::string path = (out / "snd" / piece.name).string();
        if (!Check(WriteWav(piece.make(), 1, kSampleRate, path), path)) return 1;
    }
    std::string music = (out / "snd" / "qirn.ogg").string();
    if (!Check(WriteOggVorbis(MakeMusic(), 2, kSampleRate, kMusicQuality, music), music)) return 1;
    if (argc == 4 && !Check(WritePng(MakeContactSheet(), argv[3]), argv[3])) return 1;
    return 0;
}
