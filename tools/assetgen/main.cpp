// qirn_assetgen OUTDIR [--contact-sheet FILE]: writes the game's pictures to
// OUTDIR/gfx and its sounds to OUTDIR/snd; with --contact-sheet, also a
// picture showing all the art.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/assetgen/art.h"
#include "tools/assetgen/contact_sheet.h"
#include "tools/assetgen/image_output.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTDIR [--contact-sheet FILE]\n", argv[0]);
        return 2;
    }
    std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out / "gfx");
    std::filesystem::create_directories(out / "snd");
    for (const assetgen::ArtPiece& piece : assetgen::kArtPieces) {
        std::string path = (out / "gfx" / piece.name).string();
        if (!assetgen::WritePng(piece.make(), path)) {
            std::fprintf(stderr, "qirn_assetgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    if (argc >= 4 && std::string(argv[2]) == "--contact-sheet") {
        if (!assetgen::WritePng(assetgen::MakeContactSheet(), argv[3])) {
            std::fprintf(stderr, "qirn_assetgen: cannot write %s\n", argv[3]);
            return 1;
        }
    }
    return 0;
}
