#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <vantrel/runtime/runtime.h>
#include <vantrel/system/event.h>
#include <vantrel/system/hook.h>

using namespace vantrel;

namespace {

// Each hook appends its context's text to the trace passed as data.
std::vector<std::string> trace;

Ref<Object> Record(int, const Ref<Object>& data, const Ref<Object>& context) {
    trace.push_back(String::FromObject(context).ToUtf8());
    return data;
}

Ref<Object> ReturnNull(int, const Ref<Object>&, const Ref<Object>&) { return nullptr; }

Ref<Object> Replace(int, const Ref<Object>&, const Ref<Object>& context) { return context; }

Ref<Object> RemoveSelf(int id, const Ref<Object>& data, const Ref<Object>& context) {
    trace.push_back("self");
    UninstallHook(id, RemoveSelf, context);
    return data;
}

Ref<Object> RemoveNextRecorder(int id, const Ref<Object>& data, const Ref<Object>&) {
    trace.push_back("remover");
    UninstallHook(id, Record, Ref<Object>(nullptr));
    return data;
}

int FreshChain() {
    StartEventModule();
    trace.clear();
    return NewHookId();
}

}  // namespace

TEST(Hooks, PriorityOrderAndEqualPrioritiesInInstallOrder) {
    int chain = FreshChain();
    String a = "0", b = "5a", c = "5b", d = "10";
    InstallHook(chain, Record, a, 0);
    InstallHook(chain, Record, b, 5);
    InstallHook(chain, Record, c, 5);
    InstallHook(chain, Record, d, 10);
    CallHooks(chain, nullptr);
    EXPECT_EQ(trace, (std::vector<std::string>{"10", "5a", "5b", "0"}));

    // Only an identical function and context object unlinks a hook.
    UninstallHook(chain, Record, String("5a"));  // equal text, another object
    UninstallHook(chain, ReturnNull, b.AsObject());
    trace.clear();
    CallHooks(chain, nullptr);
    EXPECT_EQ(trace.size(), 4u);

    UninstallHook(chain, Record, b.AsObject());
    UninstallHook(chain, Record, d.AsObject());  // the head
    trace.clear();
    CallHooks(chain, nullptr);
    EXPECT_EQ(trace, (std::vector<std::string>{"5b", "0"}));
}

TEST(Hooks, DataFlowsThroughTheChainIncludingNull) {
    int chain = FreshChain();
    Ref<Object> data = String("in").AsObject();
    EXPECT_EQ(CallHooks(chain, data), data);  // empty chain

    InstallHook(chain, ReturnNull, nullptr, 10);
    InstallHook(chain, Replace, "out", 0);
    EXPECT_EQ(String::FromObject(CallHooks(chain, data)), String("out"));

    int chain2 = NewHookId();
    InstallHook(chain2, Replace, "x", 10);
    InstallHook(chain2, ReturnNull, nullptr, 0);
    EXPECT_TRUE(CallHooks(chain2, data).IsNull());
}

TEST(Hooks, ChangingTheChainWhileItRuns) {
    int chain = FreshChain();
    InstallHook(chain, RemoveSelf, nullptr, 10);
    InstallHook(chain, Record, "after", 0);
    CallHooks(chain, nullptr);
    // Removing the running hook does not end the walk.
    EXPECT_EQ(trace, (std::vector<std::string>{"self", "after"}));
    trace.clear();
    CallHooks(chain, nullptr);
    EXPECT_EQ(trace, (std::vector<std::string>{"after"}));

    // Removing the successor skips it.
    int chain2 = NewHookId();
    InstallHook(chain2, RemoveNextRecorder, nullptr, 10);
    InstallHook(chain2, Record, nullptr, 0);
    trace.clear();
    CallHooks(chain2, nullptr);
    EXPECT_EQ(trace, (std::vector<std::string>{"remover"}));
}

TEST(Hooks, BareHookAndBadChainIdsRaise) {
    THook bare;
    EXPECT_THROW(bare.Call(0, nullptr), TNullFunctionException);
    EXPECT_THROW(CallHooks(256, nullptr), TArrayBoundsException);
    EXPECT_THROW(InstallHook(-1, Record, nullptr, 0), TArrayBoundsException);
}

TEST(Hooks, The257thHookIdRaisesAndTheCounterStaysExhausted) {
    // Runs in a child process: exhausting the ids would starve other tests.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            int last = -1;
            int calls = 0;
            try {
                for (;;) {
                    last = NewHookId();
                    ++calls;
                }
            } catch (const TStringException& e) {
                bool again = false;
                try {
                    NewHookId();
                } catch (const TStringException&) {
                    again = true;
                }
                std::exit(e.ToString() == String("Too many hook ids") && last == 255 &&
                                  calls == 256 && again
                              ? 0
                              : 1);
            }
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(Events, TextForms) {
    StartEventModule();
    Ref<TEvent> w = MakeEvent(EventId::KeyDown, nullptr, 87, 0, 0, 0, nullptr);
    EXPECT_EQ(w->ToString().ToUtf8(), "KeyDown: data=87, mods=0, x=0, y=0, extra=\"\"");

    Ref<TEvent> unknown = MakeEvent(300, nullptr, -1, 3, -5, 7, "note");
    EXPECT_EQ(unknown->ToString().ToUtf8(),
              "Unknown Event, id=300: data=-1, mods=3, x=-5, y=7, extra=\"note\"");

    // A non-string extra gives empty quotes.
    Ref<TEvent> withObject = MakeEvent(EventId::TimerTick, nullptr, 1, 0, 0, 0, MakeRef<Object>());
    EXPECT_EQ(withObject->ToString().ToUtf8(), "TimerTick: data=1, mods=0, x=0, y=0, extra=\"\"");

    EXPECT_EQ(TEvent::DescriptionForId(EventId::ProcessExit).ToUtf8(), "ProcessExit");
    EXPECT_EQ(TEvent::DescriptionForId(EventId::AppSuspend).ToUtf8(), "AppSuspend");
    EXPECT_TRUE(TEvent::DescriptionForId(1).IsEmpty());  // "257" must not match "}1{"
}

TEST(Events, UserIdsAndNames) {
    StartEventModule();
    int first = TEvent::AllocUserId();
    EXPECT_LT(first, 0);
    int n = first & 0x7fffffff;
    EXPECT_EQ(MakeEvent(first, nullptr, 0, 0, 0, 0, nullptr)->ToString().ToUtf8(),
              "UserEvent" + std::to_string(n) + ": data=0, mods=0, x=0, y=0, extra=\"\"");

    int named = NewUserEventId("Ping");
    EXPECT_EQ(named, first + 1);
    TEvent::RegisterId(named, "Pong");  // the first name wins
    EXPECT_EQ(TEvent::DescriptionForId(named).ToUtf8(), "Ping");
    EXPECT_EQ(MakeEvent(named, nullptr, 0, 0, 0, 0, nullptr)->ToString().ToUtf8(),
              "Ping: data=0, mods=0, x=0, y=0, extra=\"\"");
    EXPECT_TRUE(TEvent::DescriptionForId(NewUserEventId("")).IsEmpty());
}

TEST(Events, EmitRunsTheEventChainSynchronously) {
    StartEventModule();
    static std::vector<int> seen;
    HookFunction hook = [](int, const Ref<Object>& data, const Ref<Object>&) -> Ref<Object> {
        if (Ref<TEvent> e = Cast<TEvent>(data)) seen.push_back(e->data);
        return data;
    };
    InstallHook(EventHookId, hook, nullptr, 0);
    EXPECT_EQ(SendEvent(MakeEvent(EventId::KeyUp, nullptr, 65, 0, 0, 0, nullptr)), 0);
    MakeEvent(EventId::KeyUp, nullptr, 66, 0, 0, 0, nullptr)->Emit();
    UninstallHook(EventHookId, hook, nullptr);
    MakeEvent(EventId::KeyUp, nullptr, 67, 0, 0, 0, nullptr)->Emit();
    EXPECT_EQ(seen, (std::vector<int>{65, 66}));
}
