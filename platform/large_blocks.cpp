#include "platform/large_blocks.h"

#include <malloc.h>  // mallopt: glibc's allocator settings

void returnLargeBlocksToSystem() {
    // A fixed threshold also stops glibc from raising it after each large
    // free, which is what would let such blocks stay in a thread's heap.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
}
