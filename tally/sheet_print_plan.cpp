// What a sheet print job works out before it draws: which identification
// numbers a numbered run prints, which margin set the window shows, and the
// advice for two-sided printing.
// Portable: tested natively as well.
#include <cstdio>

#include "tally/sheet_printing.h"

std::string IdNumberRun::At(int64_t k) const {
  const uint64_t n = first <= last ? first + k : first - k;
  char text[32];
  std::snprintf(text, sizeof text, "%0*llu", width, static_cast<unsigned long long>(n));
  return text;
}

namespace {

// The value of a digit string of at most `width` significant digits.
int ReadIdNumber(const std::string& text, int width, uint64_t* value) {
  if (text.empty()) return -1;
  uint64_t n = 0;
  int significant = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    if (significant > 0 || c != '0') ++significant;
    if (significant > width || significant > 18) return -1;
    n = n * 10 + static_cast<uint64_t>(c - '0');
  }
  *value = n;
  return 0;
}

}  // namespace

int PlanIdNumberRun(const std::string& start, const std::string& end, int width,
                    const std::string& field, IdNumberRun* run, std::string* why) {
  if (width < 1) {
    *why = "識別番号を印刷する欄“" + field + "”の文字数が設定されていません。";
    return -1;
  }
  for (const std::string* number : {&start, &end}) {
    uint64_t value = 0;
    if (ReadIdNumber(*number, width, &value) != 0) {
      *why = "識別番号“" + *number + "”は、欄“" + field + "”の" + std::to_string(width) +
             "桁の数字で表せません。\n番号が一巡して同じ番号を印刷するため、印刷を中止します。";
      return -1;
    }
    (number == &start ? run->first : run->last) = value;
  }
  run->width = width;
  return 0;
}

PrintMarginSet ShownMarginSet(const PrintMarginSets& sets, bool pdf) {
  PrintMarginSet shown = pdf ? sets.pdf : sets.printer;
  if (shown.ratio <= 0) shown.ratio = pdf ? 103 : 100;
  return shown;
}

const char* MarginSetNote(bool pdf) { return pdf ? "｢割合｣　PDF ＝“103”" : ""; }

const char* PrintAdviceText(bool bothSides, bool landscape, bool twoSidedSheet) {
  if (bothSides && landscape) {
    return "印刷の設定画面の〔詳細設定〕で､｢両面印刷｣にチェックしてく|ださい。|"
           "印刷を行う用紙の表面と裏面の天地を揃える場合は､｢とじ方向｣|の設定も行ってください。|"
           "印刷する用紙は、裏写りしない厚目のものを使用してください。";
  }
  if (bothSides) {
    return "印刷の設定画面の〔詳細設定〕で､｢両面印刷｣にチェックしてく|ださい。|"
           "印刷する用紙は、裏写りしない厚目のものを使用してください。";
  }
  if (twoSidedSheet) return "印刷する用紙は、裏写りしない厚目のものを使用してください。";
  return "";
}
