// The scanner choice: a small window listing the scanners installed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Caption of the choice window.
constexpr char kScannerChoiceCaption[] = "スキャナの選択";

// Lets the operator choose one of `names` (ANSI); the index chosen, -1 when
// the list is empty or the choice was cancelled.
int ChooseScanner(HWND owner, const std::vector<std::string>& names);
