// Outline and bitmap-strike font files through FreeType. After
// InitFreeTypeFontModule, image fonts and LoadDrawFont (vel2d.h) take font
// files as sources.
//
// A source is a file path, or a stream address ("protocol::path") that is
// read whole through the stream layer. A size the face cannot provide falls
// back to the next smaller one it can (bitmap-only faces pick among their
// fixed strikes).
//
// Failure: a font file that cannot be opened or sized loads as Null, never
// an exception. A glyph that fails to render draws nothing and does not
// advance.
//
// Main thread only.
#pragma once

namespace vantrel {

// Puts the FreeType font loader on the font loader chain (once).
void InitFreeTypeFontModule();

}  // namespace vantrel
