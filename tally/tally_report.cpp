// The tally report: a simple tally (per question its labels, a line of
// counts and a line of percentages), a cross tabulation by the first
// grouping item (a line per value, then their total) or by both (a block
// per value of the first with a line per value of the second, a subtotal
// per block and a grand total), or graphs of the same counts; drawn on the
// preview or the printer, or written as a CSV file. Up to 200 questions,
// read from the tally table once per question and grouping value.
#include <algorithm>
#include <cstdio>
#include <iterator>

#include "designer/survey.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "tally/tally.h"
#include "tally/tally_blocks.h"
#include "tally/tally_digit_grid.h"

namespace {

// Digits of the extra columns' numbers (無回答, ｵｰﾊﾞｰ, 合計, 件数).
constexpr int kExtraWidth = 6;
// Bytes of a grouping value that selects rows.
constexpr int kMaxGroupValue = 50;

// What the report prints, from the print settings.
struct TallyLayout {
  bool rowTotal = false;       // 横合計: a total column
  bool columnTotal = false;    // 縦合計: total and subtotal lines
  bool choiceNumbers = false;  // 選択肢番号: a line of codes under the labels
  bool dataCount = false;      // データ件数: a record-count column
  bool counts = true;          // 件数％印字: lines of counts
  bool percents = true;        //            lines of percentages
  int groups = 0;              // grouping columns: 0, 1 or 2
  int groupWidth[3] = {};      // digits of the grouping columns
  // The choices of the table being printed: a table wider than the page
  // is printed in blocks of choices one under the other, the question's
  // text above the first and the extra columns after the last.
  int firstChoice = 1;
  int lastChoice = 0;
  bool firstBlock = true;
  bool lastBlock = true;
};

TallyLayout g_layout;

bool IsCsv() { return g_reportOutput.mode == kReportTextFile; }

bool Flag(const std::string& flags, int position) {
  return static_cast<int>(flags.size()) >= position && flags[position - 1] == '1';
}

// One cell of text `n` digits wide (a CSV field in a file).
void TextCell(int n, const std::string& text) {
  if (IsCsv()) {
    ReportCsvCell(0, "%s", text.c_str());
  } else {
    ReportPrintCellWidth(n, "%s", text.c_str());
  }
}

// An empty cell without a frame, for the columns before a title.
void BlankCell(int n) {
  SetReportFrameOn(0);
  TextCell(n, "");
  SetReportFrameOn(1);
}

// A number in a cell of `width` digits and a blank each side; `blank`
// leaves the cell empty.
void NumberCell(int width, double value, bool percent, bool blank) {
  if (blank) {
    TextCell(width + 2, "");
  } else if (IsCsv()) {
    ReportCsvCell(0, percent ? "%.1f" : "%.0f", value);
  } else if (percent) {
    ReportPrintCellWidth(width + 2, " %*.1f ", width, value);
  } else {
    ReportPrintCellWidth(width + 2, " %*.0f ", width, value);
  }
}

// Advances `n` lines; on the printer a full page goes on on the next one.
void NextLine(int n) {
  AdvanceReportLine(n);
  BreakPageWhenFull();
}

bool ShowsNoAnswer(int q) { return g_tally.include.noAnswer && g_survey.items[q].switch05 != 1; }

int ChoiceCount(int q) { return static_cast<int>(g_tally.choices[q].labels.size()) - 1; }

// The choices' cells, then the extra columns (the data count stays empty
// among percentages).
void LineCells(int table, int q, bool percent, bool blank) {
  const TallyCountTable& t = g_tallyCounts[table];
  const double base = TallyPercentBase(table, q);
  const int width = g_survey.items[q].choiceWidth;
  // The grand total leaves the cells of counts below 1 empty.
  auto cell = [&](int w, double count) {
    NumberCell(w, percent ? TallyPercent(count, base) : count, percent, blank && count < 1);
  };
  for (int k = g_layout.firstChoice; k <= g_layout.lastChoice; ++k) cell(width, t.counts[q][k]);
  if (!g_layout.lastBlock) return;
  if (ShowsNoAnswer(q)) cell(kExtraWidth, t.noAnswer[q]);
  if (g_tally.include.over) cell(kExtraWidth, t.over[q]);
  if (g_layout.rowTotal) cell(kExtraWidth, t.counts[q][0]);
  if (g_layout.dataCount) {
    if (percent) {
      TextCell(kExtraWidth + 2, "");
    } else {
      NumberCell(kExtraWidth, t.base[q], false, blank && t.base[q] < 1);
    }
  }
}

// The prefix cells of a line: the grouping columns' texts.
void PrefixCells(const std::string& first, const std::string& second) {
  if (g_layout.groups >= 1) TextCell(g_layout.groupWidth[1] + 2, first);
  if (g_layout.groups >= 2) TextCell(g_layout.groupWidth[2] + 2, second);
}

// A line of counts (or of percentages when only they are printed) after
// its prefix cells, and with both the line of percentages after it. Lines
// of the run table leave values below 1 empty.
void PrintTallyLine(int table, int q, const std::string& first, const std::string& second) {
  const bool blank = table == kRunCounts;
  PrefixCells(first, second);
  LineCells(table, q, !g_layout.counts, blank);
  NextLine(1);
  if (g_layout.counts && g_layout.percents) {
    PrefixCells("", "");
    LineCells(table, q, true, blank);
    NextLine(1);
  }
}

// Opens the output: the CSV file, or a preview or printer job laid out by
// the print settings. False when it did not open (reported).
bool StartTallyOutput(int printMode) {
  if (printMode < 0) {
    return StartPrintJobDefault(kReportTextFile, g_printSettings.file.c_str()) != 0;
  }
  ApplyPrintSettingsToReport(GetActiveWindow());
  return StartPrintJobDefault(printMode, "H") != 0;
}

void ReadLayout(int outputKind) {
  const std::string& items = g_printSettings.printItems;
  const bool table = outputKind <= kTallyCrossBoth;
  g_layout = TallyLayout();
  g_layout.rowTotal = table && Flag(items, 1);
  g_layout.columnTotal = table && Flag(items, 2);
  g_layout.choiceNumbers = table && Flag(items, 3);
  g_layout.dataCount = table && Flag(items, 4);
  g_tally.include.noAnswer = Flag(items, 5);
  g_tally.include.over = Flag(items, 6);
  const std::string& shown = g_printSettings.countPercent;
  g_layout.counts = Flag(shown, 1) || !Flag(shown, 2);
  g_layout.percents = Flag(shown, 2);
  g_layout.groups = outputKind == kTallyCrossFirst ? 1 : outputKind == kTallyCrossBoth ? 2 : 0;
}

// The grouping items' values and their columns' widths: the widest of the
// item's name, its labels and its values.
void LoadGroupColumns() {
  for (int group = 1; group <= 2; ++group) {
    const int q = g_tally.groupQuestion[group];
    const int labels = q > 0 ? std::max(LoadItemChoices(q), 0) : 0;
    std::string values;
    CollectItemChoiceValues(group, values);
    g_layout.groupWidth[group] = std::max({labels, g_tally.groupLongest[group],
                                           static_cast<int>(g_survey.groupItem[group].size()), 4});
  }
}

// The heading of a question: its text, then the grouping items' names, the
// labels and the extra columns' headings, and with 選択肢番号 the codes.
void PrintHeading(int q) {
  const SurveyItem& item = g_survey.items[q];
  const TallyChoiceList& list = g_tally.choices[q];
  if (g_layout.firstBlock) {
    for (int group = 1; group <= g_layout.groups; ++group) BlankCell(g_layout.groupWidth[group] + 2);
    SetReportFrameOn(0);
    IsCsv() ? ReportCsvCell(0, "%s", item.question.c_str())
            : ReportPrintCell("%s", item.question.c_str());
    SetReportFrameOn(1);
    NextLine(1);
  }

  const int rows = list.labelLines;
  for (int group = 1; group <= g_layout.groups; ++group) {
    const int n = g_layout.groupWidth[group] + 2;
    IsCsv() ? TextCell(n, g_survey.groupItem[group])
            : ReportPrintCellAt(n, rows, "%s", g_survey.groupItem[group].c_str());
  }
  for (int k = g_layout.firstChoice; k <= g_layout.lastChoice; ++k) {
    IsCsv() ? TextCell(0, list.labels[k])
            : static_cast<void>(ReportPrintCellBox(item.choiceWidth, item.choiceWidth * rows, "%s",
                                                   list.labels[k].c_str()));
  }
  auto extra = [&](const char* heading) {
    IsCsv() ? TextCell(0, heading) : ReportPrintCellAt(kExtraWidth + 2, rows, "%s", heading);
  };
  if (g_layout.lastBlock) {
    if (ShowsNoAnswer(q)) extra("無回答");
    if (g_tally.include.over) extra("ｵｰﾊﾞｰ");
    if (g_layout.rowTotal) extra("合　計");
    if (g_layout.dataCount) extra("件　数");
  }
  NextLine(rows);

  if (!g_layout.choiceNumbers) return;
  PrefixCells("", "");
  for (int k = g_layout.firstChoice; k <= g_layout.lastChoice; ++k) {
    const std::string code = k < static_cast<int>(list.codes.size()) ? list.codes[k] : "";
    TextCell(item.choiceWidth + 2, code == list.labels[k] ? "" : code);
  }
  if (!g_layout.lastBlock) {
    NextLine(1);
    return;
  }
  if (ShowsNoAnswer(q)) TextCell(kExtraWidth + 2, "");
  if (g_tally.include.over) TextCell(kExtraWidth + 2, "*");
  if (g_layout.rowTotal) TextCell(kExtraWidth + 2, "");
  if (g_layout.dataCount) TextCell(kExtraWidth + 2, "");
  NextLine(1);
}

// Counts the rows the selection positioned on, or nothing when it found
// none.
void CountSelection(int q, int positioned) {
  ClearQuestionCounts();
  if (positioned == 0) CountQuestionAnswers(q);
}

// Lines of a question's heading, and of one of its count lines (with its
// percentage line).
int HeadingLines(int q) {
  return (g_layout.firstBlock ? 1 : 0) + g_tally.choices[q].labelLines + (g_layout.choiceNumbers ? 1 : 0);
}
int LinesPerCount() { return g_layout.counts && g_layout.percents ? 2 : 1; }

// The lines of a question's table in the output kind.
int TableLines(int kind, int q) {
  const int totals = g_layout.columnTotal ? 1 : 0;
  int rows = 1;
  if (kind == kTallyCrossFirst) rows = g_tally.groupValueCount[1] + totals;
  if (kind == kTallyCrossBoth) {
    rows = g_tally.groupValueCount[1] * (g_tally.groupValueCount[2] + totals) + totals;
  }
  return HeadingLines(q) + rows * LinesPerCount();
}

void PrintSimpleTally(int q) {
  CountSelection(q, PositionTallyTable(g_tally.slot, 0));
  if (g_tally.page == 1 && g_reportOutput.lineNumber == 0)
    PrintCenteredTitle(g_survey.name.c_str());
  PrintHeading(q);
  PrintTallyLine(kQuestionCounts, q, "", "");
}

// Calls `each` with every value of a grouping item (its 1-based index and
// its text, at most 50 bytes).
template <class Each>
void ForEachGroupValue(int group, Each each) {
  const std::vector<std::string> values = SplitCommaList(g_tally.groupValues[group]);
  for (size_t i = 0; i < values.size(); ++i) {
    std::string value = values[i];
    if (value.size() > static_cast<size_t>(kMaxGroupValue)) value.resize(kMaxGroupValue);
    each(static_cast<int>(i) + 1, value);
  }
}

void PrintCrossFirst(int q) {
  PrintHeading(q);
  // A question's total lines are those of its own groups.
  ClearGroupCounts();
  ForEachGroupValue(1, [&](int index, const std::string& value) {
    CountSelection(q, SearchTallyByPattern(g_tally.slot, value.c_str(), "", 1));
    PrintTallyLine(kQuestionCounts, q, GroupValueLabel(1, index, value), "");
  });
  if (g_layout.columnTotal) PrintTallyLine(kGroupCounts, q, "合計", "");
}

void PrintCrossBoth(int q) {
  PrintHeading(q);
  ForEachGroupValue(1, [&](int firstIndex, const std::string& first) {
    ClearGroupCounts();
    bool firstLine = true;
    ForEachGroupValue(2, [&](int secondIndex, const std::string& second) {
      CountSelection(q, SearchTallyByPattern(g_tally.slot, first.c_str(), second.c_str(), 2));
      PrintTallyLine(kQuestionCounts, q, firstLine ? GroupValueLabel(1, firstIndex, first) : "",
                     GroupValueLabel(2, secondIndex, second));
      firstLine = false;
    });
    if (g_layout.columnTotal) PrintTallyLine(kGroupCounts, q, "", "小計");
  });
  if (g_layout.columnTotal) PrintTallyLine(kRunCounts, q, "合計", "");
}

// Digit widths a drawn line holds between the page's margins; 0 in a file,
// or when the page is not known.
int PageDigits() {
  const ReportOutputContext& r = g_reportOutput;
  const int digit = ReportDigitWidth();
  if (IsCsv() || r.pageWidth <= 0 || digit <= 0) return 0;
  const int scale = r.mode == kReportPrinter ? std::max(1, r.scale) : 1;
  const int margin = std::max(ComputeCellGeometry(r).x0, 0);
  return (r.pageWidth * scale - 2 * margin) / digit;
}

// The widths, in digits, of a question's table: its grouping columns, each
// choice's column and the extra columns.
struct TableWidths {
  int prefix = 0, choice = 0, extras = 0;
};

TableWidths WidthsOf(int q) {
  TableWidths w;
  for (int group = 1; group <= g_layout.groups; ++group) w.prefix += g_layout.groupWidth[group] + 2;
  w.choice = g_survey.items[q].choiceWidth + 2;
  const int extras = (ShowsNoAnswer(q) ? 1 : 0) + (g_tally.include.over ? 1 : 0) + (g_layout.rowTotal ? 1 : 0) +
                     (g_layout.dataCount ? 1 : 0);
  w.extras = extras * (kExtraWidth + 2);
  return w;
}

// A question printed again for its next block of choices counts its
// records again: the run table keeps them once.
void ClearRunCountsOf(int q) {
  TallyCountTable& t = g_tallyCounts[kRunCounts];
  std::fill(std::begin(t.counts[q]), std::end(t.counts[q]), 0.0);
  t.noAnswer[q] = t.over[q] = t.base[q] = 0;
}

// Prints a question's table in the output kind, in blocks of choices that
// fit the page.
void PrintTable(int kind, int q) {
  const TableWidths w = WidthsOf(q);
  const auto blocks = TallyChoiceBlocks(ChoiceCount(q), w.prefix, w.choice, w.extras, PageDigits());
  for (const auto& [first, last] : blocks) {
    g_layout.firstChoice = first;
    g_layout.lastChoice = last;
    g_layout.firstBlock = first == 1;
    g_layout.lastBlock = last == ChoiceCount(q);
    if (!g_layout.firstBlock) {
      ClearRunCountsOf(q);
      AddReportSpace(g_printSettings.gapY);
      NextLine(1);
    }
    KeepLinesTogether(TableLines(kind, q));
    switch (kind) {
      case kTallySimple: PrintSimpleTally(q); break;
      case kTallyCrossFirst: PrintCrossFirst(q); break;
      default: PrintCrossBoth(q); break;
    }
  }
}

// True when the question is left out of this output kind.
bool SkipsQuestion(int kind, int q) {
  const SurveyItem& item = g_survey.items[q];
  const int groups = kind == kTallyCrossFirst ? 1 : kind == kTallyCrossBoth ? 2 : 0;
  if (IsQuestionGroupItem(groups, q) != 0 || item.codes.empty() || item.choices.empty()) {
    return true;
  }
  if (kind <= kSurveyTallyKinds && item.printOff[kind] != 0) return true;
  if (item.answerCount > kMaxTallyChoices) {
    ShowInfoMessage("", "選択肢の数が最大数(%d)を超えました。", kMaxTallyChoices);
    return true;
  }
  return LoadItemChoices(q) < 0;
}

// After a question: the gap to the next, or its page break. False when the
// output stops here.
bool FinishQuestion(int kind, int q) {
  if (IsCsv()) {
    WriteReportText("\n\n");
    return true;
  }
  if (g_survey.items[q].pageBreak[kind] == 1) {
    PrintPageNumber(g_tally.page, g_printSettings.pageNumbers, 0);
    if (g_reportOutput.mode == kReportPreview) return false;
    if (g_tally.endPage > 0 && g_tally.page >= g_tally.endPage) return false;
    NextPrintPage();
    ++g_tally.page;
    return true;
  }
  AddReportSpace(g_printSettings.gapY);
  NextLine(1);
  return ReportRowFits() == 1;
}

void ShowPageRange(int kind) {
  if (g_survey.pageBreaks[kind] == 0) {
    g_tally.pageNote[0] = "改頁する箇所を設定し";
    g_tally.pageNote[1] = "てください。";
  } else {
    g_tally.pageNote[0].clear();
    g_tally.pageNote[1].clear();
  }
  if (g_survey.questionCount > 0) g_survey.items[g_survey.questionCount].pageBreak[kind] = 1;
  ShowTallyPageRange();
}

}  // namespace

double TallyPercentBase(int table, int q) {
  const TallyCountTable& t = g_tallyCounts[table];
  switch (g_printSettings.percentBase) {
    case 2: return t.counts[q][0];
    case 3: return g_survey.items[q].switch06 == 1 ? t.counts[q][0] : t.base[q];
    default: return t.base[q];
  }
}

void BreakPageWhenFull() { KeepLinesTogether(1); }

void KeepLinesTogether(int lines) {
  const ReportOutputContext& r = g_reportOutput;
  if (r.mode != kReportPrinter || r.pageHeight <= 0 || r.linePitch <= 0) return;
  const int pageLines = (r.pageHeight - 10 * r.topMargin) / r.linePitch;
  const int used = r.lineNumber + r.extraVertical / std::max(1, r.scale) / r.linePitch;
  // A block longer than a page starts where it is and runs on.
  if (used == 0 || used + lines <= pageLines || (lines > pageLines && lines != 1)) return;
  PrintPageNumber(g_tally.page, g_printSettings.pageNumbers, 0);
  NextPrintPage();
  ++g_tally.page;
}

int RunTally(int printMode, int outputKind) {
  if (outputKind < kTallySimple || outputKind > kTallyLastKind) return -1;
  if (!StartTallyOutput(printMode)) return -1;
  if (OpenTallyTable() != 0) {
    EndPrintJob();
    return -1;
  }
  g_tally.outputKind = outputKind;
  ReadLayout(outputKind);
  LoadGroupColumns();
  ClearRunCounts();
  if (outputKind > kTallyCrossBoth) PrepareTallyGraphs(outputKind);
  g_tally.page = 1;
  if (!IsCsv()) ShowPageRange(outputKind);
  const bool crossNeedsGroups = (outputKind == kTallyCrossFirst && g_survey.groupItem[1].empty()) ||
                                (outputKind == kTallyCrossBoth &&
                                 (g_survey.groupItem[1].empty() || g_survey.groupItem[2].empty()));
  for (int q = 1; q <= g_survey.questionCount && !crossNeedsGroups; ++q) {
    const SurveyItem& item = g_survey.items[q];
    if (!IsCsv() && g_tally.page < g_tally.startPage) {
      if (item.pageBreak[outputKind] == 1 && item.printOff[outputKind] == 0) ++g_tally.page;
      continue;
    }
    if (SkipsQuestion(outputKind, q)) continue;
    LoadChoiceCodes(q);
    LoadDigitGridChoices(q);
    if (outputKind <= kTallyCrossBoth) {
      PrintTable(outputKind, q);
    } else if (FeedTallyGraph(outputKind, q) != 0) {
      q = g_survey.questionCount;
    }
    if (AbortPrintJob() != 0 || !FinishQuestion(outputKind, q)) break;
  }
  CloseTallyTable();
  if (IsCsv()) {
    const std::string path = g_printSettings.file;
    EndPrintJob();
    if (!ReportTextFileWritten()) {
      ShowErrorMessage("", "ＣＳＶファイル“%s”に出力できませんでした。", path.c_str());
      return -1;
    }
    ShowInfoMessage("", "ＣＳＶファイル“%s”に出力しました。", path.c_str());
    return 0;
  }
  if (g_printSettings.pageNumbers == 1 && g_reportOutput.lineNumber > 0) {
    PrintPageNumber(g_tally.page, 1, 0);
  }
  NextPrintPage();
  EndPrintJob();
  return 0;
}
