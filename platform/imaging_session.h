// What each thread keeps between calls of the imaging libraries:
//  - the platform's imaging component (COM and one WIC factory), opened by
//    the thread's first image file call that needs it, reused by every later
//    one, closed by IKEndImaging (IK5EndImaging) on that thread. Opening and
//    closing COM around every call made each page wait on the system far
//    longer than it worked;
//  - up to two freed blocks of image memory for the thread's next images.
//    Pages come and go in pairs at the pace of the reading run (a page and
//    its turned copy), and under Wine every fresh block of a page's size
//    costs more than reading the page from its file.
//
// IK7COM and Ik5Com hold both and export these calls; the other libraries of
// their set import them, so that a thread holds one session per set,
// whichever library it calls.
#pragma once

#include "platform/imaging_library.h"

struct IWICImagingFactory;

// The calling thread's factory, opening COM and the factory on first use;
// null when the platform has none. A thread that already runs COM in the
// multithreaded model keeps it (the factory works there too) and its COM is
// never closed by the libraries. The factory belongs to the session: callers
// do not release it.
IK_API IWICImagingFactory* IK_CALL IKThreadImagingFactory();

// Movable memory of at least `bytes` bytes for a new image, zeroed when
// asked: a block the thread gave back, or a new one. 0 when memory runs out.
IK_API HGLOBAL IK_CALL IKTakeImageMemory(SIZE_T bytes, BOOL zeroed);
// Takes back the memory of an image being freed (its header already
// spoiled, so that the handle is no image any more): kept for the thread's
// next image, or freed.
IK_API void IK_CALL IKGiveBackImageMemory(HGLOBAL block);
