#pragma once
// Owner of one reference to a global atom.

#include <windows.h>

#include "Handle.h"

struct GlobalAtomTraits {
    using Value = ATOM;
    static constexpr ATOM invalid() noexcept { return 0; }
    static void close(ATOM atom) noexcept { GlobalDeleteAtom(atom); }
};
using GlobalAtom = UniqueHandle<GlobalAtomTraits>;
