// Library handles, execution environments and dictionary slots: the three
// fixed process-wide tables (5 handles, 10 environments, 10 dictionaries),
// the exports that manage handles and environments, and the checks and
// look-ups the other exports use. A failed export leaves every table as it
// was before the call.
#include <cstring>
#include <new>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/mupa32.h"

uint16_t g_libraryState = kSlotFree;
MupaSession g_sessions[kMaxSessions] = {};
MupaExecEnv g_execEnvs[kMaxExecEnvs] = {};
MupaPatternDict g_patternDicts[kMaxDicts] = {};
SessionWorkArea* g_currentWorkArea = nullptr;

namespace {

// The ten 512-byte name buffers of the dictionary slots, allocated while the
// library is initialised.
char* g_nameBlock = nullptr;

bool IsSessionIndex(int handle) { return handle >= 0 && handle < kMaxSessions; }
bool IsEnvIndex(int environment) { return environment >= 0 && environment < kMaxExecEnvs; }
bool IsDictIndex(int dictionary) { return dictionary >= 0 && dictionary < kMaxDicts; }

template <class Slot, int N>
uint16_t FindFreeSlot(const Slot (&slots)[N]) {
  for (int i = 0; i < N; ++i) {
    if (slots[i].state == kSlotFree) return static_cast<uint16_t>(i);
  }
  return kNoSlot;
}

int InitialiseLibrary() {
  for (MupaSession& session : g_sessions) session.state = kSlotFree;
  g_nameBlock = new (std::nothrow) char[kMaxDicts * kDictNameBytes];
  if (g_nameBlock == nullptr) return -9;
  for (int e = 0; e < kMaxExecEnvs; ++e) ClearEnvSlot(e);
  for (int d = 0; d < kMaxDicts; ++d) {
    g_patternDicts[d].name = g_nameBlock + kDictNameBytes * d;
    ClearDictSlot(d);
  }
  g_libraryState = kSlotInUse;
  return 0;
}

void UninitialiseLibrary() {
  for (int e = 0; e < kMaxExecEnvs; ++e) ClearEnvSlot(e);
  for (int d = 0; d < kMaxDicts; ++d) {
    ClearDictSlot(d);
    g_patternDicts[d].name = nullptr;
  }
  delete[] g_nameBlock;
  g_nameBlock = nullptr;
  g_libraryState = kSlotFree;
}

bool OwnsAnyEnv(int handle) {
  for (const MupaExecEnv& env : g_execEnvs) {
    if (env.state == kSlotInUse && env.owner == handle) return true;
  }
  return false;
}

bool OwnsAnyDict(int handle) {
  for (const MupaPatternDict& dict : g_patternDicts) {
    if (dict.state == kSlotInUse && dict.owner == handle) return true;
  }
  return false;
}

// Pushes `code`, saves the stack in the handle's buffer, returns `result`.
int16_t Fail(int handle, uint16_t code, int16_t result) {
  PushErrorCode(code);
  SaveHandleErrors(handle);
  return result;
}

// Checks of register and cancel: the handle (-10), the environment (7001)
// and the dictionary (7001, 7011). 0 when the call can go on.
int16_t BeginRegistrationCall(int handle, int environment, int dictionary) {
  ClearErrorStack();
  if (CheckSessionHandle(handle) != 0) return -10;
  if (CheckEnvHandle(handle, environment) != 0) return Fail(handle, kErrBadArgument, -9);
  if (CheckDictHandle(handle, dictionary) != 0) return EndExport(handle, -9);
  return 0;
}

}  // namespace

int CheckSessionHandle(int handle) {
  if (g_libraryState != kSlotInUse || !IsSessionIndex(handle)) return -9;
  return g_sessions[handle].state == kSlotInUse ? 0 : -9;
}

int CheckEnvHandle(int handle, int environment) {
  if (!IsEnvIndex(environment)) return -9;
  const MupaExecEnv& env = g_execEnvs[environment];
  return env.state == kSlotInUse && env.owner == handle ? 0 : -9;
}

int CheckDictHandle(int handle, int dictionary) {
  if (!IsDictIndex(dictionary)) {
    PushErrorCode(kErrBadArgument);
    return -9;
  }
  const MupaPatternDict& dict = g_patternDicts[dictionary];
  if (dict.state != kSlotInUse || dict.owner != handle) {
    PushErrorCode(kErrDictNotOwned);
    return -9;
  }
  return 0;
}

int IsDictRegistered(int environment, int dictionary) {
  return g_execEnvs[environment].dictFlags[dictionary] == 1 ? 0 : -9;
}

int IsDictInUse(int dictionary) {
  for (uint16_t flag : g_patternDicts[dictionary].envFlags) {
    if (flag == 1) return -9;
  }
  return 0;
}

uint16_t FindEnvDictionary(int handle, int environment) {
  const MupaExecEnv& env = g_execEnvs[environment];
  for (int d = 0; d < kMaxDicts; ++d) {
    if (env.dictFlags[d] != 1) continue;
    const MupaPatternDict& dict = g_patternDicts[d];
    const bool usable = dict.state == kSlotInUse && dict.envFlags[environment] == 1 &&
                        dict.owner == handle;
    return usable ? static_cast<uint16_t>(d) : kNoSlot;
  }
  return kNoSlot;
}

DictBlock* GetDictData(int dictionary) { return g_patternDicts[dictionary].data; }

uint16_t FindFreeSessionSlot() { return FindFreeSlot(g_sessions); }
uint16_t FindFreeEnvSlot() { return FindFreeSlot(g_execEnvs); }
uint16_t FindFreeDictSlot() { return FindFreeSlot(g_patternDicts); }

int AnySessionActive() {
  for (const MupaSession& session : g_sessions) {
    if (session.state == kSlotInUse) return -9;
  }
  return 0;
}

void SelectSessionWorkArea(int handle) { g_currentWorkArea = g_sessions[handle].workArea; }

void FillEnvSlot(int environment, int handle) {
  MupaExecEnv& env = g_execEnvs[environment];
  env.state = kSlotInUse;
  env.owner = static_cast<uint16_t>(handle);
  env.mode = kExecEnvMode;
  env.count = 0;
}

void ClearEnvSlot(int environment) {
  MupaExecEnv& env = g_execEnvs[environment];
  env.state = kSlotFree;
  env.owner = kSlotFree;
  env.mode = 0;
  env.count = 0;
  for (uint16_t& flag : env.dictFlags) flag = kSlotFree;
}

void FillDictSlot(int dictionary, int handle, uint32_t offeredTypes, const char* name,
                  DictBlock* data) {
  MupaPatternDict& dict = g_patternDicts[dictionary];
  dict.state = kSlotInUse;
  dict.owner = static_cast<uint16_t>(handle);
  dict.offeredTypes = offeredTypes;
  std::memcpy(dict.name, name, kDictNameBytes);
  dict.data = data;
}

void ClearDictSlot(int dictionary) {
  MupaPatternDict& dict = g_patternDicts[dictionary];
  dict.state = kSlotFree;
  for (uint16_t& flag : dict.envFlags) flag = kSlotFree;
  dict.owner = kSlotFree;
  dict.offeredTypes = 0;
  if (dict.name != nullptr) std::memset(dict.name, 0, kDictNameBytes);
  ::operator delete(dict.data, std::nothrow);
  dict.data = nullptr;
}

int16_t EndExport(int handle, int16_t result) {
  if (GetErrorCount() > 0) SaveHandleErrors(handle);
  return result;
}

// Does not clear the error stack: codes of an earlier call stay and reach the
// new handle's buffer when its work area cannot be had.
MUPA_API int16_t MUPA_CALL MupaBegin(void) {
  if (g_libraryState != kSlotInUse && InitialiseLibrary() != 0) return -10;
  const uint16_t handle = FindFreeSessionSlot();
  if (handle == kNoSlot) return -10;
  MupaSession& session = g_sessions[handle];
  session.state = kSlotInUse;
  session.workArea = new (std::nothrow) SessionWorkArea;
  if (session.workArea == nullptr) {
    PushErrorCode(kErrNoMemory);
    SaveHandleErrors(handle);
    session.state = kSlotFree;
    return -10;
  }
  return static_cast<int16_t>(handle);
}

MUPA_API int16_t MUPA_CALL MupaEnd(int16_t handle) {
  ClearErrorStack();
  if (CheckSessionHandle(handle) != 0) return -10;
  if (OwnsAnyEnv(handle)) return Fail(handle, kErrEnvOpenAtEnd, -9);
  if (OwnsAnyDict(handle)) return Fail(handle, kErrDictLoadedAtEnd, -9);
  MupaSession& session = g_sessions[handle];
  session.state = kSlotFree;
  if (g_currentWorkArea == session.workArea) g_currentWorkArea = nullptr;
  delete session.workArea;
  session.workArea = nullptr;
  if (AnySessionActive() == 0) UninitialiseLibrary();
  return 0;
}

MUPA_API int16_t MUPA_CALL MupaOpenExecEnv(int16_t handle, uint16_t mode) {
  ClearErrorStack();
  if (CheckSessionHandle(handle) != 0) return -10;
  if (mode != kExecEnvMode) return Fail(handle, kErrBadArgument, -10);
  const uint16_t environment = FindFreeEnvSlot();
  if (environment == kNoSlot) return Fail(handle, kErrNoFreeEnv, -10);
  FillEnvSlot(environment, handle);
  return static_cast<int16_t>(environment);
}

MUPA_API int16_t MUPA_CALL MupaCloseExecEnv(int16_t handle, int16_t environment) {
  ClearErrorStack();
  if (CheckSessionHandle(handle) != 0) return -10;
  if (CheckEnvHandle(handle, environment) != 0) return Fail(handle, kErrBadArgument, -9);
  MupaExecEnv& env = g_execEnvs[environment];
  for (int d = 0; d < kMaxDicts; ++d) {
    if (env.dictFlags[d] != 1) continue;
    g_patternDicts[d].envFlags[environment] = kSlotFree;
    --env.count;
    env.dictFlags[d] = kSlotFree;
  }
  ClearEnvSlot(environment);
  return 0;
}

MUPA_API int16_t MUPA_CALL MupaRegisterPatternDict(int16_t handle, int16_t environment,
                                                   int16_t dictionary) {
  if (const int16_t refused = BeginRegistrationCall(handle, environment, dictionary)) {
    return refused;
  }
  if (IsDictRegistered(environment, dictionary) == 0) {
    return Fail(handle, kErrDictRegistered, -9);
  }
  MupaExecEnv& env = g_execEnvs[environment];
  ++env.count;
  env.dictFlags[dictionary] = 1;
  g_patternDicts[dictionary].envFlags[environment] = 1;
  return 0;
}

MUPA_API int16_t MUPA_CALL MupaCancelPatternDict(int16_t handle, int16_t environment,
                                                 int16_t dictionary) {
  if (const int16_t refused = BeginRegistrationCall(handle, environment, dictionary)) {
    return refused;
  }
  if (IsDictRegistered(environment, dictionary) != 0) {
    return Fail(handle, kErrNoDictInEnv, -9);
  }
  MupaExecEnv& env = g_execEnvs[environment];
  g_patternDicts[dictionary].envFlags[environment] = kSlotFree;
  --env.count;
  env.dictFlags[dictionary] = kSlotFree;
  return 0;
}
