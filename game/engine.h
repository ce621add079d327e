// The engine fronts the game calls: the installed public headers, and the
// two load-ahead headers, which the engine does not install yet.
#pragma once

#include <vantrel/audio/audio.h>
#include <vantrel/audio/sample_load_ahead.h>
#include <vantrel/render/freetype/freetype_font.h>
#include <vantrel/render/gl/gl_vel2d_driver.h>
#include <vantrel/render/graphics.h>
#include <vantrel/render/image.h>
#include <vantrel/render/vel2d.h>
#include <vantrel/resources/list.h>
#include <vantrel/resources/png_pixmap.h>
#include <vantrel/runtime/runtime.h>
#include <vantrel/system/polled_input.h>
#include <vantrel/system/random.h>
#include <vantrel/system/timer.h>
