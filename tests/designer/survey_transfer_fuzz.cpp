// Feeds arbitrary bytes (broken Shift-JIS included) to the rules that make
// survey questions of a field: the title, contents and values of a check
// field, split from the input at NUL bytes. Nothing may crash, a question's
// text never grows, and its codes come from the values or the code sequence.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "designer/survey_transfer.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t flags = data[0];
  std::vector<std::string> parts(1);
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == 0 && parts.size() < 4) {
      parts.emplace_back();
    } else {
      parts.back() += static_cast<char>(data[i]);
    }
  }
  parts.resize(4);
  SurveySourceField field;
  field.areaCode = "0001";
  field.name = "Q";
  field.title = parts[0];
  field.contents = parts[1];
  field.values = parts[2];
  field.edit = flags & 1 ? "ﾁｪｯｸ" : "右詰";
  field.choicePosition = flags & 2 ? "Ｍ" : "→";
  field.arrangement = flags & 4 ? "Ｘ" : "";
  field.maxMarks = flags >> 6;
  field.charCount = flags % 120;
  field.arrayStart = flags & 8 ? 1 : -1;
  field.arrayCount = flags & 16 ? 3 : 0;
  TransferOptions options;
  options.fill = parts[3].substr(0, 2);
  options.trimFill = flags & 32;

  Check(CleanQuestionTitle(field.title, options).size() <= field.title.size());
  std::vector<SurveyQuestionRow> rows;
  std::string tooLong;
  if (MakeSurveyQuestions(field, options, rows, tooLong) != 0) {
    Check(rows.empty() && static_cast<int>(tooLong.size()) > kMaxTransferChoiceEntry);
    return 0;
  }
  Check(rows.size() == (field.arrayStart >= 0 && field.arrayCount > 0 ? 3u : 1u));
  for (const SurveyQuestionRow& row : rows) {
    Check(row.codes.size() <= std::max(field.values.size() + field.contents.size(),
                                       ChoiceCodeSequence().size()));
    Check(row.choices.size() <= 2 * field.contents.size());
  }
  return 0;
}
