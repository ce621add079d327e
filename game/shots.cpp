// Shots: fired from the guns' circle straight at the centre; blocked by the
// shield near the centre or getting through, with score, health, key swaps
// and the end of the run decided here.
#include "game/qirn.h"

namespace qirn {

using namespace vantrel;

Ref<TImage> Shot::img;
Ref<TList> Shot::list;

namespace {
constexpr double kStartDistance = 290;
constexpr double kBlockDistanceSquared = 12544;  // 112 pixels
constexpr double kHitDistanceSquared = 2025;     // 45 pixels
// The base speed is a single-precision constant, widened to double.
constexpr double kBaseSpeed = static_cast<double>(1.8f);
}  // namespace

void Shot::Load() {
    img = RequireImage(LoadImageFile(file, -1), file);
}

Ref<Shot> Shot::Create(int pos, const Ref<Sequence>& seq) {
    Ref<Shot> shot = MakeRef<Shot>();
    shot->seq = seq;
    shot->pos = pos;
    double a = 45 * pos;
    shot->x = 400 + SinDegrees(a) * kStartDistance;
    shot->y = 300 - CosDegrees(a) * kStartDistance;
    double speed = kBaseSpeed * NaturalExp((Level::number - 1) / 15.0);
    shot->vx = -SinDegrees(a) * speed;
    shot->vy = CosDegrees(a) * speed;
    list->AddLast(shot);
    Sound::Play(Sound::shotSnd);
    return shot;
}

void Shot::Update() {
    Ref<TListEnum> walk = list->ObjectEnumerator();
    while (walk->HasNext()) {
        Ref<Shot> shot = Cast<Shot>(walk->NextObject());
        if (!shot) continue;  // a link removed ahead of the walk
        shot->x += shot->vx;
        shot->y += shot->vy;
        double dx = shot->x - 400;
        double dy = shot->y - 300;
        double d2 = dx * dx + dy * dy;
        bool covered = Shield::position == shot->pos;
        // From about level 63 a step is longer than the hit zone is wide, so
        // it can carry a shot past the centre untouched; such a shot ends its
        // step at the centre, where it is blocked or gets through.
        bool passedCentre = dx * shot->vx + dy * shot->vy > 0;
        bool inReach = d2 < kHitDistanceSquared || (covered && d2 < kBlockDistanceSquared);
        if (passedCentre && !inReach) {
            shot->x = 400;
            shot->y = 300;
            d2 = 0;
        }
        Color::Set(180, 255, 255);
        SetBlendMode(BlendAdditive);
        SetDrawScale(1, 1);
        SetDrawRotation(0);
        DrawImageAt(img, shot->x, shot->y, 0);
        if (d2 < kBlockDistanceSquared && covered) {
            Game::score += 1;
            shot->Hit(1);
            Sound::Play(Sound::hitSnd);
        } else if (d2 < kHitDistanceSquared) {
            shot->Hit(0);
            Sound::Play(Sound::missSnd);
            Player::health -= 1;
            Shield::rest = RandomInt(0, 7);
            Background::Set(Shield::rest + 2);
            if (Player::health == 0) {
                Game::DropLevel();
                Game::SetState(Game::StateGameOver);
                Background::Set(0);
                Color::SetHue(0);
                Clear();
                return;
            }
        }
    }
}

void Shot::Hit(int blocked) {
    Ref<Shockwave> wave = Shockwave::Create();
    wave->x = TruncToInt(x);
    wave->y = TruncToInt(y);
    list->Remove(Ref<Object>(this));
    if (blocked == 0) {
        seq->miss += 1;
        seq->lvl->miss += 1;
    }
    if (last == 1) seq->Finish();
}

void Shot::Clear() {
    Ref<TListEnum> walk = list->ObjectEnumerator();
    while (walk->HasNext()) {
        Ref<Object> shot = walk->NextObject();
        if (shot) list->Remove(shot);
    }
}

}  // namespace qirn
