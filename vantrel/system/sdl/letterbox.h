// Where a program's picture of a fixed size sits in a window of another
// size: scaled as large as fits with its aspect kept, centred, with bars
// on the two sides left over (a letterbox), and how window points map to
// the program's points and back.
//
// A window whose size equals the program's gives the whole window and
// leaves every point where it is. Sizes must be positive (a zero or
// negative size gives an empty box and points at 0).
//
// Pure functions: any thread.
#pragma once

namespace vantrel {

// A rectangle in the window, rows counted from the top.
struct LetterboxRect {
    int x = 0, y = 0, width = 0, height = 0;
};

LetterboxRect FitLetterbox(int windowWidth, int windowHeight, int programWidth, int programHeight);

// The program point under window point (x, y): the window pixel's centre
// scaled into the box. Points over the bars map outside 0..program size - 1.
void WindowToProgramPoint(const LetterboxRect& box, int programWidth, int programHeight, int& x, int& y);
// The window point at the centre of program point (x, y).
void ProgramToWindowPoint(const LetterboxRect& box, int programWidth, int programHeight, int& x, int& y);

}  // namespace vantrel
