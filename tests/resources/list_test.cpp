#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <vantrel/resources/list.h>
#include <vantrel/runtime/runtime.h>

using namespace vantrel;

namespace {

// A value ordered by key alone, so equal keys with different tags show
// whether a sort kept their order. Counts live instances to catch leaks.
struct Item : Object {
    Item(int key, char tag) : key(key), tag(tag) { ++alive; }
    ~Item() override { --alive; }
    int Compare(const Object* other) const override {
        if (!other) RaiseNullObject();
        int k = static_cast<const Item*>(other)->key;
        return key < k ? -1 : key > k ? 1 : 0;
    }
    int key;
    char tag;
    static inline int alive = 0;
};

Ref<Object> I(int key, char tag = 'a') { return MakeRef<Item>(key, tag); }

std::string Tags(const Ref<TList>& list) {
    std::string out;
    for (Ref<Item> it : Each<Item>(list)) out += std::to_string(it->key) + it->tag + " ";
    return out;
}

Ref<TList> ListOf(std::initializer_list<std::pair<int, char>> items) {
    Ref<TList> list = CreateList();
    for (auto [key, tag] : items) list->AddLast(I(key, tag));
    return list;
}

}  // namespace

TEST(List, EnumerationSurvivesRemovalOfTheCurrentAndNextValues) {
    Ref<TList> list = ListOf({{1, 'a'}, {2, 'a'}, {3, 'a'}, {4, 'a'}, {5, 'a'}});
    std::vector<Ref<TLink>> links;
    for (Ref<TLink> l = list->FirstLink(); l; l = l->NextLink()) links.push_back(l);

    std::vector<int> seen;
    Ref<TListEnum> e = list->ObjectEnumerator();
    while (e->HasNext()) {
        Ref<Item> item = Cast<Item>(e->NextObject());
        if (!item) {
            seen.push_back(0);
            continue;
        }
        seen.push_back(item->key);
        if (item->key == 1) list->Remove(item);   // the value just returned
        if (item->key == 2) links[2]->Remove();   // the link that comes next
        if (item->key == 4) links[3]->Remove();   // the current link itself
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 0, 4, 5}));
    EXPECT_EQ(Tags(list), "2a 5a ");

    // Range-for walks the same way; removing everything while walking empties the list.
    int walked = 0;
    for (const Ref<Object>& v : *list) {
        ++walked;
        list->Remove(v);
    }
    EXPECT_EQ(walked, 2);
    EXPECT_TRUE(list->IsEmpty());
    EXPECT_EQ(list->First(), nullptr);
    EXPECT_EQ(list->RemoveLast(), nullptr);
}

TEST(List, SortIsStableInBothDirections) {
    Ref<TList> list = ListOf({{3, 'a'}, {1, 'a'}, {2, 'a'}});
    list->Sort();
    EXPECT_EQ(Tags(list), "1a 2a 3a ");

    Ref<TList> dup = ListOf({{2, 'a'}, {1, 'a'}, {2, 'b'}, {1, 'b'}, {2, 'c'}, {0, 'a'}, {1, 'c'}});
    Ref<TList> down = dup->Copy();
    dup->Sort(true);
    EXPECT_EQ(Tags(dup), "0a 1a 1b 1c 2a 2b 2c ");
    down->Sort(false);
    EXPECT_EQ(Tags(down), "2a 2b 2c 1a 1b 1c 0a ");
    EXPECT_EQ(Cast<Item>(down->Last())->key, 0);
    EXPECT_EQ(Cast<Item>(down->LastLink()->PrevLink()->Value())->tag, 'c');

    // Lengths around powers of two against a reference stable sort, with
    // links walked both ways afterwards.
    for (int n : {0, 1, 2, 5, 8, 9, 31, 64, 100}) {
        Ref<TList> l = CreateList();
        std::vector<std::pair<int, int>> ref;
        for (int i = 0; i < n; ++i) {
            int key = (i * 7919) % 13;
            l->AddLast(I(key, static_cast<char>(i)));
            ref.push_back({key, i});
        }
        std::stable_sort(ref.begin(), ref.end(), [](auto& a, auto& b) { return a.first < b.first; });
        l->Sort(true, [](const Ref<Object>& a, const Ref<Object>& b) { return CompareByObject(a, b); });
        ASSERT_EQ(l->Count(), n);
        int i = 0;
        for (Ref<Item> it : Each<Item>(l)) {
            EXPECT_EQ(it->key, ref[i].first);
            EXPECT_EQ(it->tag, static_cast<char>(ref[i].second));
            ++i;
        }
        int back = 0;
        for (Ref<TLink> k = l->LastLink(); k; k = k->PrevLink()) ++back;
        EXPECT_EQ(back, n);
    }
}

TEST(List, ComparisonThatRaisesLeavesTheListWhole) {
    Ref<TList> list = ListOf({{5, 'a'}, {4, 'a'}, {3, 'a'}, {2, 'a'}, {1, 'a'}});
    list->AddLast(nullptr);
    list->AddLast(I(0));
    EXPECT_THROW(list->Sort(), TNullObjectException);
    EXPECT_EQ(list->Count(), 7);
    int back = 0;
    for (Ref<TLink> k = list->LastLink(); k; k = k->PrevLink()) ++back;
    EXPECT_EQ(back, 7);
}

TEST(List, IndexAndSearchOperations) {
    Ref<TList> list = ListOf({{1, 'a'}, {2, 'a'}, {1, 'b'}});
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(Cast<Item>(list->ValueAtIndex(2))->tag, 'b');
    for (int bad : {3, -1}) {
        try {
            list->ValueAtIndex(bad);
            FAIL() << bad;
        } catch (const TRuntimeException& e) {
            EXPECT_EQ(e.ToString(), String("List index out of range"));
        }
    }
    EXPECT_TRUE(list->Contains(I(2, 'z')));  // equality is the value's Compare
    EXPECT_FALSE(list->Contains(I(7)));
    EXPECT_TRUE(list->Remove(I(1)));         // only the first equal value
    EXPECT_EQ(Tags(list), "2a 1b ");
    EXPECT_FALSE(list->Remove(I(9)));
    EXPECT_FALSE(list->Contains(nullptr));

    // Strings compare by content; other objects by identity.
    Ref<TList> names = CreateList();
    names->AddLast(String("shot").AsObject());
    Ref<Object> plain = MakeRef<Object>();
    names->AddFirst(plain);
    EXPECT_TRUE(names->Contains(String("shot").AsObject()));
    EXPECT_FALSE(names->Contains(MakeRef<Object>()));
    EXPECT_EQ(names->FindLink(plain), names->FirstLink());
}

TEST(List, RemovingALinkAgainLeavesTheListAlone) {
    Ref<TList> list = ListOf({{1, 'a'}, {2, 'a'}, {3, 'a'}});
    Ref<TLink> mid = list->FirstLink()->NextLink();
    mid->Remove();
    list->InsertAfterLink(I(4, 'x'), list->FirstLink());
    RemoveLink(mid);  // its old neighbours now have 4x between them
    EXPECT_EQ(Tags(list), "1a 4x 3a ");
    EXPECT_EQ(mid->Value(), nullptr);

    // The last link too, once the list has emptied and filled again.
    Ref<TLink> only = CreateList()->AddLast(I(5));
    Ref<TLink> last = list->LastLink();
    list->Clear();
    list->AddLast(I(6, 'y'));
    last->Remove();
    only->Remove();
    EXPECT_EQ(Tags(list), "6y ");
    EXPECT_EQ(list->Count(), 1);
}

TEST(List, AWalkLeftOnAClearedLongListLetsGoWithoutDeepRecursion) {
    // The walk holds every removed link through their kept neighbours: in
    // one direction for Clear, in the other for removals from the end.
    constexpr int kLinks = 1000000;
    for (bool fromTheEnd : {false, true}) {
        Ref<TList> list = CreateList();
        for (int i = 0; i < kLinks; ++i) list->AddLast(nullptr);
        Ref<TLink> standing = fromTheEnd ? list->LastLink() : list->FirstLink();
        if (fromTheEnd) {
            while (!list->IsEmpty()) list->RemoveLast();
        } else {
            list->Clear();
        }
        standing = nullptr;  // overflowed the stack when links freed each other
        EXPECT_TRUE(list->IsEmpty());
    }
}

TEST(List, ReorderingAndCopying) {
    Ref<TList> list = ListOf({{1, 'a'}, {2, 'a'}, {3, 'a'}});
    Ref<TLink> mid = list->FirstLink()->NextLink();
    list->InsertBeforeLink(I(9, 'x'), mid);
    list->InsertAfterLink(I(8, 'y'), mid);
    list->AddFirst(I(0));
    EXPECT_EQ(Tags(list), "0a 1a 9x 2a 8y 3a ");

    Ref<TList> rev = list->Reversed();
    list->Reverse();
    EXPECT_EQ(Tags(list), "3a 8y 2a 9x 1a 0a ");
    EXPECT_EQ(Tags(rev), Tags(list));
    EXPECT_EQ(Cast<Item>(list->RemoveFirst())->key, 3);
    EXPECT_EQ(Cast<Item>(list->RemoveLast())->key, 0);

    Ref<TList> empty = CreateList();
    empty->Reverse();
    EXPECT_TRUE(empty->IsEmpty());
    empty->Swap(list);
    EXPECT_EQ(Tags(empty), "8y 2a 9x 1a ");
    EXPECT_TRUE(list->IsEmpty());

    Array<Ref<Object>> arr = empty->ToArray();
    ASSERT_EQ(arr->Length(), 4);
    EXPECT_EQ(Cast<Item>((*arr)[1])->key, 2);
    EXPECT_EQ(Tags(TList::FromArray(arr)), "8y 2a 9x 1a ");
}

TEST(List, DestroyingAListFreesEveryLinkAndValue) {
    Item::alive = 0;
    Ref<TLink> kept;
    Ref<TListEnum> walker;
    {
        Ref<TList> list = ListOf({{1, 'a'}, {2, 'a'}, {3, 'a'}});
        kept = list->LastLink();
        walker = list->ObjectEnumerator();
        list->Sort(false);
        Ref<TList> other = list->Copy();
        other->Swap(list);
    }
    EXPECT_EQ(Item::alive, 0);
    EXPECT_EQ(kept->Value(), nullptr);
    // A walk left standing on a destroyed list yields Null and ends.
    while (walker->HasNext()) EXPECT_EQ(walker->NextObject(), nullptr);
}
