// The choice-content editor ("Medit"): a check field's choices laid out as
// the sheet shows them, each with two fields: MARKnn, what is printed
// beside the box ("^" hides the choice), and below it DATAnn, the value the
// box gives ("^" makes it give none). Each text goes back to the field
// editor only when one of its fields was changed, so an unchanged list
// keeps its own form.
#include "designer/choice_editor.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "designer/choice_texts.h"
#include "designer/designer.h"
#include "designer/form_items.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

constexpr int kChoiceWindowCode = 98;
constexpr int kCmdClose = 100;
constexpr int kFieldWidth = 6;
constexpr int kFieldBytes = 100;
// Choices a row when the field has one line: a longer one is shown folded,
// as it would not fit the screen.
constexpr int kChoicesPerRow = 12;

struct ChoiceEditor {
  FormWindow form;  // over the field editor
  int editorSlot = -1;
  int count = 0;
  int rows = 1, perRow = 1;
  bool columnsFirst = false;  // 縦向き: the choices fill a column first
  std::vector<std::string> marks, values;  // as the fields were filled
};
ChoiceEditor g_choices;

std::string FieldName(const char* prefix, int choice) {
  char name[16];
  std::snprintf(name, sizeof name, "%s%02d", prefix, choice);
  return name;
}

// Lays the choices out as the sheet arranges them: `rows` rows of them
// (the field's 行数 when it has rows, else as many as a long line needs).
void ArrangeChoices(ChoiceEditor& c, int rowsOfField, bool columnsFirst) {
  c.rows = rowsOfField > 0 ? std::min(rowsOfField, c.count) : (c.count + kChoicesPerRow - 1) / kChoicesPerRow;
  c.rows = std::max(c.rows, 1);
  c.perRow = std::max((c.count + c.rows - 1) / c.rows, 1);
  c.columnsFirst = rowsOfField > 0 && columnsFirst;
}

int AddChoiceForm(const ChoiceEditor& c) {
  int failed = 0;
  const auto check = [&failed](int item) { failed |= item < 0; };
  for (int n = 0; n < c.count; ++n) {
    const int k = c.columnsFirst ? n % c.rows : n / c.perRow, j = c.columnsFirst ? n / c.rows : n % c.perRow;
    const int column = (kFieldWidth + 2) * j + 2, row = 3 + 3 * k;
    check(AddText(FieldName("MARK", n + 1).c_str(), "", column, row, kFieldWidth, kFieldBytes,
                  "印字する内容（^ = 非表示）", "^=非表示"));
    check(AddText(FieldName("DATA", n + 1).c_str(), "", column, row + 1, kFieldWidth, kFieldBytes,
                  "取得する内容（^ = 無効）", "^=無効"));
  }
  check(AddNote("MEDMSG1", "上段＝印字する内容　下段＝取得する内容", 2, 1));
  check(AddScreenButton("閉じる", "EXIT", 2, 0, 3 + 3 * c.rows, kCmdClose, kItemEnabled,
                        "QUIT_S.BMP", "画面を閉じます", ""));
  return failed ? -1 : 0;
}

std::vector<std::string> FieldTexts(const char* prefix) {
  std::vector<std::string> texts;
  for (int n = 1; n <= g_choices.count; ++n) texts.push_back(FormFieldText(FieldName(prefix, n).c_str()));
  return texts;
}

void FillChoiceFields() {
  ChoiceEditor& c = g_choices;
  for (int n = 1; n <= c.count; ++n) {
    SetFieldText(FieldName("MARK", n).c_str(), c.marks[n - 1].c_str());
    SetFieldText(FieldName("DATA", n).c_str(), c.values[n - 1].c_str());
  }
}

void CloseChoiceEditor() {
  ChoiceEditor& c = g_choices;
  if (!IsValidSlot(c.form.slot)) return;
  SelectWindowSlot(c.form.slot);
  const std::vector<std::string> marks = FieldTexts("MARK"), values = FieldTexts("DATA");
  CloseForm(c.form);
  if (!IsValidSlot(c.editorSlot)) return;
  // Only a text whose fields were edited is written again: the other keeps
  // what the editor held, entries past the choices included.
  std::vector<bool> hidden;
  for (const std::string& m : marks) hidden.push_back(!m.empty() && m[0] == '^');
  if (marks != c.marks) SetScreenFieldText(c.editorSlot, "重ね文字", JoinChoiceTexts(marks, false, hidden).c_str());
  if (values != c.values) SetScreenFieldText(c.editorSlot, "変換条件", JoinChoiceTexts(values, true, hidden).c_str());
  SelectWindowSlot(c.editorSlot);
}

}  // namespace

HWND RegisterMeditWindow() {
  g_choices = ChoiceEditor();
  g_choices.form.window =
      CreateHiddenWindow({"Medit", MeditWindowProc, CS_HREDRAW | CS_VREDRAW, WS_POPUP | WS_CAPTION | WS_SYSMENU});
  return g_choices.form.window;
}

int OpenChoiceContentEditor(int editorSlot) {
  ChoiceEditor& c = g_choices;
  if (!c.form.window || IsValidSlot(c.form.slot) || !IsValidSlot(editorSlot)) return -1;
  SelectWindowSlot(editorSlot);
  const int count = GetFieldInt("文字数");
  if (count <= 0) {
    ShowInfoMessage("", "「チェック数」が設定されていません。");
    return -1;
  }
  if (FormFieldText("領域名").empty()) {
    ShowInfoMessage("", "「項目名 (フィールド名)」が設定されていません。");
    return -1;
  }
  c.editorSlot = editorSlot;
  c.count = count;
  c.marks = SplitChoiceText(FormFieldText("重ね文字"), count);
  c.values = SplitChoiceText(FormFieldText("変換条件"), count);
  const int arrangement = GetFieldInt("複数行指定");  // 2 横向き, 3 縦向き
  ArrangeChoices(c, arrangement > 1 ? GetFieldInt("配列個数") : 0, arrangement == 3);
  if (BeginForm() < 0) return -1;
  if (AddChoiceForm(c) != 0) {
    DiscardBuildingItems();
    return -1;
  }
  const int width = ((kFieldWidth + 2) * c.perRow + 4) * kFormFontUnit;
  const int height = (8 + 3 * c.rows) * kFormRowPitch;
  return OpenForm(c.form, Slot(editorSlot).window, nullptr, -2, -2, std::max(width, 320), height,
                  kChoiceWindowCode, "選択肢の内容の編集");
}

int ChoiceEditorSlot() { return g_choices.form.slot; }

LRESULT CALLBACK MeditWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FormHandlers handlers;
  handlers.opened = FillChoiceFields;
  handlers.close = CloseChoiceEditor;
  handlers.command = [](int code) {
    if (code == kCmdClose) {
      CloseChoiceEditor();
    } else {
      ApplyPendingFocus();
    }
  };
  return HandleFormMessage(g_choices.form, handlers, window, message, wParam, lParam);
}
