#include "app/memory_policy.h"

#include <QtGlobal>

#ifdef __GLIBC__
#include <malloc.h>
#endif

void KeepLargeBlocksOutOfTheHeap() {
#ifdef __GLIBC__
    constexpr int kLargeBlock = 128 * 1024;
    if (mallopt(M_MMAP_THRESHOLD, kLargeBlock) != 1)
        qWarning("mallopt(M_MMAP_THRESHOLD) refused; large blocks stay in the heap");
#endif
}
