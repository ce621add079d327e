#include <vantrel/resources/list.h>

#include <vector>

#include <vantrel/runtime/exceptions.h>

namespace vantrel {

namespace {

bool SameValue(const Ref<Object>& stored, const Ref<Object>& value) {
    if (!stored || !value) return stored == value;
    return stored->Compare(value.get()) == 0;
}

}  // namespace

TLink::~TLink() {
    // A removed link keeps its neighbours, so a walk left standing on one
    // can hold every link removed after it (a list cleared under a walk).
    // Letting such a chain go link by link from here would nest one
    // destructor per link; instead the links that nothing else holds are
    // taken apart here, one after the other.
    auto soleOwner = [](const Ref<TLink>& link) { return link && link->RefCount() == 1; };
    if (!soleOwner(_succ) && !soleOwner(_pred)) return;
    std::vector<Ref<TLink>> doomed;
    doomed.push_back(std::move(_succ));
    doomed.push_back(std::move(_pred));
    while (!doomed.empty()) {
        Ref<TLink> link = std::move(doomed.back());
        doomed.pop_back();
        if (soleOwner(link)) {
            doomed.push_back(std::move(link->_succ));
            doomed.push_back(std::move(link->_pred));
        }
    }
}

Ref<TLink> TLink::NextLink() const { return _succ->IsSentinel() ? nullptr : _succ; }
Ref<TLink> TLink::PrevLink() const { return _pred->IsSentinel() ? nullptr : _pred; }

void TLink::Remove() {
    _value = nullptr;
    // A link removed before is no longer its predecessor's successor, and
    // its old neighbours may have new links between them by now: relinking
    // them again would cut those out of the list.
    if (!_pred || _pred->_succ.get() != this) return;
    _pred->_succ = _succ;
    _succ->_pred = _pred;
}

bool TListEnum::HasNext() const { return _link && !_link->IsSentinel(); }

Ref<Object> TListEnum::NextObject() {
    Ref<Object> value = _link->_value;
    _link = _link->_succ;
    return value;
}

int CompareByObject(const Ref<Object>& a, const Ref<Object>& b) { return a->Compare(b.get()); }

TList::TList() : _head(MakeRef<TLink>()) {
    _head->_value = _head;
    _head->_succ = _head;
    _head->_pred = _head;
}

TList::~TList() {
    // The sentinel refers to itself and the ring refers round to it: break
    // every cycle so the links are freed.
    Clear();
    _head->_value = nullptr;
    _head->_succ = nullptr;
    _head->_pred = nullptr;
}

void TList::Clear() {
    while (!IsEmpty()) _head->_succ->Remove();
}

bool TList::IsEmpty() const { return _head->_succ == _head; }

bool TList::Contains(const Ref<Object>& value) const { return FindLink(value) != nullptr; }

Ref<TLink> TList::AddFirst(Ref<Object> value) { return InsertAfterLink(std::move(value), _head); }
Ref<TLink> TList::AddLast(Ref<Object> value) { return InsertBeforeLink(std::move(value), _head); }

Ref<Object> TList::First() const { return IsEmpty() ? nullptr : _head->_succ->_value; }
Ref<Object> TList::Last() const { return IsEmpty() ? nullptr : _head->_pred->_value; }

Ref<Object> TList::RemoveFirst() {
    if (IsEmpty()) return nullptr;
    Ref<TLink> link = _head->_succ;
    Ref<Object> value = link->_value;
    link->Remove();
    return value;
}

Ref<Object> TList::RemoveLast() {
    if (IsEmpty()) return nullptr;
    Ref<TLink> link = _head->_pred;
    Ref<Object> value = link->_value;
    link->Remove();
    return value;
}

Ref<TLink> TList::FirstLink() const { return IsEmpty() ? nullptr : _head->_succ; }
Ref<TLink> TList::LastLink() const { return IsEmpty() ? nullptr : _head->_pred; }

Ref<TLink> TList::InsertBeforeLink(Ref<Object> value, const Ref<TLink>& succ) {
    return InsertAfterLink(std::move(value), succ->_pred);
}

Ref<TLink> TList::InsertAfterLink(Ref<Object> value, Ref<TLink> pred) {
    // pred is a copy: it may name a field that the relinking below changes.
    Ref<TLink> link = MakeRef<TLink>();
    link->_value = std::move(value);
    link->_pred = pred;
    link->_succ = pred->_succ;
    pred->_succ->_pred = link;
    pred->_succ = link;
    return link;
}

Ref<TLink> TList::FindLink(const Ref<Object>& value) const {
    for (Ref<TLink> link = _head->_succ; link != _head; link = link->_succ) {
        if (SameValue(link->_value, value)) return link;
    }
    return nullptr;
}

Ref<Object> TList::ValueAtIndex(int index) const {
    if (index >= 0) {
        for (Ref<TLink> link = _head->_succ; link != _head; link = link->_succ) {
            if (index-- == 0) return link->_value;
        }
    }
    RaiseRuntimeError("List index out of range");
}

int TList::Count() const {
    int n = 0;
    for (TLink* link = _head->_succ.get(); link != _head.get(); link = link->_succ.get()) ++n;
    return n;
}

bool TList::Remove(const Ref<Object>& value) {
    Ref<TLink> link = FindLink(value);
    if (!link) return false;
    link->Remove();
    return true;
}

void TList::Swap(const Ref<TList>& list) { std::swap(_head, list->_head); }

Ref<TList> TList::Copy() const {
    Ref<TList> copy = MakeRef<TList>();
    for (const Ref<Object>& value : *this) copy->AddLast(value);
    return copy;
}

void TList::Reverse() {
    Ref<TLink> link = _head;
    do {
        std::swap(link->_succ, link->_pred);
        link = link->_pred;  // the old successor
    } while (link != _head);
}

Ref<TList> TList::Reversed() const {
    Ref<TList> copy = MakeRef<TList>();
    for (const Ref<Object>& value : *this) copy->AddFirst(value);
    return copy;
}

void TList::Sort(bool ascending, const ListCompare& compare) {
    for (int k = 1;; k *= 2) {
        // Each pass merges neighbouring runs of k links, appending the merged
        // links behind `tail`. Every link not yet appended stays referenced
        // by p or q or by its predecessor within its run.
        Ref<TLink> p = _head->_succ;
        Ref<TLink> tail = _head;
        int merges = 0;
        while (p != _head) {
            ++merges;
            Ref<TLink> q = p;
            int psize = 0;
            while (psize < k && q != _head) {
                ++psize;
                q = q->_succ;
            }
            int qsize = k;
            while (psize > 0 || (qsize > 0 && q != _head)) {
                Ref<TLink> e;
                bool takeRight;
                if (psize == 0) {
                    takeRight = true;
                } else if (qsize == 0 || q == _head) {
                    takeRight = false;
                } else {
                    int order;
                    try {
                        order = compare(p->_value, q->_value);
                    } catch (...) {
                        // Keep the list whole: the rest of the left run, then
                        // everything from q on, in their current order.
                        for (; psize > 0; --psize, p = p->_succ) {
                            tail->_succ = p;
                            p->_pred = tail;
                            tail = p;
                        }
                        tail->_succ = q;
                        q->_pred = tail;
                        throw;
                    }
                    takeRight = ascending ? order > 0 : order < 0;
                }
                if (takeRight) {
                    e = q;
                    q = q->_succ;
                    --qsize;
                } else {
                    e = p;
                    p = p->_succ;
                    --psize;
                }
                tail->_succ = e;
                e->_pred = tail;
                tail = e;
            }
            p = q;
        }
        tail->_succ = _head;
        _head->_pred = tail;
        if (merges <= 1) return;
    }
}

Ref<TListEnum> TList::ObjectEnumerator() const { return MakeRef<TListEnum>(_head->_succ); }

Array<Ref<Object>> TList::ToArray() const {
    Array<Ref<Object>> array = NewArray<Ref<Object>>(Count());
    int i = 0;
    for (const Ref<Object>& value : *this) (*array)[i++] = value;
    return array;
}

Ref<TList> TList::FromArray(const Array<Ref<Object>>& array) {
    Ref<TList> list = MakeRef<TList>();
    for (const Ref<Object>& value : *array) list->AddLast(value);
    return list;
}

Ref<TList> CreateList() { return MakeRef<TList>(); }
void ClearList(const Ref<TList>& list) { list->Clear(); }
bool ListIsEmpty(const Ref<TList>& list) { return list->IsEmpty(); }
bool ListContains(const Ref<TList>& list, const Ref<Object>& value) { return list->Contains(value); }
Ref<TLink> ListAddFirst(const Ref<TList>& list, Ref<Object> value) { return list->AddFirst(std::move(value)); }
Ref<TLink> ListAddLast(const Ref<TList>& list, Ref<Object> value) { return list->AddLast(std::move(value)); }
Ref<Object> ListFirst(const Ref<TList>& list) { return list->First(); }
Ref<Object> ListLast(const Ref<TList>& list) { return list->Last(); }
Ref<Object> ListRemoveFirst(const Ref<TList>& list) { return list->RemoveFirst(); }
Ref<Object> ListRemoveLast(const Ref<TList>& list) { return list->RemoveLast(); }
Ref<TLink> ListFirstLink(const Ref<TList>& list) { return list->FirstLink(); }
Ref<TLink> ListLastLink(const Ref<TList>& list) { return list->LastLink(); }
Ref<TLink> ListInsertBeforeLink(const Ref<TList>& list, Ref<Object> value, const Ref<TLink>& succ) {
    return list->InsertBeforeLink(std::move(value), succ);
}
Ref<TLink> ListInsertAfterLink(const Ref<TList>& list, Ref<Object> value, const Ref<TLink>& pred) {
    return list->InsertAfterLink(std::move(value), pred);
}
Ref<TLink> ListFindLink(const Ref<TList>& list, const Ref<Object>& value) { return list->FindLink(value); }
Ref<Object> ListValueAtIndex(const Ref<TList>& list, int index) { return list->ValueAtIndex(index); }
int CountList(const Ref<TList>& list) { return list->Count(); }
bool ListRemove(const Ref<TList>& list, const Ref<Object>& value) { return list->Remove(value); }
void SwapLists(const Ref<TList>& a, const Ref<TList>& b) { a->Swap(b); }
Ref<TList> CopyList(const Ref<TList>& list) { return list->Copy(); }
void ReverseList(const Ref<TList>& list) { list->Reverse(); }
Ref<TList> ReversedList(const Ref<TList>& list) { return list->Reversed(); }
void SortList(const Ref<TList>& list, bool ascending, const ListCompare& compare) { list->Sort(ascending, compare); }
Ref<TListEnum> ListEnumerator(const Ref<TList>& list) { return list->ObjectEnumerator(); }
Array<Ref<Object>> ListToArray(const Ref<TList>& list) { return list->ToArray(); }
Ref<TList> ListFromArray(const Array<Ref<Object>>& array) { return TList::FromArray(array); }
void RemoveLink(const Ref<TLink>& link) { link->Remove(); }

void StartListModule() {
    static bool started = false;
    if (started) return;
    started = true;
}

}  // namespace vantrel
