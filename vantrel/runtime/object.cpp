#include <vantrel/runtime/object.h>

#include <vantrel/runtime/exceptions.h>
#include <vantrel/runtime/string.h>

namespace vantrel {

String Object::ToString() const { return String("Object"); }

int Object::Compare(const Object* other) const {
    if (this == other) return 0;
    return std::less<const Object*>()(this, other) ? -1 : 1;
}

void RaiseNullObject() { throw TNullObjectException(); }

}  // namespace vantrel
