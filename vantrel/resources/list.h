// TList: a doubly linked, circular list of object references around a
// sentinel link, with enumeration that tolerates removal while walking.
//
// A removed link keeps its own neighbours, so an enumerator standing on it
// can still move on: removing the value just returned does not disturb a
// walk, and removing the one that comes next makes the walk yield Null for
// it once. C++ range-for over a list (or over Each<T>(list), which yields
// only the values of class T) walks the same way.
//
// Equality (Contains, FindLink, Remove) is the stored value's Compare
// returning 0; a Null value equals only Null. Only ValueAtIndex raises
// ("List index out of range"). Main thread only.
#pragma once

#include <functional>

#include <vantrel/runtime/array.h>
#include <vantrel/runtime/object.h>

namespace vantrel {

class TList;

class TLink : public Object {
public:
    ~TLink() override;

    Ref<Object> Value() const { return _value; }
    Ref<TLink> NextLink() const;        // Null at the end
    Ref<TLink> PrevLink() const;        // Null at the start
    // Clears the value and unlinks; the link keeps its own neighbours.
    // Removing a link a second time only clears its value again.
    void Remove();

    // The stored object; Null once removed; the link itself for a sentinel.
    Ref<Object> _value;
    Ref<TLink> _succ;
    Ref<TLink> _pred;

    bool IsSentinel() const { return _value.get() == this; }
};

class TListEnum : public Object {
public:
    explicit TListEnum(Ref<TLink> link) : _link(std::move(link)) {}
    bool HasNext() const;
    Ref<Object> NextObject();

    Ref<TLink> _link;                   // the link whose value comes next
};

using ListCompare = std::function<int(const Ref<Object>&, const Ref<Object>&)>;

// a's Compare applied to b.
int CompareByObject(const Ref<Object>& a, const Ref<Object>& b);

class TList : public Object {
public:
    TList();
    ~TList() override;

    void Clear();
    bool IsEmpty() const;
    bool Contains(const Ref<Object>& value) const;
    Ref<TLink> AddFirst(Ref<Object> value);
    Ref<TLink> AddLast(Ref<Object> value);
    Ref<Object> First() const;
    Ref<Object> Last() const;
    Ref<Object> RemoveFirst();
    Ref<Object> RemoveLast();
    Ref<TLink> FirstLink() const;
    Ref<TLink> LastLink() const;
    Ref<TLink> InsertBeforeLink(Ref<Object> value, const Ref<TLink>& succ);
    Ref<TLink> InsertAfterLink(Ref<Object> value, Ref<TLink> pred);
    Ref<TLink> FindLink(const Ref<Object>& value) const;
    Ref<Object> ValueAtIndex(int index) const;
    int Count() const;
    // Removes the first equal value; true when one was found.
    bool Remove(const Ref<Object>& value);
    void Swap(const Ref<TList>& list);
    Ref<TList> Copy() const;
    void Reverse();
    Ref<TList> Reversed() const;
    // Stable bottom-up merge sort of the links, in place.
    void Sort(bool ascending = true, const ListCompare& compare = CompareByObject);
    Ref<TListEnum> ObjectEnumerator() const;
    Array<Ref<Object>> ToArray() const;
    static Ref<TList> FromArray(const Array<Ref<Object>>& array);

    // Range-for support with the enumerator's semantics: each step takes the
    // value and moves on before the loop body runs.
    class Iterator {
    public:
        explicit Iterator(Ref<TLink> link) : _enum(std::move(link)) { ++*this; }
        Iterator() : _enum(nullptr), _done(true) {}
        const Ref<Object>& operator*() const { return _current; }
        Iterator& operator++() {
            _done = !_enum.HasNext();
            _current = _done ? nullptr : _enum.NextObject();
            return *this;
        }
        bool operator!=(const Iterator& end) const { return _done != end._done; }

    private:
        TListEnum _enum;
        Ref<Object> _current;
        bool _done = false;
    };
    Iterator begin() const { return Iterator(_head->_succ); }
    Iterator end() const { return Iterator(); }

    Ref<TLink> _head;
};

// The values of a list that are of class T (Null and other classes skipped),
// for `for (Ref<Shot> s : Each<Shot>(shots))`.
template <class T>
class Each {
public:
    explicit Each(const Ref<TList>& list) : _list(list) {}

    class Iterator {
    public:
        explicit Iterator(TList::Iterator it) : _it(std::move(it)) { Settle(); }
        Ref<T> operator*() const { return Cast<T>(*_it); }
        Iterator& operator++() {
            ++_it;
            Settle();
            return *this;
        }
        bool operator!=(const Iterator& end) const { return _it != end._it; }

    private:
        void Settle() {
            while (_it != TList::Iterator() && !IsA<T>(*_it)) ++_it;
        }
        TList::Iterator _it;
    };
    Iterator begin() const { return Iterator(_list->begin()); }
    Iterator end() const { return Iterator(TList::Iterator()); }

private:
    Ref<TList> _list;
};

// Procedural fronts, the list first.
Ref<TList> CreateList();
void ClearList(const Ref<TList>& list);
bool ListIsEmpty(const Ref<TList>& list);
bool ListContains(const Ref<TList>& list, const Ref<Object>& value);
Ref<TLink> ListAddFirst(const Ref<TList>& list, Ref<Object> value);
Ref<TLink> ListAddLast(const Ref<TList>& list, Ref<Object> value);
Ref<Object> ListFirst(const Ref<TList>& list);
Ref<Object> ListLast(const Ref<TList>& list);
Ref<Object> ListRemoveFirst(const Ref<TList>& list);
Ref<Object> ListRemoveLast(const Ref<TList>& list);
Ref<TLink> ListFirstLink(const Ref<TList>& list);
Ref<TLink> ListLastLink(const Ref<TList>& list);
Ref<TLink> ListInsertBeforeLink(const Ref<TList>& list, Ref<Object> value, const Ref<TLink>& succ);
Ref<TLink> ListInsertAfterLink(const Ref<TList>& list, Ref<Object> value, const Ref<TLink>& pred);
Ref<TLink> ListFindLink(const Ref<TList>& list, const Ref<Object>& value);
Ref<Object> ListValueAtIndex(const Ref<TList>& list, int index);
int CountList(const Ref<TList>& list);
bool ListRemove(const Ref<TList>& list, const Ref<Object>& value);
void SwapLists(const Ref<TList>& a, const Ref<TList>& b);
Ref<TList> CopyList(const Ref<TList>& list);
void ReverseList(const Ref<TList>& list);
Ref<TList> ReversedList(const Ref<TList>& list);
void SortList(const Ref<TList>& list, bool ascending = true, const ListCompare& compare = CompareByObject);
Ref<TListEnum> ListEnumerator(const Ref<TList>& list);
Array<Ref<Object>> ListToArray(const Ref<TList>& list);
Ref<TList> ListFromArray(const Array<Ref<Object>>& array);
void RemoveLink(const Ref<TLink>& link);

// The list classes need no set-up; the flag keeps start-up uniform.
void StartListModule();

}  // namespace vantrel
