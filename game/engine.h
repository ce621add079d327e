// The engine fronts the game calls.
#pragma once

#include "audio/audio.h"
#include "render/graphics.h"
#include "render/image.h"
#include "render/vel2d.h"
#include "render/gl/gl_vel2d_driver.h"
#include "render/freetype/freetype_font.h"
#include "resources/list.h"
#include "resources/png_loader.h"
#include "runtime/runtime.h"
#include "system/input.h"
#include "system/random.h"
#include "system/timer.h"
