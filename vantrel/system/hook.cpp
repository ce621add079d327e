#include <vantrel/system/hook.h>

#include <vantrel/runtime/exceptions.h>

namespace vantrel {
namespace {

constexpr int kHookIds = 256;

bool hookModuleStarted = false;
Ref<THook> hookTable[kHookIds];
int hookIdCounter = -1;

Ref<THook>& ChainHead(int id) {
    CheckIndex(id, kHookIds);
    return hookTable[id];
}

}  // namespace

Ref<Object> THook::Call(int id, const Ref<Object>& data) const {
    if (!func) throw TNullFunctionException();
    return func(id, data, context);
}

void StartHookModule() {
    if (hookModuleStarted) return;
    hookModuleStarted = true;
}

int NewHookId() {
    ++hookIdCounter;
    if (hookIdCounter >= kHookIds) {
        hookIdCounter = kHookIds;  // stays exhausted without ever overflowing
        RaiseString("Too many hook ids");
    }
    return hookIdCounter;
}

void InstallHook(int id, HookFunction func, const Ref<Object>& context, int priority) {
    Ref<THook>& head = ChainHead(id);
    Ref<THook> hook = MakeRef<THook>();
    hook->func = func;
    hook->context = context;
    hook->priority = priority;

    THook* after = nullptr;
    for (THook* h = head.get(); h && h->priority >= priority; h = h->succ.get()) after = h;
    if (!after) {
        hook->succ = head;
        head = hook;
    } else {
        hook->succ = after->succ;
        after->succ = hook;
    }
}

Ref<Object> CallHooks(int id, Ref<Object> data) {
    Ref<THook> hook = ChainHead(id);
    while (hook) {
        data = hook->Call(id, data);
        // Read only now: the hook may have changed the chain while it ran,
        // and holding it keeps it alive even if it unlinked itself.
        hook = hook->succ;
    }
    return data;
}

void UninstallHook(int id, HookFunction func, const Ref<Object>& context) {
    Ref<THook>& head = ChainHead(id);
    THook* prev = nullptr;
    for (THook* h = head.get(); h; prev = h, h = h->succ.get()) {
        if (h->func != func || h->context.get() != context.get()) continue;
        if (prev) {
            prev->succ = h->succ;
        } else {
            head = h->succ;
        }
        return;
    }
}

}  // namespace vantrel
