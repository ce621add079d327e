// Levels and sequences: five patterned sequences to a level, each fired one
// shot at a time at an interval that shrinks level by level.
#include "game/qirn.h"

namespace qirn {

using namespace vantrel;

int Level::number = 0;
Ref<TArray<Array<int>>> Sequence::patterns;

Ref<Level> Level::Create() {
    Ref<Level> level = MakeRef<Level>();
    level->n = number;
    Game::level = level;
    level->timer = ticks + 100;
    Color::SetHue(RandomInt(360, 1));
    return level;
}

void Level::Update() {
    if (seq || ticks < timer || sCnt >= 5) return;
    seq = Sequence::Create();
    sCnt += 1;
    if (sCnt == 5) seq->last = 1;
}

void Sequence::BuildPatterns() {
    patterns = MakeRef<TArray<Array<int>>>(std::initializer_list<Array<int>>{
        ArrayOf({0, 1, 0, -1, 0}),
        ArrayOf({1, -1, 1, -1, 1, -1}),
        ArrayOf({0, 4, 0, 4, 0, 4}),
        ArrayOf({0, 0, -1, -1, 1, 1}),
        ArrayOf({0, 1, 2, 3, 4, 3, 2, 1}),
        ArrayOf({0, 1, 2, 3, 4, 5, 6, 7}),
        ArrayOf({0, 2, 4, 6, 0}),
        ArrayOf({0, 4, 2, 6, 0}),
    });
}

Ref<Sequence> Sequence::Create() {
    Ref<Sequence> s = MakeRef<Sequence>();
    s->nmb = RandomInt(0, patterns->Length() - 1);
    s->l = patterns->At(s->nmb)->Length();
    s->dir = 1 - 2 * RandomInt(0, 1);
    s->start = RandomInt(0, 8);
    s->lvl = Game::level;
    s->timer = ticks;
    return s;
}

void Sequence::Update() {
    if (ticks < timer) return;
    timer = TruncToInt(timer + 30.0 * NaturalExp(-(Level::number - 1) / 15.0));
    Ref<Shot> shot = Shot::Create((start + 8 + dir * patterns->At(nmb)->At(i)) % 8, Ref<Sequence>(this));
    i += 1;
    if (i == l) {
        shot->last = 1;
        lvl->seq = nullptr;  // may release this sequence's last share but the shot's
        lvl->timer = ticks + 50;
    }
}

void Sequence::Finish() {
    if (miss == 0) {
        Background::Set(1);
        Shield::rest = -1;
    }
    if (last == 1) {
        if (lvl->miss == 0) Player::health = MinInt(Player::health + 1, 12);
        Level::number += 1;
        Game::DropLevel();
        Game::levelTick = ticks + 10;
    }
}

}  // namespace qirn
