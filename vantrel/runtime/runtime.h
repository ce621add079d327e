// Everything of the object runtime in one include.
#pragma once

#include <vantrel/runtime/array.h>
#include <vantrel/runtime/exceptions.h>
#include <vantrel/runtime/math.h>
#include <vantrel/runtime/object.h>
#include <vantrel/runtime/program.h>
#include <vantrel/runtime/string.h>
