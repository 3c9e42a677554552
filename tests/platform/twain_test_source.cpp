#include "tests/platform/twain_test_source.h"

#include <windows.h>

#include <fstream>
#include <sstream>

#include "tests/platform/scan_recording.h"
#include "tests/support/test_pictures.h"

namespace {

std::string InstalledSource() {
  return sizeof(void*) == 8 ? "C:\\windows\\twain_64\\sane.ds" : "C:\\windows\\twain_32\\sane.ds";
}

}  // namespace

bool InstallTestSource() {
  const std::string installed = InstalledSource();
  CreateDirectoryA(installed.substr(0, installed.find_last_of('\\')).c_str(), nullptr);
  return CopyFileA((ProgramFolder() + "\\sane.ds").c_str(), installed.c_str(), FALSE) != FALSE;
}

void RemoveTestSource() {
  const std::string away = ProgramFolder() + "\\used-test-source.ds";
  DeleteFileA(away.c_str());
  if (!MoveFileA(InstalledSource().c_str(), away.c_str())) DeleteFileA(InstalledSource().c_str());
}

void TestSourceSetup::Configure(const std::string& extra) const {
  WriteBytes(settings, "[Source]\r\nFolder=" + sheets + "\r\nLog=" + log + "\r\n" + extra);
  DeleteFileA(log.c_str());
  SetEnvironmentVariableA("SHEETDESK_TEST_SOURCE", settings.c_str());
}

std::string TestSourceSetup::Log() const {
  std::ifstream in(log);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}
