// An environment variable's value in the program's code page, "" when it is
// not set. Wine's GetEnvironmentVariableA cuts a value holding double-byte
// characters at its length in characters (a deep Japanese folder's path):
// the value is read in UTF-16 and converted whole.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

inline std::string EnvironmentText(const char* name) {
  std::vector<WCHAR> wideName(std::string(name).size() + 1);
  MultiByteToWideChar(CP_ACP, 0, name, -1, wideName.data(), static_cast<int>(wideName.size()));
  const DWORD length = GetEnvironmentVariableW(wideName.data(), nullptr, 0);
  if (length == 0) return "";
  std::vector<WCHAR> wide(length);
  GetEnvironmentVariableW(wideName.data(), wide.data(), length);
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
  std::string value(bytes > 0 ? bytes - 1 : 0, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, value.data(), bytes, nullptr, nullptr);
  return value;
}
