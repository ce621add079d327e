#include <vantrel/resources/stream_exceptions.h>

namespace vantrel {

String TStreamException::ToString() const { return "Stream exception"; }
String TStreamReadException::ToString() const { return "Error reading from stream"; }
String TStreamWriteException::ToString() const { return "Error writing to stream"; }

}  // namespace vantrel
