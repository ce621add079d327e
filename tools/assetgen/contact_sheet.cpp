#include "tools/assetgen/contact_sheet.h"

#include <map>
#include <string>

#include "tools/assetgen/art.h"
#include "tools/assetgen/preview.h"

namespace assetgen {
namespace {

using Art = std::map<std::string, Canvas>;

const Rgb kWhite{1, 1, 1};

Vec2 Middle(const Canvas& c) { return {c.Width() * 0.5f, c.Height() * 0.5f}; }

// The game's colour at a hue offset from the frame's hue.
DrawState Tinted(double hue, int sat = 255, int val = 255) {
    DrawState s;
    s.colour = HueColour(hue, sat, val);
    return s;
}

void DrawBackground(Canvas& screen, const Canvas& patterns, int frame, double hue, int ticks) {
    Clear(screen, HueColour(hue, 128, 8));
    Box cell{frame * kPatternCell, 0, (frame + 1) * kPatternCell, kPatternCell};
    for (int i = 0; i < 20; ++i)
        for (int j = 0; j < 26; ++j) {
            int b = (i + j) % 4;
            double s = std::sin(Radians(float(ticks + 180 * b)));
            DrawState st = Tinted(hue, 128, int(64 + 24 * s));
            st.rotation = float(ticks / 5.0 + 90 * b);
            st.scaleX = st.scaleY = float(0.8 + 0.2 * s);
            DrawImage(screen, patterns, cell, {16, 16}, 32.0f * j, 32.0f * i - 4, st);
        }
}

void DrawGuns(Canvas& screen, const Canvas& gun, float radius, const DrawState& st) {
    for (int a = 0; a < 360; a += 45) {
        DrawState s = st;
        s.rotation = float(a + 90);
        Vec2 at = Vec2{400, 300} + Vec2{std::cos(Radians(float(a))), std::sin(Radians(float(a)))} * radius;
        DrawImage(screen, gun, Middle(gun), at.x, at.y, s);
    }
}

Canvas TitleScreen(const Art& art) {
    Canvas screen(800, 600);
    const double hue = 230;
    DrawBackground(screen, art.at("patterns.png"), 0, hue, 300);
    DrawState opposite = Tinted(hue + 180);
    opposite.rotation = 1;
    DrawImage(screen, art.at("player.png"), Middle(art.at("player.png")), 400, 300, opposite);
    DrawGuns(screen, art.at("gun.png"), 0, Tinted(hue + 180));
    DrawImage(screen, art.at("interface.png"), {0, 0}, 0, 0, Tinted(hue));
    const Canvas& font = art.at("font.png");
    DrawState st = Tinted(hue);
    DrawImage(screen, art.at("button1.png"), {0, 0}, 144, 10, st);
    DrawText(screen, font, "W", 400, 108, 1, 2, 1, st);
    DrawText(screen, font, "Start Game", 400, 140, 1, 2, 1, st);
    DrawImage(screen, art.at("button2.png"), {0, 0}, 110, 170, st);
    DrawState mirrored = st;
    mirrored.scaleX = -1;
    DrawImage(screen, art.at("button2.png"), {0, 0}, 690, 170, mirrored);
    DrawState held = Tinted(hue + 180);  // S shown held down
    held.scaleY = -1;
    DrawImage(screen, art.at("button1.png"), {0, 0}, 144, 590, held);
    DrawText(screen, font, "S", 400, 492, 1, 2, 0, held);
    DrawText(screen, font, "Sound  On", 400, 460, 1, 2, 0, held);
    return screen;
}

Canvas PlayScreen(const Art& art) {
    Canvas screen(800, 600);
    const double hue = 120;
    const Vec2 centre{400, 300};
    DrawBackground(screen, art.at("patterns.png"), 2 + 3, hue, 300);
    // A shockwave half-way through its life where a shot was blocked.
    DrawState wave = Tinted(hue + 180);
    wave.alpha = 0.6f;
    wave.scaleX = wave.scaleY = 0.2f + 0.4f;
    Vec2 at = centre + Compass(270) * 108;
    DrawImage(screen, art.at("shockwave.png"), Middle(art.at("shockwave.png")), at.x, at.y, wave);
    DrawState emblem = Tinted(hue + 180);
    emblem.rotation = 1;
    DrawImage(screen, art.at("player.png"), Middle(art.at("player.png")), 400, 300, emblem);
    DrawState health = Tinted(hue + 180);
    health.blend = Blend::Additive;
    for (int i = 0; i < 9; ++i) {
        health.rotation = -30.0f * i;
        DrawImage(screen, art.at("health.png"), Middle(art.at("health.png")), 400, 300, health);
    }
    DrawState shot = Tinted(hue + 180);
    shot.blend = Blend::Additive;
    for (auto [dir, dist] : {std::pair{2, 130.0f}, {2, 200.0f}, {5, 250.0f}, {0, 170.0f}}) {
        Vec2 p = centre + Compass(45.0f * dir) * dist;
        DrawImage(screen, art.at("shot.png"), Middle(art.at("shot.png")), p.x, p.y, shot);
    }
    DrawGuns(screen, art.at("gun.png"), 288, Tinted(hue));
    const Canvas& font = art.at("font.png");
    DrawImage(screen, art.at("interface.png"), {0, 0}, 0, 0, Tinted(hue));
    DrawState text = Tinted(hue);
    DrawText(screen, font, "Level", 10, 10, 0.8f, 0, 0, text);
    DrawText(screen, font, "3", 10, 40, 1, 0, 0, text);
    DrawText(screen, font, "Score", 790, 10, 0.8f, 1, 0, text);
    DrawText(screen, font, "42", 790, 40, 1, 1, 0, text);
    const char* labels[] = {"W", "WD", "D", "DS", "S", "SA", "A", "AW"};
    for (int i = 0; i < 8; ++i) {
        DrawState seg = Tinted(i == 2 ? hue + 180 : hue);
        seg.blend = Blend::Additive;
        seg.rotation = 45.0f * i;
        DrawImage(screen, art.at("shield.png"), Middle(art.at("shield.png")), 400, 300, seg);
        Vec2 p = centre + Compass(45.0f * i) * 80;
        DrawText(screen, font, labels[i], int(p.x), int(p.y), 1.0f - 0.5f * (i % 2), 2, 2, seg);
    }
    return screen;
}

// A picture on a dark checkerboard as it is, and beside it tinted over a
// dark background as the game shows it.
Canvas Tile(const Canvas& image, double hue, float scale, bool dim) {
    int w = int(image.Width() * scale), h = int(image.Height() * scale);
    Canvas tile(2 * w + 12, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 2 * w + 12; ++x) {
            float g = x < w ? ((x / 8 + y / 8) % 2 ? 0.16f : 0.22f) : 0.0f;
            Rgb dark = HueColour(hue, 128, 16);
            tile.At(x, y) = x < w ? Rgba{g, g, g, 1} : x >= w + 12 ? Rgba{dark.r, dark.g, dark.b, 1} : Rgba{};
        }
    DrawState plain;
    plain.scaleX = plain.scaleY = scale;
    DrawImage(tile, image, {0, 0}, 0, 0, plain);
    DrawState tinted = Tinted(hue, dim ? 128 : 255, dim ? 88 : 255);
    tinted.scaleX = tinted.scaleY = scale;
    DrawImage(tile, image, {0, 0}, float(w + 12), 0, tinted);
    return tile;
}

}  // namespace

Canvas MakeContactSheet() {
    Art art;
    for (const ArtPiece& piece : kArtPieces) art.emplace(piece.name, piece.make());
    const Canvas& font = art.at("font.png");
    const int width = 1640, margin = 20, caption = 28;
    Canvas sheet(width, 3000);
    Clear(sheet, {0.03f, 0.035f, 0.05f});
    DrawState text;
    text.colour = kWhite;
    DrawText(sheet, font, "Title menu", margin, margin, 1, 0, 0, text);
    DrawText(sheet, font, "Play", margin * 2 + 800, margin, 1, 0, 0, text);
    sheet.Blit(TitleScreen(art), margin, margin + caption);
    sheet.Blit(PlayScreen(art), margin * 2 + 800, margin + caption);

    int x = margin, y = margin * 2 + caption + 600, rowHeight = 0;
    double hue = 0;
    for (const ArtPiece& piece : kArtPieces) {
        const Canvas& image = art.at(piece.name);
        float scale = std::min({1.0f, 300.0f / image.Height(), 380.0f / image.Width()});
        if (std::string(piece.name) == "patterns.png") scale = 2;
        Canvas tile = Tile(image, hue, scale, false);
        if (x + tile.Width() > width - margin) {
            x = margin;
            y += rowHeight + margin;
            rowHeight = 0;
        }
        DrawText(sheet, font, piece.name, x, y, 0.8f, 0, 0, text);
        sheet.Blit(tile, x, y + caption);
        x += tile.Width() + margin * 2;
        rowHeight = std::max(rowHeight, tile.Height() + caption);
        hue += 47;
    }
    int height = y + rowHeight + margin;
    Canvas out(width, height);
    out.Blit(sheet, 0, 0);
    return out;
}

}  // namespace assetgen
