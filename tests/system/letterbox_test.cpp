// The letterbox of a program's picture in a window of another size, and
// the mapping of window points to program points and back.
#include <gtest/gtest.h>

#include <vantrel/system/sdl/letterbox.h>

namespace {

using namespace vantrel;

TEST(Letterbox, FitsTheProgramsAspectCentred) {
    struct Case {
        int windowW, windowH, programW, programH;
        LetterboxRect box;
    } cases[] = {
        {800, 600, 800, 600, {0, 0, 800, 600}},        // same size: the whole window
        {1600, 1200, 800, 600, {0, 0, 1600, 1200}},    // same aspect, larger
        {1280, 720, 800, 600, {160, 0, 960, 720}},     // wider: bars left and right
        {800, 1000, 800, 600, {0, 200, 800, 600}},     // taller: bars above and below
        {1279, 720, 800, 600, {159, 0, 960, 720}},     // odd remainder: the extra column right
        {400, 300, 800, 600, {0, 0, 400, 300}},        // smaller than the program
        {1918, 1051, 800, 600, {258, 0, 1401, 1051}},  // a tiled window's size, rounded box
        {1, 1000, 800, 600, {0, 499, 1, 1}},           // never an empty box
        {0, 600, 800, 600, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        LetterboxRect box = FitLetterbox(c.windowW, c.windowH, c.programW, c.programH);
        SCOPED_TRACE(testing::Message() << c.windowW << "x" << c.windowH);
        EXPECT_EQ(box.x, c.box.x);
        EXPECT_EQ(box.y, c.box.y);
        EXPECT_EQ(box.width, c.box.width);
        EXPECT_EQ(box.height, c.box.height);
    }
}

TEST(Letterbox, MapsWindowPointsIntoTheProgramAndBack) {
    struct Case {
        int windowW, windowH;
        int windowX, windowY;
        int programX, programY;
    } cases[] = {
        {800, 600, 0, 0, 0, 0},           // same size: unchanged, also off the window
        {800, 600, 799, 599, 799, 599},
        {800, 600, -5, 650, -5, 650},
        {1280, 720, 160, 0, 0, 0},        // the box's corners
        {1280, 720, 1119, 719, 799, 599},
        {1280, 720, 640, 360, 400, 300},  // the centre
        {1280, 720, 159, 10, -1, 8},      // over the left bar: left of the picture
        {1280, 720, 1120, 10, 800, 8},    // over the right bar
        {400, 300, 1, 1, 3, 3},           // a smaller window: two program points a window point
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.windowW << "x" << c.windowH << " at " << c.windowX << "," << c.windowY);
        LetterboxRect box = FitLetterbox(c.windowW, c.windowH, 800, 600);
        int x = c.windowX, y = c.windowY;
        WindowToProgramPoint(box, 800, 600, x, y);
        EXPECT_EQ(x, c.programX);
        EXPECT_EQ(y, c.programY);
        // Back: a point of a box at least the program's size comes home.
        if (box.width >= 800) {
            ProgramToWindowPoint(box, 800, 600, x, y);
            EXPECT_EQ(x, c.windowX);
            EXPECT_EQ(y, c.windowY);
        }
    }
}

}  // namespace
