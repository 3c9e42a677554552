#include "platform/imaging_session.h"

#include <wincodec.h>

namespace {

struct ThreadImaging {
  IWICImagingFactory* factory;
  bool ownsCom;  // the thread's COM was opened here and is closed here
};
thread_local ThreadImaging t_imaging = {nullptr, false};

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

BOOL IK_CALL IKEndImaging() {
  ThreadImaging& session = t_imaging;
  if (!session.factory) return FALSE;
  session.factory->Release();
  if (session.ownsCom) CoUninitialize();
  session = ThreadImaging{nullptr, false};
  return TRUE;
}

BOOL IK_CALL IK5EndImaging() { return IKEndImaging(); }
