// Sprites: a window, a PNG drawn as rotated, scaled, alpha-blended sprites,
// text in the built-in font, keyboard and mouse, paced by a 60 Hz timer.
//
//   vantrel_sprites IMAGE.png [--frames N]
//
// Arrow keys move the centre sprite, the left button drops a sprite where
// the pointer is, Escape (or closing the window) quits. With --frames the
// program quits by itself after N frames. Exits with status 255, naming the
// cause, when the image cannot be loaded or no OpenGL window can be opened.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <vantrel/render/gl/gl_vel2d_driver.h>
#include <vantrel/render/graphics.h>
#include <vantrel/render/image.h>
#include <vantrel/render/vel2d.h>
#include <vantrel/runtime/runtime.h>
#include <vantrel/system/polled_input.h>
#include <vantrel/system/timer.h>

using namespace vantrel;

namespace {

struct Sprite {
    float x, y, spin;
};

int frameLimit = 0;  // 0: run until the player quits

// RunProgram makes the executable's folder the working directory, so a
// relative path from the command line is taken from where it was started.
String FromLaunchDir(const char* path) {
    String p = String::FromUtf8(path);
    return path[0] == '/' ? p : LaunchDir() + "/" + p;
}

// An uncaught runtime exception ends the program: RunProgram prints its
// text on standard error and exits with status 255.
[[noreturn]] void Fail(const std::string& message) {
    RaiseRuntimeError(String::FromUtf8("vantrel_sprites: " + message));
}

void Run() {
    Array<String> args = AppArgs();
    String imagePath;
    for (int i = 1; i < args->Length(); ++i) {
        std::string arg = (*args)[i].ToUtf8();
        if (arg == "--frames" && i + 1 < args->Length()) frameLimit = std::atoi((*args)[++i].ToUtf8().c_str());
        else imagePath = FromLaunchDir(arg.c_str());
    }
    if (imagePath.Length() == 0) Fail("usage: vantrel_sprites IMAGE.png [--frames N]");

    StartTimerModule();
    InitGLVel2DModule();  // the OpenGL 2D driver becomes the graphics driver
    SetAppTitle("Vantrel sprites");
    if (!OpenGraphics(640, 480, 0, 60, 0)) Fail("cannot open a 640 x 480 OpenGL window");
    Ref<TTimer> timer = MakeTimer(60.0f, nullptr);

    SetAutoMidHandle(1);  // images load with their handle in the middle
    Ref<TImage> image = LoadImageFile(imagePath);
    if (!image) Fail("cannot load " + imagePath.ToUtf8());

    std::vector<Sprite> sprites;
    float x = 320, y = 240;
    int frame = 0;
    while (!TakeTerminateRequest() && !TakeKeyHits(keys::Escape)) {
        x += 4.0f * float(IsKeyDown(keys::Right) - IsKeyDown(keys::Left));
        y += 4.0f * float(IsKeyDown(keys::Down) - IsKeyDown(keys::Up));
        if (TakeButtonHits(buttons::Left)) sprites.push_back({float(PointerX()), float(PointerY()), 0});

        SetClearColor(10, 12, 30);
        ClearCanvas();
        SetBlendMode(BlendAlpha);

        // A ring of sprites around the centre one, each turned and scaled
        // by its place, fading out round the ring.
        for (int i = 0; i < 12; ++i) {
            float angle = float(frame) * 0.8f + float(i) * 30.0f;
            float rad = angle * 3.14159265f / 180.0f;
            SetDrawAlpha(1.0f - float(i) / 14.0f);
            SetDrawTransform(angle, 0.4f + 0.05f * float(i), 0.4f + 0.05f * float(i));
            DrawImageAt(image, x + 150.0f * std::cos(rad), y + 150.0f * std::sin(rad));
        }
        SetDrawAlpha(1.0f);
        SetDrawTransform(-float(frame), 1.0f, 1.0f);
        DrawImageAt(image, x, y);

        for (Sprite& s : sprites) {
            s.spin += 3.0f;
            SetDrawTransform(s.spin, 0.5f, 0.5f);
            DrawImageAt(image, s.x, s.y);
        }

        SetDrawTransform();
        SetDrawColor(255, 255, 255);
        DrawTextAt("Arrows move, click drops a sprite, Escape quits", 8, 8);
        DrawTextAt(String::FromUtf8("sprites: " + std::to_string(sprites.size()) + "  pointer: " +
                                    std::to_string(PointerX()) + "," + std::to_string(PointerY())),
                   8, 28);
        FlipGraphics(0);

        if (++frame == frameLimit) break;
        AwaitTimerTicks(timer);  // sleeps until the next 1/60 s tick
    }
}

}  // namespace

int main(int argc, char** argv) { return RunProgram(argc, argv, Run); }
