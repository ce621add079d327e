#include <vantrel/system/sdl/letterbox.h>

#include <cstdint>

namespace vantrel {

namespace {

// floor(a / b) for b > 0, also for negative a.
int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// The point at the centre of cell i of a line of `from` cells, on a line of
// `to` cells over the same length.
int Rescale(int i, int from, int to) {
    if (from <= 0 || to <= 0) return 0;
    return static_cast<int>(FloorDiv((2 * static_cast<int64_t>(i) + 1) * to, 2 * static_cast<int64_t>(from)));
}

}  // namespace

LetterboxRect FitLetterbox(int windowWidth, int windowHeight, int programWidth, int programHeight) {
    if (windowWidth <= 0 || windowHeight <= 0 || programWidth <= 0 || programHeight <= 0) return {};
    int64_t ww = windowWidth, wh = windowHeight, pw = programWidth, ph = programHeight;
    LetterboxRect box;
    if (ww * ph <= wh * pw) {
        // Width-bound: bars above and below.
        box.width = windowWidth;
        box.height = static_cast<int>((ph * ww + pw / 2) / pw);
    } else {
        box.height = windowHeight;
        box.width = static_cast<int>((pw * wh + ph / 2) / ph);
    }
    if (box.width < 1) box.width = 1;
    if (box.height < 1) box.height = 1;
    box.x = (windowWidth - box.width) / 2;
    box.y = (windowHeight - box.height) / 2;
    return box;
}

void WindowToProgramPoint(const LetterboxRect& box, int programWidth, int programHeight, int& x, int& y) {
    x = Rescale(x - box.x, box.width, programWidth);
    y = Rescale(y - box.y, box.height, programHeight);
}

void ProgramToWindowPoint(const LetterboxRect& box, int programWidth, int programHeight, int& x, int& y) {
    x = box.x + Rescale(x, programWidth, box.width);
    y = box.y + Rescale(y, programHeight, box.height);
}

}  // namespace vantrel
