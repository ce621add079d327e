// Game states and screens: the title menu, play and game over, the fades
// between them, and the overlay with the HUD drawn in every state.
#include "game/qirn.h"

namespace qirn {

using namespace vantrel;

int Game::state = Game::StateMenu;
int Game::nextState = Game::StateMenu;
double Game::fade = 0.0;
int Game::score = 0;
Ref<Level> Game::level;
int Game::levelTick = 0;

Ref<TImage> Interface::img;
Ref<TImage> Menu::button1;
Ref<TImage> Menu::button2;

void Game::SetState(int s) { nextState = s; }

void Game::DropLevel() {
    if (level) level->seq = nullptr;
    level = nullptr;
}

void Game::Update() {
    if (state != nextState) {
        fade = MaxFloat(fade - tickDelta / 50.0, 0);
        if (fade == 0.0) state = nextState;
    } else {
        fade = MinFloat(fade + tickDelta / 50.0, 1);
    }
    if (state != StatePlay || nextState != StatePlay) return;
    if (!level && ticks >= levelTick) Level::Create();
    if (Key::hitEsc) {
        SetState(StateMenu);
        Background::Set(0);
        Shot::Clear();
        DropLevel();
        Color::SetHue(230);
    }
}

void Interface::Load() {
    img = RequireImage(LoadImageFile(file, -1), file);
}

void Interface::Draw() {
    SetDrawScale(1, 1);
    SetBlendMode(BlendAlpha);
    SetDrawAlpha(1.0);
    Color::Set(0, 255, 255);
    SetDrawRotation(0);
    DrawImageAt(img, 0, 0, 0);
    if (Game::state != Game::StatePlay) return;
    SetDrawAlpha(Game::fade);
    Font::DrawText("Level", 10, 10, 0.8, 0, 0);
    Font::DrawText(String::FromInt(Level::number), 10, 40, 1.0, 0, 0);
    Font::DrawText("Score", 790, 10, 0.8, 1, 0);
    Font::DrawText(String::FromInt(Game::score), 790, 40, 1.0, 1, 0);
}

void Menu::Load() {
    button1 = RequireImage(LoadImageFile(button1File, -1), button1File);
    button2 = RequireImage(LoadImageFile(button2File, -1), button2File);
}

void Menu::Draw() {
    if (Game::state != Game::StateMenu) return;
    SetDrawScale(1, 1);
    SetBlendMode(BlendAlpha);
    SetDrawAlpha(Game::fade);
    if (Key::hitW && Game::fade == 1.0) {
        Game::SetState(Game::StatePlay);
        Game::levelTick = ticks + 100;
        Game::DropLevel();
        Game::score = 0;
        Level::number = 1;
        Shield::rest = -1;
        Player::health = 12;
        Background::Set(1);
    }
    Color::Set(Key::w ? 180 : 0, 255, 255);
    DrawImageAt(button1, 144, 10, 0);
    Font::DrawText("W", 400, 108, 1.0, 2, 1);
    Font::DrawText("Start Game", 400, 140, 1.0, 2, 1);
    Color::Set(0, 255, 255);
    DrawImageAt(button2, 110, 170, 0);
    SetDrawScale(-1, 1);
    DrawImageAt(button2, 690, 170, 0);
    if (Key::hitS) {
        Sound::on ^= 1;
        Sound::musicChannel->SetVolume(static_cast<float>(Sound::on));
    }
    Color::Set(Key::s ? 180 : 0, 255, 255);
    SetDrawScale(1, -1);
    DrawImageAt(button1, 144, 590, 0);
    Font::DrawText("S", 400, 492, 1.0, 2, 0);
    Font::DrawText(Sound::on ? "Sound  On" : "Sound Off", 400, 460, 1.0, 2, 0);
    if (Key::hitEsc && Game::fade == 1.0) ExitProgram();
}

void GameOver::Draw() {
    if (Game::state != Game::StateGameOver) return;
    if (Key::hitEsc) {
        Game::SetState(Game::StateMenu);
        Background::Set(0);
        Color::SetHue(230);
    }
    SetDrawAlpha(Game::fade);
    Font::DrawText("Game Over", 400, 200, 1.0, 2, 1);
    Font::DrawText("Level", 200, 260, 1.0, 0, 0);
    Font::DrawText(String::FromInt(Level::number), 600, 260, 1.0, 1, 0);
    Font::DrawText("Score", 200, 340, 1.0, 0, 1);
    Font::DrawText(String::FromInt(Game::score), 600, 340, 1.0, 1, 1);
}

}  // namespace qirn
