// Fixed-length, bounds-checked arrays.
//
// TArray<T> is an Object holding exactly Length() elements, value-initialised
// on creation. Indexing outside 0..Length()-1 raises TArrayBoundsException.
// Array<T> is the reference to one (Null when absent). Not synchronised.
#pragma once

#include <initializer_list>
#include <vector>

#include <vantrel/runtime/exceptions.h>
#include <vantrel/runtime/object.h>

namespace vantrel {

template <class T>
class TArray final : public Object {
public:
    explicit TArray(int length) : _items(length < 0 ? 0 : static_cast<size_t>(length)) {}
    TArray(std::initializer_list<T> items) : _items(items) {}
    explicit TArray(std::vector<T> items) : _items(std::move(items)) {}

    int Length() const { return static_cast<int>(_items.size()); }
    T& operator[](int index) { CheckIndex(index, Length()); return _items[static_cast<size_t>(index)]; }
    const T& operator[](int index) const { CheckIndex(index, Length()); return _items[static_cast<size_t>(index)]; }
    T& At(int index) { return (*this)[index]; }
    const T& At(int index) const { return (*this)[index]; }
    T* Data() { return _items.data(); }
    const T* Data() const { return _items.data(); }

    // A new array holding the first `length` elements (padded with defaults).
    Ref<TArray> Resized(int length) const {
        std::vector<T> items(_items.begin(), _items.begin() + (length < Length() ? (length < 0 ? 0 : length) : Length()));
        items.resize(length < 0 ? 0 : static_cast<size_t>(length));
        return Ref<TArray>(new TArray(std::move(items)));
    }

    auto begin() { return _items.begin(); }
    auto end() { return _items.end(); }
    auto begin() const { return _items.begin(); }
    auto end() const { return _items.end(); }

private:
    std::vector<T> _items;
};

template <class T>
using Array = Ref<TArray<T>>;

template <class T>
Array<T> NewArray(int length) { return Array<T>(new TArray<T>(length)); }

template <class T>
Array<T> ArrayOf(std::initializer_list<T> items) { return Array<T>(new TArray<T>(items)); }

using ByteArray = Array<uint8_t>;

}  // namespace vantrel
