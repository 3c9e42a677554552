// Scans and capabilities of the TWAIN scanners (see twain_manager.h).
#pragma once

#include <string>
#include <vector>

#include "platform/scan_feeder.h"

// Product names of the TWAIN sources installed.
std::vector<std::string> TwainScannerNames();

// Values of a capability of the TWAIN scanner `scanner` (empty: the
// manager's default), as FeederCapability gives them; `step` the step of a
// range. Returns the container type, 0 when there is no such scanner or it
// does not answer.
int TwainCapability(const char* scanner, int capability, std::vector<int>* values,
                     int* current, int* step);

// Scans from a TWAIN scanner as IKScanExec does. A run that ends part-way
// (a paper jam, a cancel on the scanner) keeps the pages handed over before
// and says why it ended in its result.
int RunTwainScan(const ScanRequest& request, IKScanPageProc callback);
