// The errors raised by streams.
//
// A short read or write raises TStreamReadException or TStreamWriteException;
// loader chains catch the common base TStreamException and treat it as "not
// my data". These are not runtime errors, so they stand outside the
// TOrvoException tree. Thrown by value; usable from any thread.
#pragma once

#include <vantrel/runtime/object.h>
#include <vantrel/runtime/string.h>

namespace vantrel {

class TStreamException : public Object {
public:
    String ToString() const override;
};

class TStreamReadException : public TStreamException {
public:
    String ToString() const override;
};

class TStreamWriteException : public TStreamException {
public:
    String ToString() const override;
};

}  // namespace vantrel
