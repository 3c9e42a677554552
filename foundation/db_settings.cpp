// Settings of the database layer and the process's ODBC environment: what
// "OCR.INI" says, what the login and server screens change later, and the
// start and end of the layer.
#include <cstring>

#include "foundation/bounded_format.h"
#include "foundation/db_internal.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"

OcrIniSettings g_ocrIni;
SQLHENV g_dbEnvironment = SQL_NULL_HENV;

namespace {

char g_specFolder[MAX_PATH] = "";
int g_fileDbWait = 30000;
char g_namePairFrom[kIniTextSize] = "";
char g_namePairTo[kIniTextSize] = "";

void CopyText(char* out, int size, const char* text) { FormatTextBounded(out, size, "%s", text); }

void ReportLongDbFolder(const char* folder) {
  ShowInfoMessage("", "データベースのフォルダ名が長すぎます。(%dバイトまで)\n“%s”", kIniPathSize - 1, folder);
}

}  // namespace

void db_init() {
  ReadOcrIni();
  if (!SQL_SUCCEEDED(SQLAllocEnv(&g_dbEnvironment))) {
    g_dbEnvironment = SQL_NULL_HENV;
    ShowInfoMessage("DATA-BASE", "SQLAllocEnv(&henv)");
  }
}

void db_term() {
  for (int slot = 1; slot <= kMaxTableSlots; ++slot) {
    const int state = g_tableSlots[slot].connState;
    if (state == kConnCreating) CloseSpecSlot(slot);
    if (state == kConnConnected || state == kConnSelected) db_disconnect(slot);
  }
  if (g_dbEnvironment != SQL_NULL_HENV) {
    if (!SQL_SUCCEEDED(SQLFreeEnv(g_dbEnvironment))) {
      ShowInfoMessage("DATA-BASE", "環境ハンドルを解放できません。");
    }
    g_dbEnvironment = SQL_NULL_HENV;
  }
  FreeDbBuffers();
}

int ReadOcrIni() {
  FreeDbBuffers();
  SetOcrIniDefaults(g_ocrIni);
  const int rc = ReadOcrIniFile("OCR.INI", GetProgramFolder().c_str(), g_ocrIni);
  if (g_ocrIni.dbFolderTooLong) ReportLongDbFolder(g_ocrIni.dbPath[0] ? g_ocrIni.dbPath : GetProgramFolder().c_str());
  return rc;
}


void FreeDbBuffers() {
  for (int slot = 0; slot <= kMaxTableSlots; ++slot) ResetSlot(slot);
  g_sqlBuffer.clear();
  g_sqlBuffer.shrink_to_fit();
}

const OcrIniSettings& GetOcrIniSettings() { return g_ocrIni; }

void SetDbLogin(const char* user, const char* password) {
  CopyText(g_ocrIni.loginUser, kIniTextSize, user);
  CopyText(g_ocrIni.loginPassword, kIniTextSize, password);
}

void GetDbConnectInfo(char* server, char* user, char* password) {
  std::strcpy(server, g_ocrIni.serverName);
  std::strcpy(user, g_ocrIni.loginUser);
  std::strcpy(password, g_ocrIni.loginPassword);
}

void SetDbServer(int kind, int version, const char* server) {
  g_ocrIni.defaultDbKind = kind;
  g_ocrIni.serverVersion = version;
  CopyText(g_ocrIni.serverName, kIniTextSize, server);
}

void SetOmrDbName(const char* name) { CopyText(g_ocrIni.omrDbName, kIniTextSize, name); }

int SetDbFolder(const char* path) {
  char folder[kIniPathSize];
  if (BuildDbFolder(folder, path, g_ocrIni.drive, GetProgramFolder().c_str()) != 0) {
    ReportLongDbFolder(path);
    return -1;
  }
  std::strcpy(g_ocrIni.dbFolder, folder);
  g_ocrIni.dbFolderTooLong = 0;
  return 0;
}

const char* GetDbFolder() { return g_ocrIni.dbFolder; }

int GetDefaultDbKind() { return g_ocrIni.defaultDbKind; }

int GetDbStatusWord() { return 0; }

void SetDbNamePair(const char* name, const char* replacement) {
  CopyText(g_namePairFrom, kIniTextSize, name);
  CopyText(g_namePairTo, kIniTextSize, replacement);
}

void GetDbNamePair(char* name, char* replacement) {
  std::strcpy(name, g_namePairFrom);
  std::strcpy(replacement, g_namePairTo);
}

void SetDbDevices(const char* dbDevice, const char* logDevice) {
  CopyText(g_ocrIni.dbDevice, kIniTextSize, dbDevice);
  CopyText(g_ocrIni.logDevice, kIniTextSize, logDevice);
}

void SetDbPathValue(const char* path) { CopyText(g_ocrIni.dbPath, kIniTextSize, path); }

const char* GetDbUseText() { return g_ocrIni.useText; }

// The login window calls these around storing a login; the layer needs
// nothing done then.
void PrepareDbLogin() {}
void FinishDbLogin() {}

void SetSpecFolder(const char* folder) { CopyText(g_specFolder, MAX_PATH, folder); }

const char* GetSpecFolder() { return g_specFolder; }

// The replacement of a database name by the name pair, for db_connect.
const char* ReplaceByNamePair(const char* name) {
  return g_namePairFrom[0] && std::strcmp(g_namePairFrom, name) == 0 ? g_namePairTo : name;
}

// The server's sessions wait for locks as long (db_connect.cpp).
void SetFileDbWait(int milliseconds) { g_fileDbWait = milliseconds > 0 ? milliseconds : 0; }

int GetFileDbWait() { return g_fileDbWait; }
