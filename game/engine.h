// The engine fronts the game calls.
#pragma once

#include "audio/audio.h"
#include "render/freetype/freetype_font.h"
#include "render/gl/gl_vel2d_driver.h"
#include "render/graphics.h"
#include "render/image.h"
#include "render/vel2d.h"
#include "resources/list.h"
#include "resources/pixmap_load_ahead.h"
#include "resources/png_pixmap.h"
#include "runtime/runtime.h"
#include "system/polled_input.h"
#include "system/random.h"
#include "system/timer.h"
