#include <vantrel/resources/stream.h>

namespace vantrel {

void StartStreamModule() {
    static bool started = false;
    if (started) return;
    started = true;
}

}  // namespace vantrel
