// Shared pieces of the input tests: an engine reset with the test window as
// owner and a fake input method.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "screen/screen.h"
#include "tests/screen/screen_fixture.h"
#include "tests/support/hook_recorder.h"

// An input method that every edit control has: one open flag per window,
// switched only through the engine.
class FakeInputMethod {
 public:
  FakeInputMethod();
  ~FakeInputMethod();
  FakeInputMethod(const FakeInputMethod&) = delete;
  FakeInputMethod& operator=(const FakeInputMethod&) = delete;
  bool IsOpen(HWND window) const;
  void Open(HWND window, bool open);
  int switches() const;       // times the engine changed a status
  int contextsTaken() const;  // contexts taken and not given back
};

// A screen window of the test's own with items added before opening.
class InputTest : public ScreenEngineTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Opens the items added so far in a new window; returns the slot.
  int OpenScreenOf(int inputMode = 1, int cursorMode = 1, int screenType = 0, int width = 500,
                   int height = 400);
  HWND window() const { return window_; }
  HWND edit() const { return Slot(slot_).editControl; }
  int slot() const { return slot_; }
  // The item of `name` in the open slot.
  int ItemNamed(const char* name) const { return ResolveFieldRef(slot_, name); }
  // The centre of an item in client coordinates.
  POINT CentreOf(int item) const;
  // The value the work windows read.
  std::string ValueOf(const char* name) const;

  MessageBoxRecorder boxes_;
  FakeInputMethod ime_;

 private:
  HWND window_ = nullptr;
  int slot_ = -1;
};
