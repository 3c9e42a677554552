// The frame shared by the four recognition exports: argument checks, the
// environment's dictionary, the run block, the polarity flip of the caller's
// bitmap (always restored, also when the driver fails), the drivers' input
// checks and the copy of the results into the caller's records.
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <new>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/mupa32.h"

RecognitionDrivers g_recognitionDrivers = {RecognizeOneChar, RecognizeField, RecogniseLineDriver,
                                           SegmentCharacters};

namespace {

constexpr int64_t kMaxLineArea = 7983361;  // exclusive
constexpr int kMinLineDpi = 200, kMaxLineDpi = 600;
constexpr uint16_t kStatusFailed = 0xFFF7;  // -9
constexpr uint16_t kStatusNoHandle = 0xFFF6;  // -10

int Fail(uint16_t code) {
  PushErrorCode(code);
  return -9;
}

int MinBytesPerLine(int width) { return (width + 7) / 8; }

bool RectInside(const MupaRect& r, int width, int height) {
  return r.left >= 0 && r.left <= r.right && r.right <= width - 1 && r.top >= 0 &&
         r.top <= r.bottom && r.bottom <= height - 1;
}

// Options, dictionary count and mode: the checks both driver kinds end with.
int CheckRunSettings(const RecogRunBlock& run) {
  if (run.options.marker[0] != 1) return Fail(kErrOptionByte0);
  if (run.options.marker[1] != 1) return Fail(kErrOptionByte1);
  if (run.dictCount > 1) return Fail(kErrManyDicts);
  if (run.dictCount < 1) return Fail(kErrNoDictInRun);
  if (run.options.mode < 1 || run.options.mode > 3) return Fail(kErrBadMode);
  return 0;
}

int CheckFieldInput(const RecogRunBlock& run, int capacity) {
  if (capacity < 1 || capacity > kMaxResultCapacity) return Fail(kErrCountRange);
  if (run.cellCount < 1) return Fail(kErrMissingValue);
  return 0;
}


// Environment, pointers, polarity and bitmap, as every export checks them.
int CheckCallArgs(int handle, int environment, const MupaImage* image,
                  std::initializer_list<const void*> pointers) {
  if (CheckEnvHandle(handle, environment) != 0) return Fail(kErrBadArgument);
  if (image == nullptr) return Fail(kErrBadArgument);
  for (const void* p : pointers) {
    if (p == nullptr) return Fail(kErrBadArgument);
  }
  if (image->polarity > 1) return Fail(kErrBadImage);
  if (image->bits == nullptr) return Fail(kErrBadArgument);
  return 0;
}

// One recognition call from the dictionary look-up to the restored bitmap.
class RecognitionCall {
 public:
  RecognitionCall(int handle, MupaImage* image) : handle_(handle), image_(image) {}
  RecognitionCall(const RecognitionCall&) = delete;
  RecognitionCall& operator=(const RecognitionCall&) = delete;
  ~RecognitionCall() { RestoreBitmap(); }

  // Finds the environment's dictionary and builds the run block.
  int Begin(int environment, const MupaRecogOptions& options) {
    const uint16_t dictionary = FindEnvDictionary(handle_, environment);
    if (dictionary == kNoSlot) return Fail(kErrNoDictInEnv);
    dicts_.reset(new (std::nothrow) DictBlock*[1]);
    if (!dicts_) return Fail(kErrNoMemory);
    dicts_[0] = GetDictData(dictionary);
    run_ = RecogRunBlock{};
    run_.image = {image_->width, image_->height, image_->bitsPerPixel,
                  image_->bytesPerLine, image_->dpi, image_->bits};
    // The drivers check the caller's marker bytes (5, 6) and mode (8); the
    // run block carries these three bytes and nothing else of the block.
    run_.options = MupaRecogOptions{};
    run_.options.marker[0] = options.marker[0];
    run_.options.marker[1] = options.marker[1];
    run_.options.mode = options.mode;
    run_.dictCount = 1;
    run_.dicts = dicts_.get();
    return 0;
  }

  // Inverts the caller's bitmap over `area` when its ink bits are 0, and
  // makes the handle's work area current.
  int PrepareBitmap(const MupaRect& area) {
    if (image_->polarity == 0) {
      if (FlipImageRect(*image_, area) != 0) return -9;
      flipped_ = true;
      flipArea_ = area;
    }
    SelectSessionWorkArea(handle_);
    return 0;
  }

  void RestoreBitmap() {
    if (flipped_) FlipImageRect(*image_, flipArea_);
    flipped_ = false;
  }

  void EndDriver() { dicts_.reset(); }

  RecogRunBlock& run() { return run_; }

 private:
  int handle_;
  MupaImage* image_;
  RecogRunBlock run_ = {};
  std::unique_ptr<DictBlock*[]> dicts_;
  bool flipped_ = false;
  MupaRect flipArea_ = {};
};

void WidenResult(const RecogCharResult& in, MupaCharResult* out) {
  for (int i = 0; i < kResultCandidates; ++i) {
    out->candidates[i].code = in.candidates[i].code;
    out->candidates[i].score = in.candidates[i].score;
  }
  out->confidence = in.confidence;
  out->failed = in.failed;
  out->box = in.box;
}

// Room for `capacity` results; a capacity out of range is the driver's check
// to report, so it gets an empty array rather than a failed allocation.
template <class T>
std::unique_ptr<T[]> AllocateResults(int capacity) {
  return std::unique_ptr<T[]>(new (std::nothrow) T[std::max(capacity, 0)]());
}

}  // namespace

int PrepareOneChar(const RecogRunBlock& run) {
  const RunImage& image = run.image;
  if (image.width < 1 || image.height < 1 || image.bitsPerPixel != 1 ||
      image.bytesPerLine < MinBytesPerLine(image.width) || image.dpi < 1) {
    return Fail(kErrBadImage);
  }
  const MupaRect& r = run.rect;
  if (!RectInside(r, image.width, image.height)) return Fail(kErrBadRect);
  const int64_t mapWidth = 8 * (r.right / 8 - r.left / 8) + 12;
  const int64_t mapHeight = r.bottom - r.top + 5;
  if (mapWidth < 1 || mapWidth > INT16_MAX || mapHeight < 1 || mapHeight > INT16_MAX) {
    return Fail(kErrBadRect);
  }
  if (mapWidth * mapHeight > kMaxNeighbourMapBytes) return Fail(kErrNeighbourMap);
  return CheckRunSettings(run);
}

int CheckRecognitionInput(const RecogRunBlock& run, int capacity, int minCapacity) {
  const RunImage& image = run.image;
  if (image.width < 1 || image.height < 1 || image.bitsPerPixel != 1 ||
      image.bytesPerLine != MinBytesPerLine(image.width) || image.dpi < kMinLineDpi ||
      image.dpi > kMaxLineDpi) {
    return Fail(kErrBadImage);
  }
  const MupaRect& r = run.rect;
  if (!RectInside(r, image.width, image.height)) return Fail(kErrBadRect);
  if (int64_t{r.bottom - r.top + 1} * (r.right - r.left + 1) >= kMaxLineArea) {
    return Fail(kErrBadRect);
  }
  if (CheckRunSettings(run) != 0) return -9;
  if (capacity < minCapacity || capacity > kMaxResultCapacity) return Fail(kErrCountRange);
  return 0;
}

// Bytes per line must cover the width, or the flip would run past the rows.
int FlipImageRect(const MupaImage& image, const MupaRect& rect) {
  if (image.width < 1 || image.height < 1 || image.bytesPerLine < MinBytesPerLine(image.width) ||
      image.dpi < 1) {
    return Fail(kErrBadImage);
  }
  if (!RectInside(rect, image.width, image.height)) return Fail(kErrBadRect);
  for (int y = rect.top; y <= rect.bottom; ++y) {
    uint8_t* row = image.bits + static_cast<ptrdiff_t>(y) * image.bytesPerLine;
    for (int x = rect.left / 8; x <= rect.right / 8; ++x) row[x] = static_cast<uint8_t>(~row[x]);
  }
  return 0;
}

MupaRect UnionFieldRects(const MupaImage& image, const MupaRect* cells, int count) {
  const MupaRect whole = {0, 0, static_cast<int16_t>(image.width - 1),
                          static_cast<int16_t>(image.height - 1)};
  MupaRect u = {whole.right, whole.bottom, 0, 0};
  for (int i = 0; i < count; ++i) {
    u.left = std::min(u.left, cells[i].left);
    u.top = std::min(u.top, cells[i].top);
    u.right = std::max(u.right, cells[i].right);
    u.bottom = std::max(u.bottom, cells[i].bottom);
  }
  return count >= 1 && RectInside(u, image.width, image.height) ? u : whole;
}

MUPA_API int16_t MUPA_CALL MupaExecuteOneChar(int16_t handle, int16_t environment,
                                              MupaImage* image, const MupaRect* rect,
                                              const MupaRecogOptions* options,
                                              MupaCharResult* result) {
  ClearErrorStack();
  if (CheckSessionHandle(handle) != 0) return -10;
  if (CheckCallArgs(handle, environment, image, {rect, options, result}) != 0) {
    return EndExport(handle, -9);
  }
  RecognitionCall call(handle, image);
  if (call.Begin(environment, *options) != 0) return EndExport(handle, -9);
  call.run().rect = *rect;
  if (call.PrepareBitmap(*rect) != 0) return EndExport(handle, -9);
  RecogCharResult out = {};
  int rc = PrepareOneChar(call.run());
  if (rc == 0) rc = g_recognitionDrivers.oneChar(&call.run(), &out);
  call.EndDriver();
  call.RestoreBitmap();
  if (rc == -9) return EndExport(handle, -9);
  WidenResult(out, result);
  return EndExport(handle, 0);
}

MUPA_API int16_t MUPA_CALL MupaExecuteFieldChar(int16_t handle, int16_t environment,
                                                MupaImage* image, const MupaRect* cells,
                                                uint16_t cellCount,
                                                const MupaRecogOptions* options,
                                                MupaCharResult* results, int16_t capacity,
                                                int16_t* count) {
  ClearErrorStack();
  if (CheckSessionHandle(handle) != 0) return -10;
  if (CheckCallArgs(handle, environment, image, {cells, options, results, count}) != 0) {
    return EndExport(handle, -9);
  }
  RecognitionCall call(handle, image);
  if (call.Begin(environment, *options) != 0) return EndExport(handle, -9);
  auto out = AllocateResults<RecogCharResult>(capacity);
  if (!out) return EndExport(handle, Fail(kErrNoMemory));
  call.run().cells = cells;
  call.run().cellCount = cellCount;
  if (call.PrepareBitmap(UnionFieldRects(*image, cells, cellCount)) != 0) {
    return EndExport(handle, -9);
  }
  int found = 0;
  int rc = CheckFieldInput(call.run(), capacity);
  if (rc == 0) rc = g_recognitionDrivers.field(&call.run(), out.get(), capacity, &found);
  call.EndDriver();
  call.RestoreBitmap();
  if (rc == -9) return EndExport(handle, -9);
  found = std::clamp(found, 0, static_cast<int>(capacity));
  for (int i = 0; i < found; ++i) WidenResult(out[i], &results[i]);
  *count = static_cast<int16_t>(found);
  return EndExport(handle, 0);
}

MUPA_API int16_t MUPA_CALL MupaExecuteOneLine(int16_t handle, int16_t environment,
                                              MupaImage* image, const MupaRect* rect,
                                              const MupaRecogOptions* options,
                                              MupaCharResult* results, int16_t capacity,
                                              uint32_t reserved, uint16_t* status) {
  ClearErrorStack();
  if (CheckSessionHandle(handle) != 0) {
    if (status != nullptr) *status = kStatusNoHandle;
    return -10;
  }
  auto fail = [&] {
    if (status != nullptr) *status = kStatusFailed;
    return EndExport(handle, -1);
  };
  if (CheckCallArgs(handle, environment, image, {rect, options, results, status}) != 0) {
    return fail();
  }
  RecognitionCall call(handle, image);
  if (call.Begin(environment, *options) != 0) return fail();
  auto out = AllocateResults<RecogCharResult>(capacity);
  if (!out) {
    PushErrorCode(kErrNoMemory);
    return fail();
  }
  call.run().rect = *rect;
  if (call.PrepareBitmap(*rect) != 0) return fail();
  int found = 0;
  int rc = CheckRecognitionInput(call.run(), capacity, kMinLineCapacity);
  if (rc == 0) rc = g_recognitionDrivers.line(&call.run(), out.get(), capacity, &found);
  const uint32_t mask = call.run().dicts[0]->header.currentTypes;
  call.EndDriver();
  call.RestoreBitmap();
  if (rc == -9) return fail();
  found = std::clamp(found, 0, static_cast<int>(capacity));
  ApplySemiVoicedMarkRule(mask, out.get(), found);
  for (int i = 0; i < found; ++i) WidenResult(out[i], &results[i]);
  *status = 0;
  return EndExport(handle, static_cast<int16_t>(found));
}

// The whole capacity of boxes is copied; the boxes not found are zero.
MUPA_API int16_t MUPA_CALL MupaSegChar(int16_t handle, int16_t environment,
                                       MupaImage* image, const MupaRect* rect,
                                       const MupaRecogOptions* options, MupaRect* boxes,
                                       int16_t capacity, int16_t* count) {
  ClearErrorStack();
  if (CheckSessionHandle(handle) != 0) return -10;
  if (CheckCallArgs(handle, environment, image, {rect, options, boxes, count}) != 0) {
    return EndExport(handle, -9);
  }
  RecognitionCall call(handle, image);
  if (call.Begin(environment, *options) != 0) return EndExport(handle, -9);
  auto out = AllocateResults<MupaRect>(capacity);
  if (!out) return EndExport(handle, Fail(kErrNoMemory));
  call.run().rect = *rect;
  if (call.PrepareBitmap(*rect) != 0) return EndExport(handle, -9);
  int found = 0;
  int rc = CheckRecognitionInput(call.run(), capacity, 1);
  if (rc == 0) rc = g_recognitionDrivers.segment(&call.run(), out.get(), capacity, &found);
  call.EndDriver();
  call.RestoreBitmap();
  if (rc == -9) return EndExport(handle, -9);
  std::copy(out.get(), out.get() + capacity, boxes);
  *count = static_cast<int16_t>(std::clamp(found, 0, static_cast<int>(capacity)));
  return EndExport(handle, 0);
}
