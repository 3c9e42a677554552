// Entries of IK7SCAN and IK5SCAN: the TWAIN scanners and the sheet feeder
// behind the scanner calls. The feeder answers to its own name and, when it
// is set up, to an empty one, as it did before there were TWAIN scanners;
// every other name is a TWAIN source's.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/imaging_library.h"
#include "platform/scan_choice.h"
#include "platform/scan_feeder.h"
#include "platform/twain_manager.h"
#include "platform/twain_scan.h"

namespace {

// The one scanner session a program holds between IKScanInitialize and
// IKScanTerminate, the source manager open for its length; its handle is
// the address of this pointer.
TwainManager* g_session = nullptr;

HANDLE SessionHandle() { return &g_session; }
HWND g_sessionOwner = nullptr;

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

// Every scanner installed: the TWAIN sources, then the feeder.
std::vector<std::string> ScannerNames() {
  std::vector<std::string> names = TwainScannerNames();
  FeederSettings feeder;
  if (FindFeeder(nullptr, &feeder)) names.push_back(feeder.name);
  return names;
}

int ListScanner(HWND owner, char* name, int size) {
  const std::vector<std::string> names = ScannerNames();
  const int chosen = names.size() == 1 ? 0 : ChooseScanner(owner, names);
  if (chosen < 0) {
    CopyName("", name, size);
    return 0;
  }
  return CopyName(names[chosen], name, size);
}

bool IsFeeder(const char* scanner) {
  FeederSettings feeder;
  return FindFeeder(scanner, &feeder);
}

int Capability(const char* scanner, int capability, std::vector<int>* values, int* current,
               int* step) {
  if (!IsFeeder(scanner)) return TwainCapability(scanner, capability, values, current, step);
  const int container = FeederCapability(scanner, capability, values, current);
  *step = container == kIkContainerRange ? 1 : 0;
  return container;
}

int Scan(const ScanRequest& request, IKScanPageProc callback) {
  return IsFeeder(request.scanner.c_str()) ? RunFeeder(request, callback)
                                           : RunTwainScan(request, callback);
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
  if (g_session) return nullptr;
  SetTwainApplication(product, maker, family, version);
  // Without a source manager the feeder is still there to choose.
  g_session = new TwainManager;
  g_sessionOwner = owner;
  return SessionHandle();
}

int IK_CALL IKScanList(HANDLE session, char* name, int size) {
  if (session != SessionHandle() || !g_session) return 0;
  return ListScanner(g_sessionOwner, name, size);
}

BOOL IK_CALL IKScanTerminate(HANDLE session) {
  if (session != SessionHandle() || !g_session) return FALSE;
  delete g_session;
  g_session = nullptr;
  return TRUE;
}

int IK_CALL IKScanGetCapRange(const char* scanner, int capability, int* minimum, int* maximum,
                              int* step, int* current) {
  std::vector<int> values;
  int now = 0, by = 0;
  const int container = Capability(scanner, capability, &values, &now, &by);
  if (!container) return 0;
  if (minimum) *minimum = *std::min_element(values.begin(), values.end());
  if (maximum) *maximum = *std::max_element(values.begin(), values.end());
  if (step) *step = by;
  if (current) *current = now;
  return container;
}

int IK_CALL IKScanGetCapEnum(const char* scanner, int capability, int* values, int capacity,
                             int* count, int* current) {
  std::vector<int> all;
  int now = 0, step = 0;
  const int container = Capability(scanner, capability, &all, &now, &step);
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
  request.brightnessGiven = true;
  request.showSettings = params->userInterface == 1;
  return Scan(request, callback);
}

int IK_CALL IK5ScanList(char* name, int size) { return ListScanner(nullptr, name, size); }

int IK_CALL IK5ScanExec(HWND owner, const IK5ScanParams* params, IKScanPageProc callback) {
  if (!params || params->size != sizeof(IK5ScanParams)) return kIkScanFailed;
  return Scan(RequestOf(owner, *params), callback);
}
