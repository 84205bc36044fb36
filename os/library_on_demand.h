// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A shared library the program is not linked to, loaded by the first call that needs it: starts
// that never need it do not map it and the libraries it brings. Its callers define the library's
// own functions as forwarders to the ones found here, so the code using it stays as if linked.
#include <dlfcn.h>

// The library of that soname, loaded once; null when it cannot be loaded.
template <const char* Soname> void* LibraryOnDemand() {
    static void* const library = ::dlopen(Soname, RTLD_NOW | RTLD_LOCAL);
    return library;
}

// The library's own function of that name; null when the library or the function is missing.
template <const char* Soname, typename Function> Function FunctionOnDemand(const char* name) {
    void* library = LibraryOnDemand<Soname>();
    return library != nullptr ? reinterpret_cast<Function>(::dlsym(library, name)) : nullptr;
}
