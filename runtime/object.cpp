#include "runtime/object.h"

#include "runtime/exceptions.h"
#include "runtime/string.h"

namespace vantrel {

String Object::ToString() const { return String("Object"); }

int Object::Compare(const Object* other) const {
    if (this == other) return 0;
    return std::less<const Object*>()(this, other) ? -1 : 1;
}

void RaiseNullObject() { throw TNullObjectException(); }

}  // namespace vantrel
