// The scanner of the imaging libraries: one sheet feeder whose pages are the
// image files of a folder, fed in name order and moved to a tray folder once
// fed. Set up by "SCANFEED.INI" in the program folder (see
// imaging_library.h); read afresh by every call, so an operator can refill
// the folder between runs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/imaging_library.h"

// The settings file's name in the program folder.
constexpr char kFeederSettingsFile[] = "SCANFEED.INI";

struct FeederSettings {
  std::string name;
  std::string folder;  // absolute
  std::string tray;    // absolute
};

// The installed feeder when `scanner` is empty or names it; false when no
// feeder is set up or the name is another.
bool FindFeeder(const char* scanner, FeederSettings* settings);

// Values of a capability of the feeder `scanner` names (empty: the installed
// one): `values` in order, `current` one of them. Returns the container
// type, 0 when there is no such feeder or the capability is not one of its.
int FeederCapability(const char* scanner, int capability, std::vector<int>* values,
                     int* current);

// One scan as either parameter block asks for it.
struct ScanRequest {
  HWND owner = nullptr;
  std::string scanner;
  int sides = kIkScanOneSided;
  int dropOutColor = kIkDropOutNone;
  int xResolution = 0;
  int yResolution = 0;
  int brightness = 5;
  bool brightnessGiven = false;  // the ImageKit-5 block has none: the scanner keeps its own
  bool blackAndWhite = false;
  bool showSettings = false;
};

// Feeds the pages to `callback` (see IKScanExec). Returns the pages
// delivered or a kIkScan... error.
int RunFeeder(const ScanRequest& request, IKScanPageProc callback);
