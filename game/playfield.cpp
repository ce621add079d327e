// The playfield around the screen centre: the player's emblem and health
// ring, the guns, the shield with its direction labels, and shockwaves.
#include "game/qirn.h"

namespace qirn {

using namespace vantrel;

Ref<TImage> Shield::img;
Array<String> Shield::labels;
int Shield::position = 0;
int Shield::rest = -1;
Ref<TImage> Guns::img;
Ref<TImage> Player::img;
Ref<TImage> Player::healthImg;
int Player::health = 0;
Ref<TList> Shockwave::list;
Ref<TImage> Shockwave::img;

namespace {
// Key mask of each direction, 0 up clockwise: W, WD, D, DS, S, SA, A, AW.
constexpr int kDirectionMask[8] = {8, 12, 4, 6, 2, 3, 1, 9};
// The shockwave's starting scale is a single-precision constant.
constexpr double kShockwaveBaseScale = static_cast<double>(0.2f);
}  // namespace

void Shield::Load() {
    img = RequireImage(LoadImageFile(file, -1), file);
}

int Shield::GetPosition() {
    int mask = 8 * Key::w + 4 * Key::d + 2 * Key::s + Key::a;
    for (int k = 0; k < 8; ++k) {
        int expected = rest == k ? 0 : kDirectionMask[k];
        if (expected == mask) return k;
    }
    return -1;
}

void Shield::Draw() {
    if (Game::state != Game::StatePlay) return;
    SetDrawAlpha(Game::fade);
    position = GetPosition();
    for (int i = 0; i < 8; ++i) {
        SetDrawRotation(45 * i);
        SetDrawScale(1, 1);
        Color::Set(0, 255, 255);
        SetBlendMode(BlendAdditive);
        if (i == position) Color::Set(180, 255, 255);
        DrawImageAt(img, 400, 300, 0);
        SetDrawRotation(0);
        Font::DrawText(labels->At(i), TruncToInt(400 + 80 * SinDegrees(45 * i)),
                       TruncToInt(300 - 80 * CosDegrees(45 * i)), 1.0 - 0.5 * (i % 2), 2, 2);
    }
}

void Guns::Load() {
    img = RequireImage(LoadImageFile(file, -1), file);
}

void Guns::Draw() {
    SetBlendMode(BlendAlpha);
    // Outside play the radius stays 0: the guns stand at the centre with
    // whatever scale and colour the previous steps left.
    double r = 0;
    if (Game::state == Game::StatePlay) {
        Color::Set(0, 255, 255);
        double s = 0.5 + 0.5 * Game::fade;
        r = 288 + 24 * (1 - Game::fade);
        SetDrawScale(s, s);
    }
    for (int a = 0; a < 360; a += 45) {
        SetDrawRotation(a + 90);
        DrawImageAt(img, 400 + r * CosDegrees(a), 300 + r * SinDegrees(a), 0);
    }
}

void Player::Load() {
    img = RequireImage(LoadImageFile(file, -1), file);
    healthImg = RequireImage(LoadImageFile(healthFile, -1), healthFile);
}

void Player::Draw() {
    Color::Set(180, 255, 255);
    SetBlendMode(BlendAlpha);
    SetDrawScale(1, 1);
    SetDrawRotation(1);
    DrawImageAt(img, 400, 300, 0);
    if (Game::state != Game::StatePlay) return;
    SetBlendMode(BlendAdditive);
    int n = TruncToInt(health * Game::fade);
    for (int i = 0; i < n; ++i) {
        SetDrawRotation(-30 * i);
        DrawImageAt(healthImg, 400, 300, 0);
    }
}

void Shockwave::Load() {
    img = RequireImage(LoadImageFile(file, -1), file);
}

Ref<Shockwave> Shockwave::Create() {
    Ref<Shockwave> wave = MakeRef<Shockwave>();
    list->AddLast(wave);
    return wave;
}

void Shockwave::Draw() {
    Ref<TListEnum> walk = list->ObjectEnumerator();
    while (walk->HasNext()) {
        Ref<Shockwave> wave = Cast<Shockwave>(walk->NextObject());
        if (!wave) continue;
        SetBlendMode(BlendAlpha);
        Color::Set(180, 255, 255);
        double f = wave->t / 100.0;
        SetDrawAlpha(1 - f);
        SetDrawScale(kShockwaveBaseScale + f, kShockwaveBaseScale + f);
        DrawImageAt(img, wave->x, wave->y, 0);
        wave->t += 4;
        if (wave->t >= 100) list->Remove(wave);
    }
    SetDrawAlpha(1.0);
}

}  // namespace qirn
