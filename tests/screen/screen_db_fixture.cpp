#include "tests/screen/screen_db_fixture.h"

#include <cstdlib>

#include "foundation/db.h"
#include "foundation/imaging.h"
#include "screen/screen.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/required_service.h"
#include "tests/support/test_pictures.h"

namespace {

int OpenDataSet(const char* folder, const char* database, const char* table, int keyNumber) {
  return OpenScreenSlot(folder, database, table, -1, "", "", keyNumber);
}

// The program's Shift-JIS as UTF-8, the form of the screen texts.
std::string Utf8(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  wide.resize(MultiByteToWideChar(932, 0, text.c_str(), static_cast<int>(text.size()), wide.data(),
                                  static_cast<int>(wide.size())));
  std::string out(wide.size() * 3 + 1, '\0');
  out.resize(WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), out.data(),
                                 static_cast<int>(out.size()), nullptr, nullptr));
  return out;
}

}  // namespace

void ScreenDbTest::SetUp() {
  boxes_ = std::make_unique<MessageBoxRecorder>(IDYES);
  main_ = CreateTestWindow("main");
  InitScreenEngine(main_);
  g_screen.metrics = TestMetrics();
  ReadOcrIni();
  BindImagingLibrary();
  g_screenDefs = ScreenDefinitionState();
  g_list = ListState();
  if (GetParam() == kDbKindServer) {
    const char* pg = std::getenv("SHEETDESK_PG");
    if (!pg || !*pg) SKIP_WITHOUT_SERVICE("SHEETDESK_PG is not set: no PostgreSQL server for this run");
    login_ = {ConnectionValue(pg, "Server") + ":" + ConnectionValue(pg, "Port"), ConnectionValue(pg, "Uid"),
              ConnectionValue(pg, "Pwd")};
  }
  folder_ = TestFolder();
  UseFixtureDatabase(GetParam(), folder_, login_);
  if (GetParam() == kDbKindFile) DeleteFileA((folder_ + "\\" + kFixtureDb + ".mdb").c_str());
  ASSERT_EQ(PrepareFixtureTables(), 0) << Boxes();
  ASSERT_EQ(LoadScreenTexts(kFixtureTextFolder, "", kFixtureDb), 6) << Boxes();
  RegisterWindows();
  ForgetBoxes();
}

void ScreenDbTest::TearDown() {
  // The windows close their screens as the program closes them; what is
  // left (forms, the main window's menu) is closed here.
  for (int s = kWindowSlotCount - 1; s >= 0; --s) {
    if (Slot(s).state == kFreeSlotState) continue;
    if (Slot(s).window && Slot(s).window != main_) SendMessageA(Slot(s).window, kMsgCloseWindow, 0, 0);
    CloseSlot(s);
  }
  CloseScreenDefSlots(0);
  for (HWND window : windows_) DestroyWindow(window);
  ForgetWorkWindows();
  SetDataSetOpener(WorkWindow::kCard, nullptr);
  SetDataSetOpener(WorkWindow::kSet, nullptr);
  for (int t = 1; t <= kMaxTableSlots; ++t) {
    if (GetSlotConnState(t) > 1) db_close(t);
  }
  if (main_) DestroyWindow(main_);
  UnbindImagingLibrary();
}

void ScreenDbTest::ReadSettings(bool designer) {
  char current[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, current);
  if (!designer) {
    ASSERT_TRUE(WriteBytes(folder_ + "\\OCR.INI", "SQL MDB\r\nCTREDT 0\r\n"));
    SetCurrentDirectoryA(folder_.c_str());
  }
  ReadOcrIni();
  SetCurrentDirectoryA(current);
  UseFixtureDatabase(GetParam(), folder_, login_);
}

std::string ScreenDbTest::Boxes() const {
  std::string all;
  for (const std::string& text : boxes_->texts()) all += text + "\n";
  return all;
}

void ScreenDbTest::ForgetBoxes() {
  boxes_.reset();
  boxes_ = std::make_unique<MessageBoxRecorder>(IDYES);
}

int ScreenDbTest::LoadTexts(const std::vector<std::pair<std::string, std::string>>& texts, const char* database) {
  const std::string folder = folder_ + "\\texts";
  CreateDirectoryA(folder.c_str(), nullptr);
  WIN32_FIND_DATAA found;
  const HANDLE old = FindFirstFileA((folder + "\\*.txt").c_str(), &found);
  if (old != INVALID_HANDLE_VALUE) {
    do {
      DeleteFileA((folder + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(old, &found));
    FindClose(old);
  }
  for (const auto& [name, text] : texts) WriteTextFile(folder + "\\" + name, Utf8(text));
  return LoadScreenTexts(folder.c_str(), "", database);
}

void ScreenDbTest::UseRecordingWorkWindows() {
  for (WorkWindow kind : {WorkWindow::kMenu, WorkWindow::kList, WorkWindow::kCard, WorkWindow::kSet}) {
    const HWND window = CreateTestWindowOfClass(WorkWindowClass(kind));
    SetWorkWindow(kind, window);
    windows_.push_back(window);
  }
  SetDataSetOpener(WorkWindow::kCard, OpenDataSet);
  SetDataSetOpener(WorkWindow::kSet, OpenDataSet);
}

void ScreenDbTest::CloseSlot(int s) {
  if (Slot(s).state == kFreeSlotState) return;
  CloseScreenDataSet(s);
  CloseScreenWindow(s, 0);
}

int ScreenDbTest::OpenedTableSlots() {
  int open = 0;
  for (int t = 1; t <= kMaxTableSlots; ++t) open += GetSlotConnState(t) > 1 ? 1 : 0;
  return open;
}

std::string ScreenDbTest::ValueOf(int slot, const char* name) {
  const int i = ResolveFieldRef(slot, name);
  return i < 0 ? "<none>" : Item(i).displayText;
}
