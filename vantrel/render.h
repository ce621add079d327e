// Drawing in one include: graphics contexts, the 2D drawing interface with
// images and fonts, the OpenGL driver, FreeType fonts and the recording
// driver for tests without a display.
#pragma once

#include <vantrel/render/font.h>
#include <vantrel/render/freetype/freetype_font.h>
#include <vantrel/render/gl/gl_vel2d_driver.h>
#include <vantrel/render/graphics.h>
#include <vantrel/render/image.h>
#include <vantrel/render/image_font.h>
#include <vantrel/render/recording_driver.h>
#include <vantrel/render/vel2d.h>
