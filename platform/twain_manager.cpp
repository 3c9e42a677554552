#include "platform/twain_manager.h"

#include <cstdio>

namespace {

constexpr char kWindowClass[] = "IKScanEvents";

struct ManagerState {
  TwIdentity application = {};
  HMODULE library = nullptr;
  DsmEntryProc entry = nullptr;
  HWND window = nullptr;
  int openings = 0;
};
ManagerState g_manager;

void CopyText(char (&target)[34], const char* text) {
  std::snprintf(target, sizeof target, "%s", text ? text : "");
}

TwIdentity& Application() {
  TwIdentity& identity = g_manager.application;
  if (!identity.productName[0]) SetTwainApplication("ImageKit7", "ImageKit", "ImageKit", "ImageKit7");
  return identity;
}

HWND CreateEventWindow() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);
  // Only a target for posted events: a message-only window.
  return CreateWindowA(kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                       windowClass.hInstance, nullptr);
}

bool OpenManager() {
  // 64-bit programs and newer sources go through TWAINDSM; older systems
  // (and Wine) ship twain_32 only.
  for (const char* name : {"TWAINDSM.dll", "twain_32.dll"}) {
    g_manager.library = LoadLibraryA(name);
    if (g_manager.library) break;
  }
  if (!g_manager.library) return false;
  g_manager.entry =
      reinterpret_cast<DsmEntryProc>(
      reinterpret_cast<void*>(GetProcAddress(g_manager.library, "DSM_Entry")));
  g_manager.window = CreateEventWindow();
  if (g_manager.entry && g_manager.window &&
      g_manager.entry(&Application(), nullptr, kDgControl, kDatParent, kMsgOpenDsm,
                      &g_manager.window) == kTwrcSuccess) {
    return true;
  }
  if (g_manager.window) DestroyWindow(g_manager.window);
  FreeLibrary(g_manager.library);
  g_manager = ManagerState{g_manager.application};
  return false;
}

void CloseManager() {
  g_manager.entry(&Application(), nullptr, kDgControl, kDatParent, kMsgCloseDsm,
                  &g_manager.window);
  DestroyWindow(g_manager.window);
  FreeLibrary(g_manager.library);
  g_manager = ManagerState{g_manager.application};
}

}  // namespace

void SetTwainApplication(const char* product, const char* maker, const char* family,
                         const char* version) {
  TwIdentity& identity = g_manager.application;
  identity = {};
  identity.version.majorNumber = 7;
  identity.version.language = 2;   // English
  identity.version.country = 81;   // Japan
  CopyText(identity.version.info, version);
  identity.protocolMajor = kTwainProtocolMajor;
  identity.protocolMinor = kTwainProtocolMinor;
  identity.supportedGroups = kDfAppOrDsGroups;
  CopyText(identity.manufacturer, maker);
  CopyText(identity.productFamily, family);
  CopyText(identity.productName, product && *product ? product : "ImageKit7");
}

TwainManager::TwainManager() {
  ok_ = g_manager.openings > 0 || OpenManager();
  if (ok_) ++g_manager.openings;
}

TwainManager::~TwainManager() {
  if (ok_ && --g_manager.openings == 0) CloseManager();
}

HWND TwainManager::window() const { return g_manager.window; }

TwUInt16 TwainManager::Call(TwIdentity* source, TwUInt32 group, TwUInt16 data,
                            TwUInt16 message, void* payload) const {
  if (!ok_) return kTwrcFailure;
  return g_manager.entry(&Application(), source, group, data, message, payload);
}

TwUInt16 TwainManager::ConditionCode(TwIdentity* source) const {
  TwStatus status = {};
  return Call(source, kDgControl, kDatStatus, kMsgGet, &status) == kTwrcSuccess
             ? status.conditionCode
             : TwUInt16{kTwccBummer};
}

std::vector<std::string> TwainManager::SourceNames() const {
  std::vector<std::string> listed;
  TwIdentity source = {};
  TwUInt16 message = kMsgGetFirst;
  while (Call(nullptr, kDgControl, kDatIdentity, message, &source) == kTwrcSuccess) {
    listed.emplace_back(source.productName, strnlen(source.productName, sizeof source.productName));
    source = {};
    message = kMsgGetNext;
  }
  // A source whose device is missing cannot open (Wine lists its camera
  // source with no camera attached): it is not offered.
  std::vector<std::string> names;
  for (const std::string& name : listed) {
    if (TwainSource(*this, name).ok()) names.push_back(name);
  }
  return names;
}

TwainSource::TwainSource(const TwainManager& manager, const std::string& name)
    : manager_(manager) {
  if (!manager.ok()) return;
  TwUInt16 message = name.empty() ? kMsgGetDefault : kMsgGetFirst;
  bool found = false;
  while (!found &&
         manager.Call(nullptr, kDgControl, kDatIdentity, message, &identity_) == kTwrcSuccess) {
    found = message == kMsgGetDefault ||
            name == std::string(identity_.productName,
                                strnlen(identity_.productName, sizeof identity_.productName));
    message = kMsgGetNext;
  }
  open_ = found && manager.Call(nullptr, kDgControl, kDatIdentity, kMsgOpenDs, &identity_) ==
                       kTwrcSuccess;
}

TwainSource::~TwainSource() {
  if (open_) manager_.Call(nullptr, kDgControl, kDatIdentity, kMsgCloseDs, &identity_);
}

int TwainSource::GetCapability(TwUInt16 cap, std::vector<double>* values, double* current,
                               double* step) {
  values->clear();
  *current = *step = 0;
  TwCapability capability = {cap, 0, nullptr};
  if (Call(kDgControl, kDatCapability, kMsgGet, &capability) != kTwrcSuccess ||
      !capability.container) {
    return 0;
  }
  int container = capability.containerType;
  const void* data = GlobalLock(capability.container);
  if (!data) {
    container = 0;
  } else if (container == kTwonOneValue) {
    const auto* one = static_cast<const TwOneValue*>(data);
    *current = ItemValue(one->itemType, one->item);
    values->push_back(*current);
  } else if (container == kTwonRange) {
    const auto* range = static_cast<const TwRange*>(data);
    values->push_back(ItemValue(range->itemType, range->minValue));
    values->push_back(ItemValue(range->itemType, range->maxValue));
    *step = ItemValue(range->itemType, range->stepSize);
    *current = ItemValue(range->itemType, range->currentValue);
  } else if (container == kTwonEnumeration) {
    const auto* list = static_cast<const TwEnumeration*>(data);
    const size_t itemSize = list->itemType == kTwtyInt16 || list->itemType == kTwtyUInt16 ||
                                    list->itemType == kTwtyBool
                                ? 2
                                : 4;
    const size_t room = (GlobalSize(capability.container) - offsetof(TwEnumeration, itemList)) /
                        itemSize;
    for (TwUInt32 i = 0; i < list->numItems && i < room; ++i) {
      TwUInt32 item = 0;
      std::memcpy(&item, list->itemList + i * itemSize, itemSize);
      values->push_back(ItemValue(list->itemType, item));
    }
    if (list->currentIndex < values->size()) *current = (*values)[list->currentIndex];
  } else {
    container = 0;  // arrays say nothing of a range or a current value
  }
  if (data) GlobalUnlock(capability.container);
  GlobalFree(capability.container);
  return values->empty() ? 0 : container;
}

bool TwainSource::SetCapability(TwUInt16 cap, TwUInt16 itemType, TwUInt32 item) {
  TwCapability capability = {cap, kTwonOneValue, GlobalAlloc(GHND, sizeof(TwOneValue))};
  if (!capability.container) return false;
  auto* one = static_cast<TwOneValue*>(GlobalLock(capability.container));
  one->itemType = itemType;
  one->item = item;
  GlobalUnlock(capability.container);
  const TwUInt16 result = Call(kDgControl, kDatCapability, kMsgSet, &capability);
  GlobalFree(capability.container);
  return result == kTwrcSuccess || result == kTwrcCheckStatus;
}
