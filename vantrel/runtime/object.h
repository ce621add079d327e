// Reference-counted objects and the Ref<T> smart pointer.
//
// Every engine object derives from Object, which carries an intrusive,
// atomic reference count. Ref<T> holds one share; dropping the last share
// destroys the object at once, so a stream closes its file and a pixmap
// frees its pixels the moment nobody refers to it. A null Ref is the
// engine's Null: dereferencing it raises TNullObjectException instead of
// crashing.
//
// Rules: objects are created with MakeRef<T>(...) (or new T and handed to a
// Ref straight away); a constructor must not hand `this` to a temporary Ref,
// because the count would drop back to zero and destroy the half-made object.
// Objects thrown as exceptions are thrown by value and never put in a Ref.
// Reference counts may change on any thread; everything else about an object
// belongs to whoever uses it.
#pragma once

#include <atomic>
#include <concepts>
#include <cstddef>
#include <type_traits>
#include <utility>

namespace vantrel {

class String;

class Object {
public:
    Object() noexcept = default;
    // A copy is a new object: it starts with no shares of its own.
    Object(const Object&) noexcept {}
    Object& operator=(const Object&) noexcept { return *this; }
    virtual ~Object() = default;

    // Text describing the object; exceptions give their message here.
    virtual String ToString() const;
    // Ordering used by sorts: -1, 0 or 1. The default orders by identity.
    virtual int Compare(const Object* other) const;

    void Retain() const noexcept { _refs.fetch_add(1, std::memory_order_relaxed); }
    void Release() const noexcept {
        if (_refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
    }
    int RefCount() const noexcept { return _refs.load(std::memory_order_relaxed); }

private:
    mutable std::atomic<int> _refs{0};
};

// Raises TNullObjectException; kept out of line so Ref stays small.
[[noreturn]] void RaiseNullObject();

template <class T>
class Ref {
public:
    Ref() noexcept = default;
    Ref(std::nullptr_t) noexcept {}
    Ref(T* p) noexcept : _p(p) { if (_p) _p->Retain(); }
    Ref(const Ref& o) noexcept : _p(o._p) { if (_p) _p->Retain(); }
    Ref(Ref&& o) noexcept : _p(o._p) { o._p = nullptr; }
    template <class U>
        requires std::convertible_to<U*, T*>
    Ref(const Ref<U>& o) noexcept : _p(o.get()) { if (_p) _p->Retain(); }
    template <class U>
        requires std::convertible_to<U*, T*>
    Ref(Ref<U>&& o) noexcept : _p(o.release()) {}

    // Text travels wherever an object does (URLs, event payloads): a string
    // literal or a String converts to a Ref<Object> holding the string object.
    Ref(const char* text) requires std::same_as<std::remove_const_t<T>, Object>;
    Ref(const String& text) requires std::same_as<std::remove_const_t<T>, Object>;

    ~Ref() { if (_p) _p->Release(); }

    Ref& operator=(Ref o) noexcept { std::swap(_p, o._p); return *this; }

    T* get() const noexcept { return _p; }
    T* operator->() const { if (!_p) RaiseNullObject(); return _p; }
    T& operator*() const { if (!_p) RaiseNullObject(); return *_p; }
    explicit operator bool() const noexcept { return _p != nullptr; }
    bool IsNull() const noexcept { return _p == nullptr; }

    // Gives up the share without releasing it; the caller now owns it.
    T* release() noexcept { T* p = _p; _p = nullptr; return p; }

    template <class U>
    bool operator==(const Ref<U>& o) const noexcept { return _p == o.get(); }
    bool operator==(std::nullptr_t) const noexcept { return _p == nullptr; }

private:
    T* _p = nullptr;
};

template <class T, class... Args>
Ref<T> MakeRef(Args&&... args) {
    return Ref<T>(new T(std::forward<Args>(args)...));
}

// The object as a T, or Null when it is Null or of another class.
template <class T, class U>
Ref<T> Cast(const Ref<U>& o) noexcept {
    return Ref<T>(dynamic_cast<T*>(o.get()));
}

template <class T, class U>
bool IsA(const Ref<U>& o) noexcept {
    return dynamic_cast<const T*>(o.get()) != nullptr;
}

}  // namespace vantrel

// String, and the definitions of Ref's constructors from text, which need it.
#include <vantrel/runtime/string.h>
