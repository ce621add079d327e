// Hook chains: numbered chains of callbacks with priorities, the engine's
// only observer mechanism.
//
// A chain id comes from NewHookId (0..255; the 257th request raises the bare
// string "Too many hook ids", and so does every later one). CallHooks passes
// one object through every hook of a chain, highest priority first, hooks of
// equal priority in installation order; each hook's result is the next one's
// input. A hook may install or uninstall hooks (itself included) while its
// chain runs: the successor is read after each call returns. A chain id
// outside 0..255 raises the runtime's array-bounds error.
//
// Main thread only; no locks.
#pragma once

#include <vantrel/runtime/object.h>

namespace vantrel {

// The callback of a hook: gets the chain id, the object passed along the
// chain and the context given at installation; returns the object handed on.
using HookFunction = Ref<Object> (*)(int id, const Ref<Object>& data, const Ref<Object>& context);

// One link of a chain. A bare hook has no function; calling it raises
// "Attempt to call uninitialized function pointer".
class THook : public Object {
public:
    Ref<Object> Call(int id, const Ref<Object>& data) const;

    Ref<THook> succ;
    int priority = 0;
    HookFunction func = nullptr;
    Ref<Object> context;
};

void StartHookModule();

int NewHookId();
void InstallHook(int id, HookFunction func, const Ref<Object>& context, int priority);
Ref<Object> CallHooks(int id, Ref<Object> data);
// Unlinks the first hook of chain id with exactly this function and context
// object; nothing happens when none matches.
void UninstallHook(int id, HookFunction func, const Ref<Object>& context);

}  // namespace vantrel
