// How the program's allocator treats freed memory. The plots and the point finder take and
// give back buffers of hundreds of kilobytes at every frame and every edit; by default glibc
// returns them to the system and gets them back as fresh pages, a page fault each.
#pragma once

namespace kq {

// Keeps freed blocks of up to 32 MB for reuse, and up to 256 MB of freed memory at the top of
// the heap; larger blocks still go back to the system at once. Call first thing in main.
void KeepFreedMemory();

}  // namespace kq
