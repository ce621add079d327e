// A pixmap load started ahead on a worker: its result shows where the
// program loads the pixmap, once. Run under ThreadSanitizer as well.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

#include <vantrel/resources/pixmap_load_ahead.h>
#include <vantrel/resources/png_pixmap.h>
#include <vantrel/resources/stream.h>

using namespace vantrel;

namespace {

std::atomic<int> opens{0};

// "counted::path" counts every open, found or not, then opens the file.
class CountingFactory : public TStreamFactory {
public:
    Ref<TStream> CreateStream(const Ref<Object>&, const String& proto, const String& path, bool readable,
                              bool writeable) override {
        if (!(proto == String("counted"))) return nullptr;
        ++opens;
        return TCStream::OpenFile(path, readable, writeable);
    }
};

}  // namespace

TEST(PixmapLoadAhead, TheLoadIsTakenOnceWhereThePixmapIsLoaded) {
    StartPngModule();
    MakeRef<CountingFactory>();
    const String png("counted::" VANTREL_TEST_DATA "/pngsuite/basn6a08.png");
    const String missing("counted::" VANTREL_TEST_DATA "/pngsuite/no-such-file.png");

    Ref<TPixmap> direct = ReadPixmapFrom(png);
    ASSERT_TRUE(direct);
    opens = 0;
    Ref<TPixmapLoadAhead> ahead = LoadPixmapAhead(png);
    Ref<TPixmapLoadAhead> aheadMissing = LoadPixmapAhead(missing);

    Ref<TPixmap> taken = LoadPixmapFrom(png);
    EXPECT_FALSE(LoadPixmapFrom(missing));
    EXPECT_EQ(opens, 2) << "the loads took the workers' results, the missing file's Null too";
    ASSERT_TRUE(taken);
    ASSERT_EQ(taken->format, direct->format);
    ASSERT_EQ(taken->width, direct->width);
    ASSERT_EQ(taken->height, direct->height);
    for (int y = 0; y < taken->height; ++y) {
        EXPECT_EQ(std::memcmp(taken->PixelPtr(0, y), direct->PixelPtr(0, y),
                              static_cast<size_t>(taken->width) * taken->BytesPerPixel()),
                  0)
            << "row " << y;
    }

    EXPECT_NE(LoadPixmapFrom(png).get(), taken.get());
    EXPECT_FALSE(LoadPixmapFrom(missing));
    EXPECT_EQ(opens, 4) << "later loads read afresh";
}
