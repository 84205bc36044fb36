// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/whole_pages.h"

#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

void AdviseWholePages(void* bytes, std::size_t size, int advice) {
    const long page = ::sysconf(_SC_PAGESIZE);
    if (page <= 0 || bytes == nullptr)
        return;
    const auto pageSize = static_cast<std::uintptr_t>(page);
    const auto start = reinterpret_cast<std::uintptr_t>(bytes);
    const std::uintptr_t first = (start + pageSize - 1) / pageSize * pageSize;
    const std::uintptr_t end = (start + size) / pageSize * pageSize;
    if (first < end)
        ::madvise(reinterpret_cast<void*>(first), end - first, advice);
}

void MakePagesNow(void* bytes, std::size_t size) {
#ifdef MADV_POPULATE_WRITE
    AdviseWholePages(bytes, size, MADV_POPULATE_WRITE);
#else
    (void)bytes;
    (void)size;
#endif
}
