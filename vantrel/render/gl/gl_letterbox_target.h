// The picture of a window whose drawable has not the size the program asked
// for (a tiling window manager or a compositor chose another): the program
// draws into a framebuffer object of its own size, and each flip shows it
// scaled into the drawable with its aspect kept, centred, the bars black
// (letterbox.h). Reading pixels back reads the program's picture, pixel for
// pixel, whatever the window's size.
//
// A context whose drawable has the asked size draws straight to the window,
// as it always did; the target exists only while the sizes differ.
//
// Failure: Create returns false when the context offers no framebuffer
// objects with blitting (OpenGL 3.0 or GL_ARB_framebuffer_object) or the
// framebuffer is incomplete; the context then draws to the window unscaled.
// Destroy before the context is deleted: renderbuffers belong to the
// contexts' shared objects and would outlive it.
//
// Main thread only, with the target's context current.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

namespace vantrel {

class GLLetterboxTarget {
public:
    // Draws go to a new framebuffer of width x height, cleared to black.
    bool Create(int width, int height, int flags);
    // Draws go to the window again.
    void Destroy();
    bool Active() const { return _framebuffer != 0; }
    // Copies the picture into the drawable's back buffer, scaled into the
    // letterbox, and clears the bars; draws still go to the target.
    void Present(int drawableWidth, int drawableHeight);

private:
    bool LoadFunctions();

    GLuint _framebuffer = 0, _color = 0, _depthStencil = 0;
    int _width = 0, _height = 0;
    PFNGLGENFRAMEBUFFERSPROC _genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC _deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC _bindFramebuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC _checkFramebufferStatus = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC _framebufferRenderbuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC _genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC _deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC _bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC _renderbufferStorage = nullptr;
    PFNGLBLITFRAMEBUFFERPROC _blitFramebuffer = nullptr;
};

}  // namespace vantrel
