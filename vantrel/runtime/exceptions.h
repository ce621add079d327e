// The runtime's exception classes.
//
// Everything the engine raises is an Object thrown by value and caught by
// type; ToString gives the message. The runtime's own errors form the tree
// under TOrvoException. A "bare string" raise (for example "Too many hook
// ids") throws a TStringException whose text is the string itself, so code
// that must recognise one compares the text.
#pragma once

#include <vantrel/runtime/object.h>
#include <vantrel/runtime/string.h>

namespace vantrel {

class TOrvoException : public Object {
public:
    String ToString() const override;
};

class TNullObjectException : public TOrvoException {
public:
    String ToString() const override;
};

class TNullMethodException : public TOrvoException {
public:
    String ToString() const override;
};

class TNullFunctionException : public TOrvoException {
public:
    String ToString() const override;
};

class TArrayBoundsException : public TOrvoException {
public:
    String ToString() const override;
};

class TOutOfDataException : public TOrvoException {
public:
    String ToString() const override;
};

class TRuntimeException : public TOrvoException {
public:
    explicit TRuntimeException(String message) : error(std::move(message)) {}
    String ToString() const override { return error; }
    String error;
};

// A raised string: the exception object is the text itself.
class TStringException : public Object {
public:
    explicit TStringException(String message) : text(std::move(message)) {}
    String ToString() const override { return text; }
    String text;
};

[[noreturn]] void RaiseRuntimeError(const String& message);
[[noreturn]] void RaiseString(const String& text);
[[noreturn]] void RaiseAbstractMethod();     // TNullMethodException
[[noreturn]] void RaiseArrayBounds();        // TArrayBoundsException

// Raises TArrayBoundsException unless 0 <= index < length.
inline void CheckIndex(int64_t index, int64_t length) {
    if (index < 0 || index >= length) RaiseArrayBounds();
}
// Raises TArrayBoundsException unless [offset, offset + count) lies in [0, length).
inline void CheckRange(int64_t offset, int64_t count, int64_t length) {
    if (offset < 0 || count < 0 || offset > length || count > length - offset) RaiseArrayBounds();
}

}  // namespace vantrel
