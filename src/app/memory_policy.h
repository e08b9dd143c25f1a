#pragma once

// Called once at the start of the program, before the window exists.
//
// glibc serves a large block (over 128 KiB) from a mapping of its own, given
// back to the system when freed, but once such a block has been freed it
// raises that threshold and serves blocks of that size from the heap. The
// logs' texts are such blocks, reallocated as lines come and go; in the heap
// each reallocation leaves a hole that later small blocks pin, and a run of a
// day held over 2 MB more than it used. A fixed threshold keeps large blocks
// in mappings of their own.
void KeepLargeBlocksOutOfTheHeap();
