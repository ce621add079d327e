#include <vantrel/runtime/exceptions.h>

namespace vantrel {

String TOrvoException::ToString() const { return "Orvo exception"; }
String TNullObjectException::ToString() const { return "Attempt to access field or method of Null object"; }
String TNullMethodException::ToString() const { return "Attempt to call abstract method"; }
String TNullFunctionException::ToString() const { return "Attempt to call uninitialized function pointer"; }
String TArrayBoundsException::ToString() const { return "Attempt to index array element beyond array length"; }
String TOutOfDataException::ToString() const { return "Attempt to read beyond end of data"; }

void RaiseRuntimeError(const String& message) { throw TRuntimeException(message); }
void RaiseString(const String& text) { throw TStringException(text); }
void RaiseAbstractMethod() { throw TNullMethodException(); }
void RaiseArrayBounds() { throw TArrayBoundsException(); }

}  // namespace vantrel
