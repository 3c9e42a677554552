// The program as the tests start it: an installation folder of its own
// (the shipped texts, settings, bitmaps and the screen database loaded from
// the shipped screens), made current, and start-up run in the test's
// process; the tests post commands to the main window and look at what
// opens. Message boxes and dialogs go through the test hooks.
#pragma once

#include <windows.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "program/program.h"
#include "tests/support/hook_recorder.h"

// Deletes a folder with everything in it (nothing when it is not there).
void RemoveTree(const std::string& folder);

// Copies what a fresh installation holds into `folder` (made anew) and
// loads the shipped screens into its screen database. The folder's OCR.INI
// names it as the database folder. Returns false after a test failure.
bool MakeInstallation(const std::string& folder);

// A folder for an installation deep below its drive, wherever the tests
// run from: more than 200 bytes long, in folders whose names hold a "."
// and the characters 表 and ソ (their second byte is "\\").
std::string DeepInstallationFolder();

// Runs the messages the program has posted; true when among them was the
// quit message that ends the program's message loop.
bool RunPostedMessages();

// A sheet definition in the installation's "teigi" folder: MUPA_PAP with
// one paper row (its output table, output database path and password
// setting), MUPA_IDX and MUPA_FLD, and the survey tables.
struct SampleDefinition {
  std::string name = "SAMPLE";
  std::string outputTable = "KAITO";
  std::string outputPath;       // データベースＪ; empty: the default
  std::string serverDatabase;   // データベースＳ: the output database on the server
  int passwordSetting = 1;
  int preprint = 0;             // プレプリント: 1 prints identification numbers
  bool keyItem = true;          // MUPA_IDX names the key item ＩＤ
  bool keyOnSheet = false;      // the key item ＩＤ is a write-in field of side "0001"
  int compensationMode = 2;     // LINESTYLE: registration marks 0 to 3
};
bool MakeDefinition(const std::string& installation, const SampleDefinition& definition);

// The database layer of the test's process on an installation (its OCR.INI
// and table descriptions), for work done while the program is not running.
class DbSession {
 public:
  explicit DbSession(const std::string& installation);
  ~DbSession();
  DbSession(const DbSession&) = delete;
  DbSession& operator=(const DbSession&) = delete;

 private:
  std::string previous_;
};

// The window slot showing the screen of `code`, or -1.
int SlotOfCode(const char* code);

class ProgramTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Where the installation is made: a folder of the test program's own.
  virtual std::string InstallationFolder() const;

  // Starts the program in the installation; a test may change the
  // installation first (Start is then called by the test).
  StartOutcome Start(const char* commandLine = "");
  // Sends a command to the main window as a button of the menu does and
  // runs what it posted; true when the program's loop would end.
  bool Command(int code);
  // The slot of the screen numbered `number`, or -1.
  int SlotOfNumber(int number) const;
  // Classes of the program's visible windows.
  std::set<std::string> VisibleWindows() const;
  // Screen codes of the open window slots, with the class of their window.
  std::vector<std::string> OpenScreens() const;
  std::string folder() const { return folder_; }
  std::vector<std::string> Boxes() const { return boxes_->texts(); }
  MessageBoxRecorder& boxes() { return *boxes_; }
  void ForgetBoxes();
  // Makes a sample definition and chooses it as the current one (through
  // "ocrpath.dat", as the menu's file choice leaves it).
  void ChooseSample(const SampleDefinition& definition = SampleDefinition());
  // Makes the sheet designer part of the installation or leaves it out
  // (OCR.INI CTREDT 1 or 0; shipped: 1), before the program starts.
  void SetSheetDesigner(bool on);
  // Writes a file of the installation (relative name).
  void WriteInstallationFile(const std::string& name, const std::string& text);
  std::string ReadInstallationFile(const std::string& name) const;
  // The sample's survey: one question whose answers are in column "Q1" of
  // the output table KAITO, its description, and one stored answer.
  void AddQuestion();
  void DescribeAnswers();
  void StoreAnswer();
  // The sample chosen with its question, its answers described and one
  // stored, so that the tally menu opens on it.
  void MakeAnsweredSample(const SampleDefinition& definition = SampleDefinition());
  // 調査項目 of the sample, in a table slot of the test's own.
  int OpenItemTable();
  // 調査項目's column of a question as stored, "(no row)" without one.
  std::string Stored(const char* code, const char* column);

  // The user at the keyboard and the mouse: a key's down goes to the
  // window that has the focus, its up to the one that has it then (the
  // down may have moved it); typed text comes as the characters of its
  // bytes; a click is a down and an up at a point of a window's client
  // area. Each runs what it posted.
  void PressKeyInFocus(UINT key);
  void TypeInFocus(const std::string& text);
  void ClickOn(HWND window, POINT point);
  // Clicks line `line` (from 1) of the pop-up menu that is open.
  static void ChoosePopupLine(int line);
  // The text a field of a slot holds.
  static std::string FieldText(int slot, const char* name);
  // The centre of a field in its window's client area.
  static POINT CentreOf(int slot, const char* name);
  // The centre of box `row` (from 0) of a radio or check group with a
  // caption, below the caption.
  static POINT ChoiceCentre(int slot, const char* name, int row);
  // Saves a picture of the window as "<name>.png" in the folder that
  // SHEETDESK_PICTURES names; nothing without it.
  static void SavePictureOnRequest(HWND window, const char* name);
  // Answers the login window, when it asks, as a user does.
  void LogInIfAsked();
  // The slot of a window's screen, or -1.
  static int SlotOfWindow(HWND window);
  // Presses and releases the left button on the middle of an item of a
  // window's screen, as the operator's mouse does.
  static void ClickItem(HWND window, const char* name);

  bool started_ = false;

 private:
  std::string folder_;
  std::string previousFolder_;
  std::unique_ptr<MessageBoxRecorder> boxes_;
};

// A test that begins with the program started and its menu open.
class ProgramAtMenuTest : public ProgramTest {
 protected:
  void SetUp() override;
};
