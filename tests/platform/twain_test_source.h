// The tests' own TWAIN data source (twain_source/), built beside the tests
// as "sane.ds": installed where Wine's source manager looks for sources for
// the length of a suite, and set up by a settings file of the test's (see
// twain_source/test_source.cpp for its keys).
#pragma once

#include <string>

// The product name the source answers to.
constexpr char kTestSourceName[] = "Sheetdesk Test Scanner";

// Copies the source where the manager of a program of this width looks;
// false when it cannot.
bool InstallTestSource();
// The manager keeps the source loaded: it is moved out of the manager's
// way, so later tests see no TWAIN scanner.
void RemoveTestSource();

// The settings of one test: the sheets the source feeds from `sheets`, its
// log `log`, the file `settings` named to the source by the environment.
struct TestSourceSetup {
  std::string settings;
  std::string sheets;
  std::string log;

  // Writes the settings with `extra` lines ("JamAt=3\r\n", ...) and starts
  // a fresh log.
  void Configure(const std::string& extra) const;
  // What the source was asked to do, a line each.
  std::string Log() const;
};
