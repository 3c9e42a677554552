// The platform's imaging component (COM and one WIC factory) as each thread
// keeps it: opened by the thread's first image file call, reused by every
// later one, closed by IKEndImaging (IK5EndImaging) on that thread. Opening
// and closing COM around every call made each page wait on the system far
// longer than it worked.
//
// IK7COM and Ik5Com hold the session and export this accessor; the other
// libraries of their set import it, so that a thread holds one factory per
// set, whichever library it calls.
#pragma once

#include "platform/imaging_library.h"

struct IWICImagingFactory;

// The calling thread's factory, opening COM and the factory on first use;
// null when the platform has none. A thread that already runs COM in the
// multithreaded model keeps it (the factory works there too) and its COM is
// never closed by the libraries. The factory belongs to the session: callers
// do not release it.
IK_API IWICImagingFactory* IK_CALL IKThreadImagingFactory();
