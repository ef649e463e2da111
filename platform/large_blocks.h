#pragma once
// How the C library's allocator treats large blocks. By default it keeps a
// freed block of several MiB in the freeing thread's heap, for reuse by that
// thread: the image loader's threads would each keep tens of MiB of
// decoded pictures and decoder state resident after handing them over.
// Any thread; call before the threads that allocate large blocks start.

// From now on blocks of 1 MiB and more come from the system one by one and go
// back to it when freed.
void returnLargeBlocksToSystem();
