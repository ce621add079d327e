// QIRN: the game's types.
//
// Types without instances (Game, Color, Shield, ...) are structs of static
// members, one struct per piece of the screen; Level, Sequence, Shot and
// Shockwave have instances. Everything here runs on the main thread, inside
// the frame loop. Each .cpp file of this folder implements one area:
// main_loop (start-up, key snapshot, the frame), screens, levels, shots,
// playfield, colors (colour cycling and background), font and sound.
#pragma once

#include <functional>

#include "game/engine.h"

namespace qirn {

using vantrel::Object;
using vantrel::Ref;
using vantrel::String;

// ---- start-up and the frame loop -------------------------------------------

extern int ticks;      // 50 Hz ticks since the loop began
extern int tickDelta;  // ticks reported by the latest wait

struct Key {
    static int w, a, s, d;
    static int hitW, hitS, hitEsc;
    static void Update();
};

enum Direction { kDirections = 8 };
enum Blend { BlendAlpha = 3, BlendAdditive = 4 };

// Starts the engine modules and builds the game's tables (no window).
void StartGameModules();
// Loads every image, in the order that leaves the overlay, font and button
// images with their top-left handle and centres the rest.
void LoadImages();
// Opens the window, loads every asset, chooses the audio driver and starts
// the music. Throws TRuntimeException naming what is missing when the
// window or an asset cannot be had.
void StartUp();
// Frame steps 1 to 13: update, draw, present.
void RunFrame();
// The program's entry: start-up, then the loop of frames paced on the 50 Hz
// frame timer until a terminate request; ends through ExitProgram.
void GameMain();

// ---- screens -----------------------------------------------------------------

struct Level;

struct Game {
    enum { StateMenu = 0, StatePlay = 1, StateGameOver = 2 };
    static int state, nextState;
    static double fade;
    static int score;
    static Ref<Level> level;
    static int levelTick;
    static void SetState(int s);
    static void Update();
    // Drops the running level and the sequence it holds, so neither keeps
    // the other alive once no shot refers to them.
    static void DropLevel();
};

struct Interface {
    static Ref<vantrel::TImage> img;
    static constexpr const char* file = "gfx/interface.png";
    static void Load();
    static void Draw();
};

struct Menu {
    static Ref<vantrel::TImage> button1, button2;
    static constexpr const char* button1File = "gfx/button1.png";
    static constexpr const char* button2File = "gfx/button2.png";
    static void Load();
    static void Draw();
};

struct GameOver {
    static void Draw();
};

// ---- levels and sequences ------------------------------------------------------

struct Sequence;

struct Level : Object {
    static int number;
    // Creates a level and makes it Game::level.
    static Ref<Level> Create();
    void Update();

    int n = 0;
    Ref<Sequence> seq;
    int sCnt = 0;
    int miss = 0;
    int timer = 0;
};

struct Sequence : Object {
    static Ref<vantrel::TArray<vantrel::Array<int>>> patterns;
    static void BuildPatterns();
    static Ref<Sequence> Create();
    void Update();
    // Rules applied when this sequence's last shot has been resolved.
    void Finish();

    Ref<Level> lvl;
    int nmb = 0;
    int i = 0;
    int dir = 0;
    int start = 0;
    int miss = 0;
    int l = 0;
    int last = 0;
    int timer = 0;
};

// ---- shots -------------------------------------------------------------------

struct Shot : Object {
    static Ref<vantrel::TImage> img;
    static constexpr const char* file = "gfx/shot.png";
    static Ref<vantrel::TList> list;
    static void Load();
    static Ref<Shot> Create(int pos, const Ref<Sequence>& seq);
    static void Update();
    static void Clear();
    void Hit(int blocked);

    double x = 0, y = 0, vx = 0, vy = 0;
    int pos = 0;
    Ref<Sequence> seq;
    int last = 0;
};

// ---- player, guns, shield and shockwave --------------------------------------------

struct Shield {
    static Ref<vantrel::TImage> img;
    static constexpr const char* file = "gfx/shield.png";
    static vantrel::Array<String> labels;
    static int position;
    static int rest;
    static void Load();
    static void Draw();
    static int GetPosition();
};

struct Guns {
    static Ref<vantrel::TImage> img;
    static constexpr const char* file = "gfx/gun.png";
    static void Load();
    static void Draw();
};

struct Player {
    static Ref<vantrel::TImage> img, healthImg;
    static constexpr const char* file = "gfx/player.png";
    static constexpr const char* healthFile = "gfx/health.png";
    static int health;
    static void Load();
    static void Draw();
};

struct Shockwave : Object {
    static Ref<vantrel::TList> list;
    static Ref<vantrel::TImage> img;
    static constexpr const char* file = "gfx/shockwave.png";
    static void Load();
    static void Draw();
    static Ref<Shockwave> Create();

    int x = 0, y = 0, t = 0;
};

// ---- colour cycling and background --------------------------------------------------

struct Color {
    static int hue, baseHue, fromHue, deltaHue, endTick;
    static void SetHue(int h);
    static void Update();
    static void Set(int offset, int sat, int val);
    static int _col(int h, int sat, int val);
};

struct Background {
    static Ref<vantrel::TImage> img;
    static constexpr const char* file = "gfx/patterns.png";
    static int frame, target;
    static double zoom;
    static void Load();
    static void Set(int n);
    static void Draw();
};

// ---- bitmap-font text ------------------------------------------------------------------

struct Font {
    static Ref<vantrel::TImage> img;
    static constexpr const char* file = "gfx/font.png";
    static int offX, offY, advance, height;
    static void Load();
    static void DrawText(const String& text, int x, int y, double scale, int alignX, int alignY);
};

// ---- sound ---------------------------------------------------------------------------------

struct Sound {
    static int on;
    static Ref<vantrel::TSound> music, shotSnd, hitSnd, missSnd;
    static Ref<vantrel::TChannel> musicChannel;
    // The music's file; start-up begins decoding it early (StartUp),
    // LoadFiles takes it from this load, which is kept while the rest
    // decodes as the music plays.
    static constexpr const char* musicFile = "snd/qirn.ogg";
    static Ref<vantrel::TSampleLoadAhead> musicLoad;
    // Once the music has decoded to its end, lets its load go; when
    // decoding failed part-way, names the file on standard error, once, and
    // the run goes on with the music stopped there.
    static void CheckMusic();
    // Chooses the audio driver, then LoadFiles.
    static void Load();
    // Loads the music and the effects and starts the music.
    static void LoadFiles();
    // Starts an effect on a fresh channel when sound is on.
    static void Play(const Ref<vantrel::TSound>& effect);
};

// Loads an image the game cannot run without; names the file when missing.
Ref<vantrel::TImage> RequireImage(const Ref<vantrel::TImage>& image, const char* path);
// Loads an image of cells of the given size, starting at the first; names
// the file and its size when it holds fewer cells than that.
Ref<vantrel::TImage> RequireCells(const char* path, int cellWidth, int cellHeight, int cells);

}  // namespace qirn
