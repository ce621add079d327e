// The engine fronts the game calls, all of them public headers.
#pragma once

#include <vantrel/audio/audio.h>
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
