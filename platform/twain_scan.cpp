// A TWAIN scan: the source opened and set to what the program asks for
// (black and white, resolution, brightness, flatbed, feeder or both sides),
// enabled with or without its own settings screen, then its pages taken one
// by one, by native transfer where the source offers it, else through
// memory, and handed to the program. Whatever ends the run (the program, a
// cancel, a paper jam, the settings screen closed) ends the transfers still
// pending, so the source stops feeding, and closes the source. The program
// tells the operator why: the run's result says it.
#include "platform/twain_scan.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/dib_image.h"
#include "platform/image_ops.h"
#include "platform/twain_manager.h"

namespace {

// The TWAIN capability behind one of the library's, 0 for the feeder's
// own page count, which TWAIN has no word for.
TwUInt16 TwainCapabilityOf(int capability) {
  switch (capability) {
    case kIkCapBrightness: return kIcapBrightness;
    case kIkCapXResolution: return kIcapXResolution;
    case kIkCapYResolution: return kIcapYResolution;
    case kIkCapFeederLoaded: return kCapFeederLoaded;
    default: return 0;
  }
}

bool Offers(const std::vector<double>& values, double value) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

// Sets the source up for the run; false when it refuses what the run needs.
bool Configure(TwainSource& source, const ScanRequest& request, TwUInt16* mechanism) {
  std::vector<double> mechanisms;
  double current = 0, step = 0;
  source.GetCapability(kIcapXferMech, &mechanisms, &current, &step);
  *mechanism = mechanisms.empty() || Offers(mechanisms, kTwsxNative) ? kTwsxNative : kTwsxMemory;
  if (!source.SetCapability(kIcapXferMech, kTwtyUInt16, *mechanism)) {
    *mechanism = kTwsxMemory;
    if (!source.SetCapability(kIcapXferMech, kTwtyUInt16, *mechanism)) return false;
  }
  const bool flatbed = request.sides == kIkScanFlatbed;
  // All the pages the feeder holds (-1), or the one on the glass.
  source.SetCapability(kCapXferCount, kTwtyInt16, flatbed ? 1 : 0xFFFF);
  if (request.blackAndWhite &&
      !source.SetCapability(kIcapPixelType, kTwtyUInt16, kTwptBlackWhite)) {
    return false;
  }
  if (!source.SetCapability(kIcapXResolution, kTwtyFix32, Fix32Item(request.xResolution)) ||
      !source.SetCapability(kIcapYResolution, kTwtyFix32, Fix32Item(request.yResolution))) {
    return false;
  }
  // A scanner without a brightness setting still reads.
  if (request.brightnessGiven) {
    source.SetCapability(kIcapBrightness, kTwtyFix32, Fix32Item(request.brightness));
  }
  if (!source.SetCapability(kCapFeederEnabled, kTwtyBool, flatbed ? 0 : 1) && !flatbed) {
    return false;
  }
  const bool twoSided = request.sides == kIkScanTwoSided;
  return source.SetCapability(kCapDuplexEnabled, kTwtyBool, twoSided ? 1 : 0) || !twoSided;
}

// False only when the source says its feeder is empty.
bool FeederLoaded(TwainSource& source) {
  std::vector<double> values;
  double current = 0, step = 0;
  return !source.GetCapability(kCapFeederLoaded, &values, &current, &step) || current != 0;
}

// Pumps the thread's messages through the source until it has pages ready
// or asks to be closed (its settings screen cancelled or closed).
TwUInt16 WaitForSource(TwainSource& source) {
  MSG message;
  BOOL got;
  while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
    TwEvent event = {&message, kMsgNull};
    if (source.Call(kDgControl, kDatEvent, kMsgProcessEvent, &event) == kTwrcDsEvent) {
      if (event.message == kMsgXferReady || event.message == kMsgCloseDsReq ||
          event.message == kMsgCloseDsOk) {
        return event.message;
      }
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  // The program is closing: its own loop takes the quit.
  if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
  return kMsgCloseDsReq;
}

// The page as the program asked for it: black and white when it asked so,
// with the run's resolution when the source gave none.
HGLOBAL FinishPage(HGLOBAL page, const ScanRequest& request) {
  int bits = 0;
  {
    ImageLock lock(page);
    if (!lock.ok()) return nullptr;
    bits = lock.bitsPerPixel();
    if (lock.header().biXPelsPerMeter <= 0 || lock.header().biYPelsPerMeter <= 0) {
      lock.header().biXPelsPerMeter = PelsPerMeterFromDpi(request.xResolution);
      lock.header().biYPelsPerMeter = PelsPerMeterFromDpi(request.yResolution);
    }
  }
  if (!request.blackAndWhite || bits == 1) return page;
  HGLOBAL converted = BlackAndWhiteImage(page, LevelChannel::kLuminance, 128);
  FreeImage(page);
  return converted;
}

void CopyRows(const Raster& from, const Raster& to) {
  const size_t bytes = (static_cast<size_t>(to.width) * to.bitsPerPixel + 7) / 8;
  for (int y = 0; y < to.height; ++y) std::memcpy(to.Row(y), from.Row(y), bytes);
}

// A page by native transfer: the source's own DIB, copied into an image of
// the library's and given back.
TwUInt16 NativePage(TwainSource& source, const ScanRequest& request, HGLOBAL* page) {
  HANDLE dib = nullptr;
  const TwUInt16 result = source.Call(kDgImage, kDatImageNativeXfer, kMsgGet, &dib);
  if (result == kTwrcXferDone && dib) {
    ImageLock from(dib);
    if (from.ok()) {
      *page = CreateImage(from.width(), from.height(), from.bitsPerPixel(), from.palette(),
                          from.paletteCount(), from.xDpi(), from.yDpi());
      ImageLock to(*page);
      if (to.ok()) CopyRows(from.raster(), to.raster());
    }
  }
  if (dib) GlobalFree(dib);
  if (result == kTwrcXferDone && *page) *page = FinishPage(*page, request);
  return result == kTwrcXferDone && !*page ? TwUInt16{kTwrcFailure} : result;
}

// A page by memory transfer, strip by strip; black-and-white pages come
// with 0 for black, as the library's palette has it.
TwUInt16 MemoryPage(TwainSource& source, const ScanRequest& request, HGLOBAL* page) {
  TwImageInfo info = {};
  TwSetupMemXfer setup = {};
  if (source.Call(kDgImage, kDatImageInfo, kMsgGet, &info) != kTwrcSuccess ||
      source.Call(kDgControl, kDatSetupMemXfer, kMsgGet, &setup) != kTwrcSuccess ||
      (info.bitsPerPixel != 1 && info.bitsPerPixel != 8)) {
    return kTwrcFailure;
  }
  RGBQUAD greys[256];
  for (int i = 0; i < 256; ++i) greys[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
  const bool oneBit = info.bitsPerPixel == 1;
  HGLOBAL image = CreateImage(info.imageWidth, info.imageLength, info.bitsPerPixel,
                              oneBit ? kBlackWhitePalette : greys, oneBit ? 2 : 256,
                              std::lround(Fix32Value(info.xResolution)),
                              std::lround(Fix32Value(info.yResolution)));
  if (!image) return kTwrcFailure;
  std::vector<uint8_t> buffer(std::max<TwUInt32>({setup.preferred, setup.minBufSize, 4096}));
  TwUInt16 result;
  do {
    TwImageMemXfer strip = {};
    strip.memory = {kTwmfAppOwns | kTwmfPointer, static_cast<TwUInt32>(buffer.size()),
                    buffer.data()};
    result = source.Call(kDgImage, kDatImageMemXfer, kMsgGet, &strip);
    if (result != kTwrcSuccess && result != kTwrcXferDone) break;
    ImageLock lock(image);
    const Raster to = lock.raster();
    const size_t rowBytes = (static_cast<size_t>(to.width) * to.bitsPerPixel + 7) / 8;
    const size_t skip = static_cast<size_t>(strip.xOffset) * to.bitsPerPixel / 8;
    for (TwUInt32 row = 0; row < strip.rows; ++row) {
      const size_t y = static_cast<size_t>(strip.yOffset) + row;
      const size_t from = static_cast<size_t>(row) * strip.bytesPerRow;
      if (y >= static_cast<size_t>(to.height) || skip >= rowBytes ||
          from + strip.bytesPerRow > buffer.size()) {
        continue;
      }
      std::memcpy(to.Row(static_cast<int>(y)) + skip, buffer.data() + from,
                  std::min<size_t>(strip.bytesPerRow, rowBytes - skip));
    }
  } while (result == kTwrcSuccess);
  if (result != kTwrcXferDone) {
    FreeImage(image);
    return result;
  }
  *page = FinishPage(image, request);
  return *page ? result : TwUInt16{kTwrcFailure};
}

struct Outcome {
  int result = 0;
  int delivered = 0;
};

// Takes the pages while the source has any. A transfer that fails or is
// cancelled ends the ones pending after it.
Outcome TakePages(TwainSource& source, TwUInt16 mechanism, const ScanRequest& request,
                  IKScanPageProc callback) {
  Outcome outcome;
  TwPendingXfers pending = {1, 0};
  while (pending.count != 0) {
    HGLOBAL page = nullptr;
    const TwUInt16 result = mechanism == kTwsxNative ? NativePage(source, request, &page)
                                                     : MemoryPage(source, request, &page);
    if (result == kTwrcXferDone) {
      const int answer = callback(page, ++outcome.delivered);
      FreeImage(page);
      source.Call(kDgControl, kDatPendingXfers, kMsgEndXfer, &pending);
      if (answer > 0 && request.sides != kIkScanFlatbed) continue;
      if (pending.count != 0) source.Call(kDgControl, kDatPendingXfers, kMsgReset, &pending);
      break;
    }
    if (result == kTwrcCancel) {
      source.Call(kDgControl, kDatPendingXfers, kMsgEndXfer, &pending);
      outcome.result = kIkScanCancelled;
    } else {
      outcome.result = source.ConditionCode() == kTwccPaperJam ? kIkScanPaperJam : kIkScanFeedError;
    }
    if (pending.count != 0) source.Call(kDgControl, kDatPendingXfers, kMsgReset, &pending);
    return outcome;
  }
  outcome.result = outcome.delivered > 0 ? outcome.delivered : kIkScanNoPaper;
  return outcome;
}

}  // namespace

std::vector<std::string> TwainScannerNames() {
  TwainManager manager;
  return manager.SourceNames();
}

int TwainCapability(const char* scanner, int capability, std::vector<int>* values,
                     int* current, int* step) {
  values->clear();
  const TwUInt16 cap = TwainCapabilityOf(capability);
  if (!cap) return 0;
  TwainManager manager;
  TwainSource source(manager, scanner ? scanner : "");
  if (!source.ok()) return 0;
  std::vector<double> found;
  double now = 0, by = 0;
  const int container = source.GetCapability(cap, &found, &now, &by);
  for (double value : found) values->push_back(static_cast<int>(std::lround(value)));
  *current = static_cast<int>(std::lround(now));
  *step = static_cast<int>(std::lround(by));
  return container;
}

int RunTwainScan(const ScanRequest& request, IKScanPageProc callback) {
  if (!callback || request.sides < kIkScanFlatbed || request.sides > kIkScanTwoSided) {
    return kIkScanFailed;
  }
  TwainManager manager;
  TwainSource source(manager, request.scanner);
  TwUInt16 mechanism = kTwsxNative;
  if (!source.ok() || !Configure(source, request, &mechanism)) return kIkScanFailed;
  if (request.sides != kIkScanFlatbed && !FeederLoaded(source)) return kIkScanNoPaper;
  TwUserInterface screen = {static_cast<TwBool>(request.showSettings ? 1 : 0), 0,
                            request.owner ? request.owner : manager.window()};
  const TwUInt16 enabled = source.Call(kDgControl, kDatUserInterface, kMsgEnableDs, &screen);
  if (enabled != kTwrcSuccess && enabled != kTwrcCheckStatus) return kIkScanFailed;
  Outcome outcome;
  if (WaitForSource(source) == kMsgXferReady) {
    outcome = TakePages(source, mechanism, request, callback);
  } else {
    outcome.result = kIkScanCancelled;
  }
  source.Call(kDgControl, kDatUserInterface, kMsgDisableDs, &screen);
  return outcome.result;
}
