#include "tests/program/program_fixture.h"

#include <cstring>
#include <functional>

#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/spc_file.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tests/support/test_pictures.h"
#include "tests/support/window_picture.h"

namespace {

constexpr char kTestFolderName[] = "shell_program_test";
// Room is left below it for the installation's own files within MAX_PATH.
constexpr size_t kDeepInstallationBytes = 205;

void CopyMatching(const std::string& from, const std::string& to, const char* pattern) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((from + "\\" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    CopyFileA((from + "\\" + found.cFileName).c_str(), (to + "\\" + found.cFileName).c_str(), FALSE);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

// The shipped OCR.INI with the installation as the folder of its databases.
std::string InstallationOcrIni(const std::string& shipped, const std::string& folder) {
  std::string text;
  size_t at = 0;
  while (at < shipped.size()) {
    size_t end = shipped.find('\n', at);
    end = end == std::string::npos ? shipped.size() : end + 1;
    const std::string line = shipped.substr(at, end - at);
    if (line.compare(0, 7, "DBPATH ") != 0) text += line;
    at = end;
  }
  return text + "DBPATH " + folder + "\r\n";
}

// A table of the definition made from its description and given one row.
bool AddRow(const std::string& folder, const std::string& database, const char* table,
            const std::vector<std::pair<const char*, std::string>>& values) {
  const int t = db_open(folder.c_str(), database.c_str(), table, kDbKindFile, "MUPADATA", table, "");
  if (t < 0) return false;
  db_clear(t);
  for (const auto& [column, value] : values) SetColumnFromText(t, column, value.c_str());
  const int rc = db_add(t);
  db_close(t);
  return rc == 0;
}

}  // namespace

std::string DeepInstallationFolder() {
  // On the host's own drive, so that the host's path of a database there is
  // no longer than its Windows path; one for each build of the tests.
  std::string folder = "Z:\\tmp\\sheetdesk.deep." +
                       std::to_string(std::hash<std::string>()(GetProgramFolder()) % 100000);
  while (folder.size() < kDeepInstallationBytes) folder += "\\表ソの深いフォルダ";
  return folder;
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

bool MakeInstallation(const std::string& folder) {
  RemoveTree(folder);
  if (EnsureDirectoryPath(folder.c_str()) != 0) {
    ADD_FAILURE() << "cannot make " << folder;
    return false;
  }
  const std::string program = GetProgramFolder();
  for (const char* pattern : {"*.SPC", "*.BMP", "*.wav", "USER.INI", "西暦和暦.txt"}) {
    CopyMatching(program, folder, pattern);
  }
  std::string ini;
  if (!ReadWholeFile((program + "\\OCR.INI").c_str(), ini) ||
      !WriteBytes(folder + "\\OCR.INI", InstallationOcrIni(ini, folder))) {
    ADD_FAILURE() << "no OCR.INI beside the tests";
    return false;
  }
  // The screen database, loaded as setting up the program loads it.
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  SetCurrentDirectoryA(folder.c_str());
  db_init();
  SetSpecFolder(folder.c_str());
  SelectScreenTableSpec();
  const int loaded = LoadScreenTexts((program + "\\screens").c_str(), "", kScreenDatabase);
  db_term();
  SetCurrentDirectoryA(previous);
  if (loaded < 1) {
    ADD_FAILURE() << "the shipped screens did not load: " << loaded;
    return false;
  }
  return true;
}

bool RunPostedMessages() {
  MSG msg;
  bool quit = false;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return quit;
}

bool MakeDefinition(const std::string& installation, const SampleDefinition& d) {
  const std::string teigi = installation + "\\teigi";
  CreateDirectoryA(teigi.c_str(), nullptr);
  if (!AddRow(teigi, d.name, "MUPA_PAP",
              {{"ＯＣＲコード", "0001"},
               {"ＯＣＲ用紙名", "アンケート"},
               {"テーブル", d.outputTable},
               {"データベースＪ", d.outputPath},
               {"データベースＳ", d.serverDatabase},
               {"パスワード設定", std::to_string(d.passwordSetting)},
               {"プレプリント", std::to_string(d.preprint)},
               {"LINESTYLE", std::to_string(d.compensationMode)},
               {"用紙サイズ", "Ａ４"},
               {"用紙方向", "縦"}})) {
    return false;
  }
  for (const char* table : {"MUPA_FLD", "調査定義", "調査項目"}) {
    const char* spec = table[0] == 'M' ? "MUPADATA" : table;
    if (CreateTableFromSpec(teigi.c_str(), d.name.c_str(), table, kDbKindFile, spec, table) != 0) return false;
  }
  if (d.keyOnSheet && !AddRow(teigi, d.name, "MUPA_FLD",
                              {{"ＯＣＲコード", "0001"}, {"領域コード", "0001"}, {"領域名", "ＩＤ"},
                               {"文字数", "4"}, {"横幅", "5"}, {"高さ", "5"}, {"Ｘ座標", "100"},
                               {"Ｙ座標", "100"}, {"編集", "左詰"}, {"タイプ", "一括"}})) {
    return false;
  }
  return !d.keyItem || AddRow(teigi, d.name, "MUPA_IDX",
                {{"ＯＣＲコード", "0001"}, {"ＩＤＸコード", "01"}, {"項目名", "ＩＤ"}, {"タイトル", "ＩＤ"}});
}

DbSession::DbSession(const std::string& installation) {
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  previous_ = current;
  SetCurrentDirectoryA(installation.c_str());
  db_init();
  SetSpecFolder(installation.c_str());
}

DbSession::~DbSession() {
  db_term();
  SetCurrentDirectoryA(previous_.c_str());
}

int SlotOfCode(const char* code) {
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).state != kFreeSlotState && Slot(s).screenCode == code) return s;
  }
  return -1;
}

void ProgramTest::ChooseSample(const SampleDefinition& definition) {
  ASSERT_TRUE(MakeDefinition(folder_, definition));
  SetCurrentDefinition(folder_ + "\\teigi", definition.name);
  ASSERT_EQ(WriteDefinitionPath(), 0);
}

std::string ProgramTest::InstallationFolder() const {
  return GetProgramFolder() + "\\" + kTestFolderName;
}

void ProgramTest::SetUp() {
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  previousFolder_ = current;
  folder_ = InstallationFolder();
  boxes_ = std::make_unique<MessageBoxRecorder>(IDYES);
  ASSERT_TRUE(MakeInstallation(folder_));
}

void ProgramTest::TearDown() {
  if (started_) {
    if (g_program.mainWindow && IsWindow(g_program.mainWindow)) {
      SendMessageA(g_program.mainWindow, kMsgCloseWindow, 0, 0);
    }
    RunPostedMessages();
    EndProgram();
    started_ = false;
  }
  SetCurrentDirectoryA(previousFolder_.c_str());
  boxes_.reset();
}

StartOutcome ProgramTest::Start(const char* commandLine) {
  SetCurrentDirectoryA(folder_.c_str());
  const StartOutcome outcome = StartProgram(GetModuleHandleA(nullptr), nullptr, commandLine);
  started_ = outcome != StartOutcome::kNotStarted;
  RunPostedMessages();
  return outcome;
}

bool ProgramTest::Command(int code) {
  SendMessageA(g_program.mainWindow, kMsgScreenCommand, code, 0);
  return RunPostedMessages();
}

int ProgramTest::SlotOfNumber(int number) const {
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).state == kFreeSlotState) continue;
    if (Slot(s).screenNumber == number || Slot(s).windowCode == number) return s;
  }
  return -1;
}

namespace {

BOOL CALLBACK CollectVisible(HWND window, LPARAM data) {
  auto* classes = reinterpret_cast<std::set<std::string>*>(data);
  if (IsWindowVisible(window)) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    classes->insert(name);
    EnumChildWindows(window, CollectVisible, data);
  }
  return TRUE;
}

}  // namespace

std::set<std::string> ProgramTest::VisibleWindows() const {
  std::set<std::string> classes;
  EnumThreadWindows(GetCurrentThreadId(), CollectVisible, reinterpret_cast<LPARAM>(&classes));
  // The edit controls and the static boxes of the screens belong to them.
  classes.erase("Edit");
  classes.erase("Static");
  return classes;
}

std::vector<std::string> ProgramTest::OpenScreens() const {
  std::vector<std::string> screens;
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).state == kFreeSlotState) continue;
    char name[64] = "";
    if (Slot(s).window) GetClassNameA(Slot(s).window, name, sizeof name);
    screens.push_back(Slot(s).screenCode + "@" + name);
  }
  return screens;
}

void ProgramTest::ForgetBoxes() {
  boxes_.reset();
  boxes_ = std::make_unique<MessageBoxRecorder>(IDYES);
}

void ProgramTest::SetSheetDesigner(bool on) {
  std::string ini = ReadInstallationFile("OCR.INI");
  const size_t at = ini.find("\nCTREDT ");
  ASSERT_NE(at, std::string::npos);
  ini[at + 8] = on ? '1' : '0';
  WriteInstallationFile("OCR.INI", ini);
}

void ProgramTest::WriteInstallationFile(const std::string& name, const std::string& text) {
  ASSERT_TRUE(WriteBytes(folder_ + "\\" + name, text)) << name;
}

std::string ProgramTest::ReadInstallationFile(const std::string& name) const {
  std::string text;
  ReadWholeFile((folder_ + "\\" + name).c_str(), text);
  return text;
}

void ProgramTest::AddQuestion() {
  const int items =
      db_open((folder() + "\\teigi").c_str(), "SAMPLE", "調査項目", kDbKindFile, "調査項目", "調査項目", "");
  ASSERT_GE(items, 0);
  db_clear(items);
  SetColumnText(items, "質問コード", "001");
  SetColumnText(items, "項目名", "Q1");
  SetColumnText(items, "選択肢", "はい,いいえ");
  SetColumnText(items, "カウントデータ", "12");
  ASSERT_EQ(db_add(items), 0);
  db_close(items);
}

void ProgramTest::DescribeAnswers() {
  WriteInstallationFile("KAITO.spc", "KAITO\r\nFIELD\r\n\"ID\",\"char*\",\"ID\",10,0,0,\"\",10\r\n"
                                     "\"Q1\",\"char*\",\"Q1\",4,0,0,\"\",4\r\n"
                                     "INDEX\r\n\"ID\",\"\xe2\x96\xb3\"\r\nEND\r\n");
}

void ProgramTest::StoreAnswer() {
  const int t =
      db_open(g_output.folder.c_str(), g_output.database.c_str(), "KAITO", kDbKindFile, "KAITO", "KAITO", "");
  ASSERT_GE(t, 0) << testing::PrintToString(Boxes());
  db_clear(t);
  SetColumnText(t, "ID", "0001");
  SetColumnText(t, "Q1", "1");
  ASSERT_EQ(db_add(t), 0);
  db_close(t);
}

void ProgramTest::MakeAnsweredSample(const SampleDefinition& definition) {
  ChooseSample(definition);
  AddQuestion();
  DescribeAnswers();
  ASSERT_EQ(LoadOutputDatabaseSettings(), 0) << testing::PrintToString(Boxes());
  StoreAnswer();
}

void ProgramTest::PressKeyInFocus(UINT key) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
  PostMessageA(GetFocus(), WM_KEYDOWN, key, scan | 1);
  RunPostedMessages();
  PostMessageA(GetFocus(), WM_KEYUP, key, scan | 1 | (1u << 30) | (1u << 31));
  RunPostedMessages();
}

void ProgramTest::TypeInFocus(const std::string& text) {
  for (const char c : text) PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 1);
  RunPostedMessages();
}

void ProgramTest::ClickOn(HWND window, POINT point) {
  const LPARAM at = MAKELPARAM(point.x, point.y);
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  RunPostedMessages();
  PostMessageA(window, WM_LBUTTONUP, 0, at);
  RunPostedMessages();
}

void ProgramTest::ChoosePopupLine(int line) {
  const HWND menu = g_screen.popupWindow;
  ASSERT_TRUE(menu && IsWindowVisible(menu));
  UpdateWindow(menu);
  const LPARAM row = MAKELPARAM(10, 2 + (line - 1) * 24 + 12);
  PostMessageA(menu, WM_LBUTTONDOWN, MK_LBUTTON, row);
  PostMessageA(menu, WM_LBUTTONUP, 0, row);
  RunPostedMessages();
}

std::string ProgramTest::FieldText(int slot, const char* name) {
  char value[1024] = "";
  GetItemRawValue(slot, name, value);
  return value;
}

POINT ProgramTest::CentreOf(int slot, const char* name) {
  const ScreenItem& item = Item(ResolveFieldRef(slot, name));
  return POINT{item.pixelX + item.pixelWidth / 2 - Slot(slot).scrollX,
               item.pixelY + item.pixelHeight / 2 - Slot(slot).scrollY};
}

POINT ProgramTest::ChoiceCentre(int slot, const char* name, int row) {
  const ScreenItem& item = Item(ResolveFieldRef(slot, name));
  const int pitch = item.pixelHeight / (item.count + 2);
  return POINT{
      item.pixelX + 2 * item.charSize + 8 - Slot(slot).scrollX,
      item.pixelY + pitch / 2 + 4 + pitch * (row + 1) + item.charSize - Slot(slot).scrollY};
}

void ProgramTest::SavePictureOnRequest(HWND window, const char* name) {
  char folder[MAX_PATH] = "";
  if (GetEnvironmentVariableA("SHEETDESK_PICTURES", folder, MAX_PATH) == 0) return;
  SaveWindowPicture(window, std::string(folder) + "\\" + name + ".png");
}

void ProgramTest::LogInIfAsked() {
  const int login = SlotOfNumber(kLoginScreen);
  if (login < 0) return;
  ClickOn(FindWindowA("Pas", nullptr), CentreOf(login, "パスワード"));
  TypeInFocus("pw");
  PressKeyInFocus(VK_RETURN);
}

int ProgramTest::SlotOfWindow(HWND window) {
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).state != kFreeSlotState && Slot(s).window == window) return s;
  }
  return -1;
}

void ProgramTest::ClickItem(HWND window, const char* name) {
  const int slot = SlotOfWindow(window);
  ASSERT_GE(slot, 0) << name;
  const int item = ResolveFieldRef(slot, name);
  ASSERT_GE(item, 0) << name;
  const POINT centre = CentreOf(slot, name);
  const LPARAM at = MAKELPARAM(centre.x, centre.y);
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(window, WM_LBUTTONUP, 0, at);
  RunPostedMessages();
}

int ProgramTest::OpenItemTable() {
  return db_open((folder() + "\\teigi").c_str(), "SAMPLE", "調査項目", kDbKindFile, "調査項目", "調査項目", "");
}

std::string ProgramTest::Stored(const char* code, const char* column) {
  const int t = OpenItemTable();
  if (t < 0) return "(no table)";
  const std::string text = db_search(t, code, "質問コード") == 0 ? GetColumnText(t, column) : "(no row)";
  db_close(t);
  return text;
}

void ProgramAtMenuTest::SetUp() {
  ProgramTest::SetUp();
  if (HasFatalFailure()) return;
  ASSERT_EQ(Start(), StartOutcome::kMenuOpen) << testing::PrintToString(Boxes());
}
