// PNG images: decoding into pixmaps and encoding pixmaps, through libpng and
// the engine's streams.
//
// Decoding gives format 1 for grey, 4 for RGB and 6 for anything with alpha
// (palette transparency included); 16-bit samples keep their high byte.
// Encoding writes formats 1, 3, 4, 5 and 6 as they are and every other
// format through a format-6 copy.
//
// Failures: data that is not PNG or that libpng rejects gives Null (0 from
// the encoder). Data that ends early, including a chunk that declares more
// bytes than the stream holds, raises TStreamReadException, which the
// pixmap loader chain takes as a refusal; every other exception from the
// stream passes on unchanged. Images whose size the data cannot hold are
// refused before anything is allocated for them.
//
// Each call keeps its libpng state, its stream and its pixmap to itself, so
// threads may decode at once, each with a stream of its own; the module
// start and the loader it registers belong to the main thread.
#pragma once

#include <vantrel/resources/pixmap.h>
#include <vantrel/runtime/object.h>

namespace vantrel {

class TPixmapLoaderPNG final : public TPixmapLoader {
public:
    Ref<TPixmap> LoadPixmap(const Ref<TStream>& stream) override;
};

// Anything OpenReadStream accepts; a stream given here is left open.
Ref<TPixmap> DecodePngPixmap(const Ref<Object>& url);
// level is clamped to 0..9; returns 1 when the file was written, else 0
// (also when closing the file reports lost bytes).
int EncodePngPixmap(const Ref<TPixmap>& pixmap, const Ref<Object>& url, int level);

// The same as StartPixmapModule, which puts the PNG loader on the chain.
void StartPngModule();

}  // namespace vantrel
