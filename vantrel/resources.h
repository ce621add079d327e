// Resources in one include: streams by URL (files, banks, wrappers), banks,
// lists and pixmaps with the PNG loader.
#pragma once

#include <vantrel/resources/bank.h>
#include <vantrel/resources/bank_stream.h>
#include <vantrel/resources/cstream.h>
#include <vantrel/resources/list.h>
#include <vantrel/resources/pixmap.h>
#include <vantrel/resources/png_pixmap.h>
#include <vantrel/resources/stream.h>
#include <vantrel/resources/stream_exceptions.h>
#include <vantrel/resources/stream_factory.h>
#include <vantrel/resources/stream_fronts.h>
#include <vantrel/resources/stream_io.h>
#include <vantrel/resources/stream_wrapper.h>
