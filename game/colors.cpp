// Colour cycling and the background pattern.
//
// Every colour of a frame is built from Color::hue, which eases towards a
// target over 100 ticks and wobbles by +-10 degrees. The background tiles
// the screen with rotating, pulsing pattern cells; changing the pattern
// shrinks the cells away and grows them back.
#include "game/qirn.h"

namespace qirn {

using namespace vantrel;

int Color::hue = 0;
int Color::baseHue = 0;
int Color::fromHue = 0;
int Color::deltaHue = 0;
int Color::endTick = 0;

Ref<TImage> Background::img;
int Background::frame = 0;
int Background::target = 0;
double Background::zoom = 0.0;

namespace {
// Single-precision constants of the cell pulse, widened to double.
constexpr double kPulseBase = static_cast<double>(0.8f);
constexpr double kPulseDepth = static_cast<double>(0.2f);
}  // namespace

void Color::SetHue(int h) {
    fromHue = baseHue;
    // The shorter turn from baseHue to h, in -180..180 with a half turn
    // keeping its sign; worked in integers so it is exact (the angle form
    // atan2(sin d, cos d) can land a hair below a whole degree).
    int turn = (h - baseHue) % 360;
    if (turn > 180) turn -= 360;
    if (turn < -180) turn += 360;
    deltaHue = turn;
    endTick = ticks + 100;
}

void Color::Update() {
    if (ticks < endTick) {
        int elapsed = ticks - endTick + 100;
        baseHue = TruncToInt(FloatMod(fromHue + (deltaHue * elapsed) / 100.0 + 360.0, 360.0));
    } else {
        baseHue = fromHue + deltaHue;
    }
    hue = TruncToInt(baseHue + 10 * SinDegrees(ticks));
}

int Color::_col(int h, int sat, int val) {
    double level = MinFloat(MaxFloat(0.5 + (CosDegrees(h) / CosDegrees(60)) / 2, 0), 1);
    return TruncToInt((255 * val + ((level - 1) * val) * sat) / 255.0);
}

void Color::Set(int offset, int sat, int val) {
    int h = offset + hue;
    int red = _col(h, sat, val);
    int green = _col(h - 120, sat, val);
    int blue = _col(h - 240, sat, val);
    SetDrawColor(red, green, blue);
    SetClearColor(red, green, blue);
}

void Background::Load() {
    img = RequireCells(file, 32, 32, 10);
    Set(0);
}

void Background::Set(int n) { target = n; }

void Background::Draw() {
    if (frame != target) {
        zoom = MaxFloat(zoom - tickDelta / 25.0, 0);
        if (zoom == 0.0) frame = target;
    } else {
        zoom = MinFloat(zoom + tickDelta / 25.0, 1);
    }
    Color::Set(0, 128, 8);
    ClearCanvas();
    SetBlendMode(BlendAlpha);
    SetDrawAlpha(1.0);
    for (int i = 0; i < 20; ++i) {
        for (int j = 0; j < 26; ++j) {
            int b = (i + j) % 4;
            double s = SinDegrees(ticks + 180 * b);
            Color::Set(0, 128, TruncToInt(64 + 24 * s));
            SetDrawRotation(ticks / 5.0 + 90 * b);
            double scale = (kPulseBase + kPulseDepth * s) * zoom;
            SetDrawScale(scale, scale);
            DrawImageAt(img, 32 * j, 32 * i - 4, frame);
        }
    }
}

}  // namespace qirn
