// Entries of IK7SCAN and IK5SCAN: the sheet feeder behind the scanner
// calls.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/imaging_library.h"
#include "platform/scan_feeder.h"

namespace {

// The one scanner session a program holds between IKScanInitialize and
// IKScanTerminate; its handle is the address of this flag.
bool g_sessionOpen = false;

HANDLE SessionHandle() { return &g_sessionOpen; }

// Copies a name into `size` bytes, cut before a double-byte character that
// would not fit whole.
int CopyName(const std::string& name, char* out, int size) {
  if (!out || size < 1) return 0;
  size_t length = 0;
  while (length < name.size()) {
    const size_t step = IsDBCSLeadByte(static_cast<BYTE>(name[length])) ? 2 : 1;
    if (length + step > static_cast<size_t>(size - 1)) break;
    length += step;
  }
  std::memcpy(out, name.data(), length);
  out[length] = '\0';
  return 1;
}

int ListScanner(char* name, int size) {
  FeederSettings feeder;
  if (!FindFeeder(nullptr, &feeder)) {
    CopyName("", name, size);
    return 0;
  }
  return CopyName(feeder.name, name, size);
}

// What both parameter blocks say alike.
template <class Params>
ScanRequest RequestOf(HWND owner, const Params& params) {
  ScanRequest request;
  request.owner = owner;
  request.scanner.assign(params.scanner, strnlen(params.scanner, sizeof params.scanner));
  request.sides = params.sides;
  request.dropOutColor = params.dropOutColor;
  request.xResolution = params.xResolution;
  request.yResolution = params.yResolution;
  request.blackAndWhite = params.blackAndWhite == 1;
  return request;
}

}  // namespace

HANDLE IK_CALL IKScanInitialize(HWND owner, const char* product, const char* maker,
                                const char* family, const char* version) {
  g_sessionOpen = true;
  return SessionHandle();
}

int IK_CALL IKScanList(HANDLE session, char* name, int size) {
  if (session != SessionHandle() || !g_sessionOpen) return 0;
  return ListScanner(name, size);
}

BOOL IK_CALL IKScanTerminate(HANDLE session) {
  if (session != SessionHandle() || !g_sessionOpen) return FALSE;
  g_sessionOpen = false;
  return TRUE;
}

int IK_CALL IKScanGetCapRange(const char* scanner, int capability, int* minimum, int* maximum,
                              int* step, int* current) {
  std::vector<int> values;
  int now = 0;
  const int container = FeederCapability(scanner, capability, &values, &now);
  if (!container) return 0;
  if (minimum) *minimum = values.front();
  if (maximum) *maximum = values.back();
  if (step) *step = container == kIkContainerRange ? 1 : 0;
  if (current) *current = now;
  return container;
}

int IK_CALL IKScanGetCapEnum(const char* scanner, int capability, int* values, int capacity,
                             int* count, int* current) {
  std::vector<int> all;
  int now = 0;
  const int container = FeederCapability(scanner, capability, &all, &now);
  if (!container) return 0;
  if (values) {
    std::copy_n(all.begin(), std::min(static_cast<int>(all.size()), std::max(capacity, 0)), values);
  }
  if (count) *count = static_cast<int>(all.size());
  if (current) *current = now;
  return container;
}

int IK_CALL IKScanExec(HWND owner, const IKScanParams* params, IKScanPageProc callback) {
  if (!params || params->size != sizeof(IKScanParams)) return kIkScanFailed;
  ScanRequest request = RequestOf(owner, *params);
  request.brightness = params->brightness;
  request.showSettings = params->userInterface == 1;
  return RunFeeder(request, callback);
}

int IK_CALL IK5ScanList(char* name, int size) { return ListScanner(name, size); }

int IK_CALL IK5ScanExec(HWND owner, const IK5ScanParams* params, IKScanPageProc callback) {
  if (!params || params->size != sizeof(IK5ScanParams)) return kIkScanFailed;
  return RunFeeder(RequestOf(owner, *params), callback);
}
