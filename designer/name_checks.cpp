// The name rules with the messages the designer shows for them.
#include <string>
#include <vector>

#include "designer/name_rules.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

constexpr char kForbiddenMessage[] = "「%s」に“半角カッコ”および“記号”“空白”は使用できません。";
constexpr char kReservedMessage[] = "「%s」に“%s”は使用できません。";

std::string FieldText(const char* ref) {
  const char* text = GetFieldTextPtr(ref);
  return text ? text : "";
}

}  // namespace

int CheckFieldNameText(const char* text, const char* caption, int reservedWords) {
  if (HasForbiddenNameChar(text)) {
    ShowInfoMessage("", kForbiddenMessage, caption);
    return -1;
  }
  if (StartsWithDigit(text, false)) {
    ShowInfoMessage("", "数字で始まる「%s」は付けられません。", caption);
    return -1;
  }
  if (reservedWords == 1 && IsReservedName(text)) {
    ShowInfoMessage("", kReservedMessage, caption, text);
    return -1;
  }
  return 0;
}

int CheckFieldNameInput(const char* ref, const char* caption, int reservedWords) {
  return CheckFieldNameText(FieldText(ref).c_str(), caption, reservedWords);
}

int CheckNameText(const char* text, const char* caption) {
  if (HasForbiddenNameChar(text)) {
    ShowInfoMessage("", kForbiddenMessage, caption);
    return -1;
  }
  if (StartsWithDigit(text, true)) {
    ShowInfoMessage("",
                    "数字で始まる「%s」は、推奨されません。\n"
                    "Access から 直接、テーブルにアクセスする際にエラーになる場合があります。",
                    caption);
    return 0;
  }
  if (IsReservedName(text) || IsImageColumnName(text)) {
    ShowInfoMessage("", kReservedMessage, caption, text);
    return -1;
  }
  return 0;
}

int CheckNameCharacters(const char* ref, const char* caption) {
  return CheckNameText(FieldText(ref).c_str(), caption);
}
