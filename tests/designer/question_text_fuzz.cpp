// Feeds arbitrary bytes (broken Shift-JIS, stray quotes, long lines) to the
// readers of question files and clipboard texts and to the fitting of
// question texts. Nothing may crash; a text is taken whole or refused with
// a line inside it; a taken row keeps its columns' limits; padding and
// trimming with the same fill give a short text back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "designer/question_list_rules.h"

namespace {

// "・" in code page 932: the fuzz build's compiler keeps literals in UTF-8.
constexpr char kFill[] = "\x81\x45";

void Check(bool condition) {
  if (!condition) std::abort();
}

size_t LineCount(const std::string& text) {
  size_t lines = 1;
  for (char c : text) lines += c == '\n';
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const int width = data[0] % 40;

  const QuestionTextResult csv = ReadQuestionCsv(text);
  Check(csv.ok() != csv.rows.empty());
  Check(csv.ok() || (csv.line >= 0 && static_cast<size_t>(csv.line) <= LineCount(text)));
  for (const QuestionCsvRow& row : csv.rows) {
    Check(row.name.size() <= kQuestionNameBytes && row.title.size() <= kQuestionTextBytes &&
          row.choices.size() <= kQuestionChoiceBytes);
    Check(CountQuestionChoices(row.choices) >= 1);
    const std::string padded = PadQuestionText(row.title, width, kFill);
    if (row.title.size() <= static_cast<size_t>(width) * 2 && row.title.find('|') == std::string::npos) {
      Check(TrimQuestionText(padded, kFill).size() <= row.title.size());
    }
    Check(FitTextToWidth(row.title, width).size() == static_cast<size_t>(width) * 2);
  }

  const QuestionTextResult clip = SplitClipboardText(text);
  Check(clip.lines.size() <= kClipLineLimit);
  for (const std::string& line : clip.lines) Check(line.size() <= kClipLineBytes);
  return 0;
}
