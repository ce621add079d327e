// The Windows window class of the program's windows: SDL registers one
// class for all its windows when its video starts; it is named "Vantrel
// GLGraphics" and carries the program's icon resource 101 when the program
// has one (SDL's own icon otherwise). Main thread, before SDL's video starts.
#include <vantrel/system/sdl/sdl_video.h>

#include <windows.h>

#include <SDL.h>

namespace vantrel {

constexpr int kProgramIcon = 101;

bool ProgramHasIcon() {
    return FindResourceW(nullptr, MAKEINTRESOURCEW(kProgramIcon), MAKEINTRESOURCEW(14)) != nullptr;  // RT_GROUP_ICON
}

void RegisterWindowClass() {
    if (ProgramHasIcon()) {
        SDL_SetHint(SDL_HINT_WINDOWS_INTRESOURCE_ICON, "101");
        SDL_SetHint(SDL_HINT_WINDOWS_INTRESOURCE_ICON_SMALL, "101");
    }
    SDL_RegisterApp("Vantrel GLGraphics", CS_HREDRAW | CS_VREDRAW | CS_OWNDC, GetModuleHandleW(nullptr));
}

}  // namespace vantrel
