// Shared pieces of the screen engine's Windows tests: a 32-bit memory
// bitmap to paint into and read pixels from, a test window that records the
// private messages it receives, and an engine reset between tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "screen/screen.h"
#include "tests/support/memory_canvas.h"

// Colours the painting tests look for.
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kLightGrey = RGB(192, 192, 192);  // LTGRAY_BRUSH
constexpr COLORREF kEdgeGrey = RGB(100, 100, 100);   // dark side of 3D edges

// The display the tests lay windows out on: 1024 wide, clamp height 740,
// placing height 760, caption 20, scroll bars 16.
ScreenMetrics TestMetrics();

// One private message as a test window received it.
struct ReceivedMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const ReceivedMessage& o) const {
    return message == o.message && wParam == o.wParam && lParam == o.lParam;
  }
};

// Top-level windows of the class "ScreenTest": they record every message
// from 1125 on and paint their slot's page on WM_PAINT.
HWND CreateTestWindow(const char* title = "");
// A recording window of another class name (registered on first use).
HWND CreateTestWindowOfClass(const char* className);
const std::vector<ReceivedMessage>& MessagesOf(HWND window);
void ClearMessages(HWND window);
// While set, the window refuses screen opens when it receives 1134.
void SetRefuseOpens(HWND window, bool refuse);
// What the window answers a private message from now on (0 unless set).
void SetMessageAnswer(HWND window, UINT message, LRESULT answer);

// Resets the engine with the test display metrics and a recording main
// window.
class ScreenEngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Closes every open slot and destroys the windows made by the test.
  void CloseAll();
  HWND NewWindow(const char* title = "");
  HWND NewWindowOfClass(const char* className);
  HWND mainWindow() const { return main_; }

 private:
  HWND main_ = nullptr;
  std::vector<HWND> windows_;
};

// Adds a plain item with the usual defaults; returns its number.
int AddItem(const char* name, char kind, int column, int row, int width, int length,
            int titleStyle = 5, const char* caption = "", const char* choices = "",
            char edit = 'L', int protectByte = 0);

// Input as the user gives it: messages posted to a window and the queue run
// until it is empty.
void PumpMessages();
// Key-down (with its character for Enter, Tab, Esc and Backspace) and
// key-up of one key.
void PressKey(HWND target, WPARAM key);
// One WM_CHAR per byte of `text` (Shift-JIS bytes included).
void TypeText(HWND target, const char* text);
// The state GetKeyState reports for Shift and Ctrl.
void HoldModifiers(bool shift, bool ctrl);
// Presses the left button at (x, y) of the client area (and releases it).
void ClickAt(HWND window, int x, int y, bool release = true);
// Moves the mouse to (x, y) of the client area.
void MoveMouseTo(HWND window, int x, int y);
// The text of the slot's edit control.
std::string EditText(int slot);
// The 1125 commands a window received.
std::vector<ReceivedMessage> CommandsOf(HWND window);
