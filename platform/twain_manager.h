// Scanners reached through the TWAIN source manager: TWAINDSM.dll where it
// is installed, else twain_32.dll, loaded when first needed. The manager is
// opened once a process at a time under the program's identity, which
// IKScanInitialize gives; the scanner calls that run outside a session open
// it for their own length.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/twain_protocol.h"

// The identity the program names itself by, kept for every later opening.
void SetTwainApplication(const char* product, const char* maker, const char* family,
                         const char* version);

// An opening of the manager; the manager closes with the last one. ok() is
// false when no manager is installed or it refused to open.
class TwainManager {
 public:
  TwainManager();
  ~TwainManager();
  TwainManager(const TwainManager&) = delete;
  TwainManager& operator=(const TwainManager&) = delete;

  bool ok() const { return ok_; }
  // The window the manager and the sources post their events to.
  HWND window() const;
  // One operation; `source` null talks to the manager.
  TwUInt16 Call(TwIdentity* source, TwUInt32 group, TwUInt16 data, TwUInt16 message,
                void* payload) const;
  TwUInt16 ConditionCode(TwIdentity* source) const;
  // The product names of the installed sources.
  std::vector<std::string> SourceNames() const;

 private:
  bool ok_ = false;
};

// A source opened by its product name (empty: the manager's default) for
// the life of the object.
class TwainSource {
 public:
  TwainSource(const TwainManager& manager, const std::string& name);
  ~TwainSource();
  TwainSource(const TwainSource&) = delete;
  TwainSource& operator=(const TwainSource&) = delete;

  bool ok() const { return open_; }
  TwIdentity* identity() { return &identity_; }
  TwUInt16 Call(TwUInt32 group, TwUInt16 data, TwUInt16 message, void* payload) {
    return manager_.Call(&identity_, group, data, message, payload);
  }
  TwUInt16 ConditionCode() { return manager_.ConditionCode(&identity_); }

  // Values of a capability as numbers: `values` (all of an enumeration,
  // lowest and highest of a range, the one value), the current one and a
  // range's step. Returns the container type, 0 when the source does not
  // answer.
  int GetCapability(TwUInt16 cap, std::vector<double>* values, double* current,
                    double* step);
  // Sets a capability to one value; true when the source took it (perhaps
  // rounded).
  bool SetCapability(TwUInt16 cap, TwUInt16 itemType, TwUInt32 item);

 private:
  const TwainManager& manager_;
  TwIdentity identity_ = {};
  bool open_ = false;
};
