// Everything of the object runtime in one include.
#pragma once

#include "runtime/array.h"
#include "runtime/exceptions.h"
#include "runtime/heap_warmup.h"
#include "runtime/math.h"
#include "runtime/object.h"
#include "runtime/program.h"
#include "runtime/string.h"
