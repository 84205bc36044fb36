// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Advice to the system about the pages under a block of bytes. Advice covers whole pages only,
// so that it never reaches a neighbour's bytes on a page the block shares.
#include <cstddef>

struct WholePages {
    void* first = nullptr; // null when the bytes hold no whole page
    std::size_t length = 0;
};

// The whole pages within size bytes from bytes.
WholePages WholePagesWithin(void* bytes, std::size_t size);

// Has the system make the whole pages within the bytes now, in one call, for bytes about to be
// written in full. Otherwise each page's first write traps into the kernel to have it made; the
// pages are made either way, the call saves the traps (about 13 µs for a 256 by 256 tile on a
// virtual machine). Pages already there stay as they are. Only advice: a system without it
// makes the pages at their first write, as before.
void MakePagesNow(void* bytes, std::size_t size);
