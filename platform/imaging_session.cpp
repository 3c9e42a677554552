#include "platform/imaging_session.h"

#include <wincodec.h>

#include <cstring>
#include <utility>

namespace {

// Blocks worth keeping: a page's size, from a small form to an A3 sheet at
// 600 dpi in black and white. Smaller ones the heap reuses by itself; larger
// ones are too rare to hold on to.
constexpr SIZE_T kSmallestKept = 64 * 1024;
constexpr SIZE_T kLargestKept = 16 * 1024 * 1024;
constexpr int kKeptBlocks = 2;

struct ThreadImaging {
  IWICImagingFactory* factory;
  bool ownsCom;  // the thread's COM was opened here and is closed here
  HGLOBAL kept[kKeptBlocks];
};
thread_local ThreadImaging t_imaging = {};

void ForgetKeptMemory(ThreadImaging& session) {
  for (HGLOBAL& block : session.kept) {
    if (block) GlobalFree(block);
    block = nullptr;
  }
}

}  // namespace

IWICImagingFactory* IK_CALL IKThreadImagingFactory() {
  ThreadImaging& session = t_imaging;
  if (session.factory) return session.factory;
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IWICImagingFactory* factory = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(&factory)))) {
    if (SUCCEEDED(com)) CoUninitialize();
    return nullptr;
  }
  session.factory = factory;
  session.ownsCom = SUCCEEDED(com);
  return factory;
}

HGLOBAL IK_CALL IKTakeImageMemory(SIZE_T bytes, BOOL zeroed) {
  ThreadImaging& session = t_imaging;
  for (HGLOBAL& block : session.kept) {
    // A block far larger than asked stays for an image of its size.
    const SIZE_T size = block ? GlobalSize(block) : 0;
    if (size < bytes || size / 2 > bytes) continue;
    HGLOBAL taken = block;
    block = nullptr;
    if (zeroed) {
      std::memset(GlobalLock(taken), 0, bytes);
      GlobalUnlock(taken);
    }
    return taken;
  }
  return GlobalAlloc(GMEM_MOVEABLE | (zeroed ? GMEM_ZEROINIT : 0), bytes);
}

void IK_CALL IKGiveBackImageMemory(HGLOBAL block) {
  const SIZE_T size = GlobalSize(block);
  if (size < kSmallestKept || size > kLargestKept) {
    GlobalFree(block);
    return;
  }
  // The smaller of a kept block and this one goes.
  ThreadImaging& session = t_imaging;
  HGLOBAL* smallest = nullptr;
  for (HGLOBAL& kept : session.kept) {
    if (!kept) {
      kept = block;
      return;
    }
    if (!smallest || GlobalSize(kept) < GlobalSize(*smallest)) smallest = &kept;
  }
  if (GlobalSize(*smallest) < size) std::swap(*smallest, block);
  GlobalFree(block);
}

BOOL IK_CALL IKEndImaging() {
  ThreadImaging& session = t_imaging;
  ForgetKeptMemory(session);
  if (!session.factory) return FALSE;
  session.factory->Release();
  if (session.ownsCom) CoUninitialize();
  session.factory = nullptr;
  session.ownsCom = false;
  return TRUE;
}

BOOL IK_CALL IK5EndImaging() { return IKEndImaging(); }
