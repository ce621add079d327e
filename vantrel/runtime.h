// The object runtime in one include: objects and Ref, strings, arrays,
// exceptions, math and the program's start and exit.
#pragma once

#include <vantrel/runtime/array.h>
#include <vantrel/runtime/exceptions.h>
#include <vantrel/runtime/math.h>
#include <vantrel/runtime/object.h>
#include <vantrel/runtime/program.h>
#include <vantrel/runtime/runtime.h>
#include <vantrel/runtime/string.h>
