// Start-up and the frame loop.
//
// GameMain starts the engine modules in a fixed order, opens the window,
// loads the assets, starts the music and then runs frames paced on the
// 50 Hz frame timer. RunFrame is one frame without the wait, so tests can
// drive frames with scripted keys and their own clock. The music decodes on
// an engine load worker, its first seconds during start-up and the rest as
// it plays; everything else runs on the main thread.
#include "game/qirn.h"

namespace qirn {

using namespace vantrel;

int ticks = 0;
int tickDelta = 1;

int Key::w = 0;
int Key::a = 0;
int Key::s = 0;
int Key::d = 0;
int Key::hitW = 0;
int Key::hitS = 0;
int Key::hitEsc = 0;

namespace {
Ref<TTimer> frameTimer;
}  // namespace

void Key::Update() {
    w = IsKeyDown(keys::W);
    a = IsKeyDown(keys::A);
    s = IsKeyDown(keys::S);
    d = IsKeyDown(keys::D);
    hitW = TakeKeyHits(keys::W);
    hitS = TakeKeyHits(keys::S);
    hitEsc = TakeKeyHits(keys::Escape);
}

Ref<TImage> RequireImage(const Ref<TImage>& image, const char* path) {
    if (!image) throw TRuntimeException(String("Missing or unreadable image file: ") + String(path));
    return image;
}

Ref<TImage> RequireCells(const char* path, int cellWidth, int cellHeight, int cells) {
    Ref<TPixmap> pixmap = LoadPixmapFrom(String(path));
    if (!pixmap) return RequireImage(nullptr, path);
    Ref<TImage> image = LoadAnimImageFile(pixmap, cellWidth, cellHeight, 0, cells, -1);
    if (!image) {
        throw TRuntimeException(String("Image file too small: ") + String(path) + String(" is ") +
                                String::FromInt(pixmap->width) + String(" x ") + String::FromInt(pixmap->height) +
                                String(" pixels, not enough for ") + String::FromInt(cells) + String(" cells of ") +
                                String::FromInt(cellWidth) + String(" x ") + String::FromInt(cellHeight));
    }
    return image;
}

void StartGameModules() {
    static bool started = false;
    if (started) return;
    started = true;
    StartTimerModule();
    InitFreeTypeFontModule();
    StartPngModule();
    StartListModule();
    StartRandomModule();
    StartAudioModule();
    StartSonvarDriverModule();
    StartOggLoaderModule();
    StartWavLoaderModule();
    InitGLVel2DModule();

    Shield::labels = ArrayOf<String>({"W", "WD", "D", "DS", "S", "SA", "A", "AW"});
    Sequence::BuildPatterns();
    Shot::list = MakeRef<TList>();
    Shockwave::list = MakeRef<TList>();
}

void LoadImages() {
    Interface::Load();
    Font::Load();
    Menu::Load();
    // Images from here on are drawn centred on their position; the overlay,
    // font and buttons keep their top-left handle.
    SetAutoMidHandle(1);
    Background::Load();
    Shield::Load();
    Guns::Load();
    Shot::Load();
    Player::Load();
    Shockwave::Load();
}

// Textures are otherwise built from the pixmaps in the first frame; building
// them before Sound::Load gives the main thread that work while the music's
// first seconds may still be decoding. Nothing shows until the first frame
// either way.
void BuildImageFrames() {
    for (const Ref<TImage>* image : {&Interface::img, &Font::img, &Menu::button1, &Menu::button2, &Background::img,
                                     &Shield::img, &Guns::img, &Shot::img, &Player::img, &Player::healthImg,
                                     &Shockwave::img}) {
        for (int i = 0; i < (*image)->frames->Length(); ++i) (*image)->Frame(i);
    }
}

void StartUp() {
    StartGameModules();
    // Decoding the music is the slowest step of start-up: its first seconds
    // decode on a load worker while the window opens and the images load.
    // Sound::Load takes them, so its result and any early failure show at
    // the same point as a load there would; the rest decodes as the music
    // plays, and RunFrame reports a later failure.
    Sound::musicLoad = LoadSampleAhead(Sound::musicFile);
    SetAppTitle("OXR #48 - QIRN");
    SelectGraphicsDriver(GLVel2DDriverInstance(), 2);
    if (!OpenGraphics(800, 600, 0, 60, 0)) {
        throw TRuntimeException("Cannot open the 800 x 600 OpenGL window: no OpenGL context is available");
    }
    frameTimer = MakeTimer(50.0, nullptr);
    LoadImages();
    Color::fromHue = 230;
    BuildImageFrames();
    Sound::Load();
    SetRandomSeed(static_cast<int>(MillisecondClock()));
}

void RunFrame() {
    Sound::CheckMusic();
    Color::Update();
    Key::Update();
    Game::Update();
    if (Ref<Level> level = Game::level) {
        level->Update();
        if (Ref<Sequence> seq = level->seq) seq->Update();
    }
    Background::Draw();
    Shockwave::Draw();
    Player::Draw();
    Shot::Update();
    Guns::Draw();
    Interface::Draw();
    Shield::Draw();
    Menu::Draw();
    GameOver::Draw();
    FlipGraphics(0);
}

void GameMain() {
    static bool ran = false;
    if (ran) return;
    ran = true;
    StartUp();
    while (!TakeTerminateRequest()) {
        RunFrame();
        tickDelta = AwaitTimerTicks(frameTimer);
        ticks += tickDelta;
    }
    ExitProgram();
}

}  // namespace qirn
