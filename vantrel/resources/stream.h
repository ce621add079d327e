// Streams and stream factories: the engine's one byte-source and byte-sink
// abstraction, opened from a file path, a protocol "::" path URL or an
// existing stream. Everything a stream user needs in one include.
//
// Typed data is little-endian. Opening fails quietly (Null); short transfers
// raise TStreamReadException / TStreamWriteException. Streams are used by one
// thread at a time; the factory chain is built during start-up.
#pragma once

#include <vantrel/resources/cstream.h>
#include <vantrel/resources/stream_exceptions.h>
#include <vantrel/resources/stream_factory.h>
#include <vantrel/resources/stream_fronts.h>
#include <vantrel/resources/stream_io.h>
#include <vantrel/resources/stream_wrapper.h>

namespace vantrel {

// The stream classes need no set-up of their own; protocol modules (banks,
// byte-order wrappers) call this before creating their factories.
void StartStreamModule();

}  // namespace vantrel
