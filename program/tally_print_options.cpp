// The keys of a tally's print settings that open further screens: the
// layout key (様式設定) the list of the questions with their print switch
// and page break of the tally kind shown; the graphs' colour key
// (グラフの配色) the colour slots of their graph type, each slot's button
// the graph-colour window on its colour.
#include <windows.h>

#include <cstdio>
#include <string>

#include "designer/survey.h"
#include "entry/list_form.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"
#include "tally/tally.h"

namespace {

// Opened for editing: the slots' buttons answer at once.
constexpr int kEditOpenMode = -15;

// The colour slots of the graph types, by the tally kinds that draw them.
struct ColorScreen {
  int firstKind, lastKind;
  const char* code;
  int number;
  int graphType;
};
constexpr ColorScreen kColorScreens[] = {
    {4, 5, "GCOL-SET", 61, kGraphBar},
    {6, 7, "GCOL-SET", 62, kGraphChoice},
    {8, 9, "GCOL-SET", 63, kGraphPie},
    {10, 12, "GCOL-SET2", 64, kGraphRadar},
};

const ColorScreen* ColorScreenOfKind(int kind) {
  for (const ColorScreen& screen : kColorScreens) {
    if (kind >= screen.firstKind && kind <= screen.lastKind) return &screen;
  }
  return nullptr;
}

const ColorScreen* ColorScreenOfNumber(int number) {
  for (const ColorScreen& screen : kColorScreens) {
    if (screen.number == number) return &screen;
  }
  return nullptr;
}

std::string SlotField(int colorSlot) {
  char name[8];
  std::snprintf(name, sizeof name, "GCOL%02d", colorSlot);
  return name;
}

// The slots show the type's colours as GCOLOR holds them, its row added
// with the defaults when it is missing.
void FillColorSlots(const ColorScreen& screen, int slot) {
  const int type = screen.graphType;
  LoadGraphColors(g_survey.folder.c_str(), g_survey.database.c_str(), g_survey.kind, type);
  for (int colorSlot = 1; colorSlot <= kGraphColorSlots; ++colorSlot) {
    SetItemValueForCommand(slot, SlotField(colorSlot).c_str(),
                           FormatGraphColorText(type, g_graphColors[type][colorSlot]).c_str());
  }
}

// Whether the input that ended is the press of the slot's button. A click
// first leaves the field that had the focus as Tab does, and Tab's code is
// that of slot 9: neither it nor a Tab typed opens the window.
bool PressedSlotButton(int slot, int colorSlot) {
  const int button = ResolveFieldRef(slot, SlotField(colorSlot).c_str());
  const bool tab = g_screen.focusMovePending || (g_screen.keyDownWindow && g_screen.keyDownKey == VK_TAB);
  return button >= 0 && !tab && (button == g_screen.currentItem || button == g_screen.mouseItem);
}

// A slot's button (its item code the slot): the graph-colour window opens
// on the colour it shows.
void OpenSlotColor(const ColorScreen& screen, int slot) {
  const int colorSlot = GetLastFieldKey();
  if (colorSlot < 1 || colorSlot > kGraphColorSlots || !PressedSlotButton(slot, colorSlot)) return;
  char text[16] = "";
  GetItemRawValue(slot, SlotField(colorSlot).c_str(), text);
  g_graphColorWindow.slot = colorSlot;
  g_graphColorWindow.colorText = text;
  OpenGraphColorScreen(screen.graphType);
}

// The print settings wait while a screen of theirs is open: the screen
// answers to the main window, which it disables.
void OpenScreenOverSettings(const char* code, int number, int openMode) {
  if (OpenScreenDef("", kScreenDatabase, code, number, openMode, "", g_program.mainWindow) == 0 &&
      g_printSettingsWindow.window) {
    EnableWindow(g_printSettingsWindow.window, FALSE);
  }
}

// The print settings again, once a screen of theirs closed.
void ReturnToSettings() {
  const HWND settings = g_printSettingsWindow.window;
  if (!settings || !IsValidSlot(g_printSettingsWindow.slot)) return;
  EnableWindow(settings, TRUE);
  SetActiveWindow(settings);
}

// The tally kind the print settings show.
int ShownTallyKind() {
  const PrintSettingsWindowState& w = g_printSettingsWindow;
  return TallyKindOfSetting(w.printType, w.tallySetting);
}

// A grouping item ticked on the list of a cross tabulation's questions
// (チェック01 the first, チェック02 the second): no other question keeps that
// tick, and the list shows its first page again.
void KeepOneGroupingTick(int slot) {
  const int kind = ShownTallyKind();
  if (kind < kTallySimple || kind > kTallyCrossBoth) return;
  const int i = g_screen.mouseItem >= 0 ? g_screen.mouseItem : g_screen.currentItem;
  if (FindItemSlot(i) != slot) return;
  const std::string name = Item(i).name;
  const std::string prefix = "チェック0";
  if (name.compare(0, prefix.size(), prefix) != 0 || name.size() != prefix.size() + 3) return;
  const char check = name[prefix.size()];
  if ((check != '1' && check != '2') || Item(i).displayText != "1") return;
  const std::string row = name.substr(prefix.size() + 1);
  char code[32] = "";
  GetItemRawValue(slot, ("質問コード" + row).c_str(), code);
  const int t = db_open(g_survey.folder.c_str(), g_survey.database.c_str(), kSurveyItemTable, g_survey.kind,
                        kSurveyItemTable, "", "");
  if (t < 0) return;
  char sql[200];
  std::snprintf(sql, sizeof sql, "update 調査項目 set チェック0%c=0 where 質問コード<>%s and チェック0%c=1", check,
                SqlLiteral(code).c_str(), check);
  db_exec(t, sql);
  db_close(t);
  RefreshListPage();
}

}  // namespace

void OpenTallyQuestionSettings() {
  const int kind = ShownTallyKind();
  // The tallies list the grouping items of cross tabulations too: one, or
  // both for the tabulation by both.
  const char* code = kind > kTallyCrossBoth ? "SPRN-SET" : kind == kTallyCrossBoth ? "SPRN-SET3" : "SPRN-SET2";
  OpenScreenOverSettings(code, kTallyQuestionsScreen, -1);
}

void OnTallyOptionsNumber(int screenNumber) {
  if (screenNumber != kTallyQuestionsScreen) return;
  // The list's switch columns are those of the kind shown.
  char name[16];
  std::snprintf(name, sizeof name, "印字%02d", ShownTallyKind());
  FindFieldRowByName("印字", name);
  std::snprintf(name, sizeof name, "改頁%02d", ShownTallyKind());
  FindFieldRowByName("改頁", name);
}

void OpenTallyColorSlots() {
  const ColorScreen* screen = ColorScreenOfKind(g_mainWindow.tallyKind);
  if (!screen) return;
  OpenScreenOverSettings(screen->code, screen->number, kEditOpenMode);
}

bool OnTallyOptionsFill(int screenNumber, int slot) {
  const ColorScreen* screen = ColorScreenOfNumber(screenNumber);
  if (!screen) return false;
  FillColorSlots(*screen, slot);
  return true;
}

bool OnTallyOptionsInput(int screenNumber, int slot) {
  if (screenNumber == kTallyQuestionsScreen) {
    KeepOneGroupingTick(slot);
    return true;
  }
  const ColorScreen* screen = ColorScreenOfNumber(screenNumber);
  if (!screen) return false;
  OpenSlotColor(*screen, slot);
  return true;
}

bool OnTallyOptionsClosed(int screenNumber) {
  if (screenNumber != kTallyQuestionsScreen && !ColorScreenOfNumber(screenNumber)) return false;
  ReturnToSettings();
  if (screenNumber == kTallyQuestionsScreen) ReloadPrintSettingsQuestions();
  return true;
}
