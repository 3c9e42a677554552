// Graphs of the tally: the counts of a question, or of one grouping value
// of it, turned into the values, labels and titles of a bar, choice, pie or
// radar graph; pies and radars laid out on a page grid of graphs per row.
#include <algorithm>
#include <cstdio>

#include "designer/survey.h"
#include "tally/tally.h"

GraphValues g_graphValues;

namespace {

// Bytes of a grouping value that selects rows.
constexpr int kMaxGroupValue = 50;
// Narrowest label column of a bar graph (digits).
constexpr int kMinBarLabelWidth = 6;

// The page grid of pies and radars (report units).
struct GraphGrid {
  int perRow = 1;
  int radius = 0;  // the notch: half the diameter setting, times 5
  int left = 0, top = 0;
  int gapX = 0, gapY = 0;
  int x = 0, y = 0;
  int onPage = 0;  // graphs on the page so far
  double radarMaximum = 1.0;
};
GraphGrid g_grid;

// Graphs drawn so far of the current question's grouping values: the
// first choice bar draws the legend, the first radar series the frame.
int g_groupGraphsDrawn = 0;

int LabelMode() {
  const std::string& flags = g_printSettings.countPercent;
  const bool counts = !flags.empty() && flags[0] == '1';
  const bool percents = flags.size() >= 2 && flags[1] == '1';
  if (counts && percents) return 2;
  return counts ? 0 : 1;
}

std::string GroupLabel(int groupRow) {
  if (groupRow < 1) return "";
  const std::vector<std::string> values = SplitCommaList(g_tally.groupValues[1]);
  if (groupRow > static_cast<int>(values.size())) return "";
  return GroupValueLabel(1, groupRow, values[groupRow - 1]);
}

std::string Bracketed(int question) { return "【" + g_survey.items[question].question + "】"; }

// The next place of a pie or radar: a new page's first when the graph
// would not fit the printer's page. Returns the centre.
GraphPoint PlaceOnGrid() {
  const ReportOutputContext& r = g_reportOutput;
  if (r.mode == kReportPrinter && g_grid.onPage > 0 && r.pageHeight > 0 &&
      g_grid.y + 2 * g_grid.radius > r.pageHeight - g_grid.top) {
    PrintPageNumber(g_tally.page, g_printSettings.pageNumbers, 0);
    NextPrintPage();
    ++g_tally.page;
    g_grid.onPage = 0;
  }
  if (g_grid.onPage == 0) {
    g_grid.x = g_grid.left;
    g_grid.y = g_grid.top;
  }
  return {g_grid.radius + g_grid.x, g_grid.radius + g_grid.y};
}

// The next row of the grid; its count of graphs starts at a whole row.
void NewGridRow() {
  g_grid.y += g_grid.gapY + 2 * g_grid.radius;
  g_grid.x = g_grid.left;
  g_grid.onPage = (g_grid.onPage + g_grid.perRow - 1) / g_grid.perRow * g_grid.perRow;
}

// After a graph: across to the next column, or down to the next row.
void AdvanceGrid() {
  ++g_grid.onPage;
  if (g_grid.onPage % g_grid.perRow != 0) {
    g_grid.x += g_grid.gapX + 2 * g_grid.radius;
  } else {
    NewGridRow();
  }
}

// Ends a row that holds graphs already.
void EndGridRow() {
  if (g_grid.x != g_grid.left) NewGridRow();
}

// Counts the rows a selection positioned on; false without a hit.
bool CountedWithHits(int q, int positioned) {
  ClearQuestionCounts();
  if (positioned == 0) CountQuestionAnswers(q);
  return g_tallyCounts[kQuestionCounts].counts[q][0] > 0;
}

int FeedOne(int outputKind, int q, int groupRow) {
  switch (outputKind) {
    case 4:
    case 5: return FeedBarGraph(outputKind == 5 ? 1 : 0, q, groupRow);
    case 6:
    case 7: return FeedChoiceGraph(q, groupRow);
    case 8:
    case 9: return FeedPieGraph(q, groupRow);
    case 10:
    case 11: return FeedRadarGraph(q, groupRow);
    default: return FeedGroupRadarGraph(q, groupRow);
  }
}

}  // namespace

void PrepareTallyGraphs(int outputKind) {
  const PrintSettings& s = g_printSettings;
  g_graphSettings.tick = s.notch;
  g_graphSettings.barHeight = s.labelHeight;
  g_graphSettings.lineFeed = s.lineSpacing > 0 ? s.lineSpacing : 2 * s.charSize;
  g_graphSettings.labelFontSize = s.charSize;
  g_grid = GraphGrid();
  g_grid.perRow = s.columns > 0 ? s.columns : 1;
  g_grid.radius = s.notch / 2 * 5;
  g_grid.left = s.leftMargin * 5;
  g_grid.top = s.topMargin * 5;
  g_grid.gapX = s.gapX * 4;
  g_grid.gapY = s.gapY * 4;
  g_grid.radarMaximum = s.radarMaximum >= 1 && s.radarMaximum <= 100 ? s.radarMaximum / 100.0 : 1.0;
  const int graphType = outputKind <= 5   ? kGraphBar
                        : outputKind <= 7 ? kGraphChoice
                        : outputKind <= 9 ? kGraphPie
                                          : kGraphRadar;
  LoadGraphColors(g_survey.folder.c_str(), g_survey.database.c_str(), g_survey.kind, graphType);
}

int PrepareGraphValues(int question, int withLabels) {
  const TallyCountTable& t = g_tallyCounts[kQuestionCounts];
  const double base = TallyPercentBase(kQuestionCounts, question);
  GraphValues& v = g_graphValues;
  v = GraphValues();
  const TallyChoiceList& list = g_tally.choices[question];
  auto add = [&](double count, const std::string& label) {
    v.counts.push_back(count);
    v.percents.push_back(TallyPercent(count, base));
    v.counts[0] += count;
    v.percents[0] += v.percents.back();
    v.labels.push_back(label);
    ++v.n;
  };
  for (int k = 1; k < static_cast<int>(list.labels.size()); ++k)
    add(t.counts[question][k], list.labels[k]);
  int extras = 0;
  if (g_tally.include.noAnswer && g_survey.items[question].switch05 != 1) {
    add(t.noAnswer[question], withLabels ? "無回答" : "");
    ++extras;
  }
  if (g_tally.include.over) {
    add(t.over[question], withLabels ? "ｵｰﾊﾞｰ" : "");
    ++extras;
  }
  return extras;
}

void PrintGraphTitle(int question) {
  SetReportFrameOn(0);
  ReportPrintCell("【%-s】", g_survey.items[question].question.c_str());
  SetReportFrameOn(1);
  AdvanceReportLine(1);
}

int FeedBarGraph(int groups, int question, int groupRow) {
  const SurveyItem& item = g_survey.items[question];
  SetReportLinePitch(g_graphSettings.lineFeed);
  // The title with the bars of the question, or of the group, on one page.
  const int bars = static_cast<int>(g_tally.choices[question].labels.size()) + 1;
  KeepLinesTogether((groupRow <= 1 ? 1 : 0) + bars);
  if (groupRow <= 1) PrintGraphTitle(question);
  if (item.codes.empty() || IsQuestionGroupItem(groups, question) != 0 ||
      item.printOff[g_tally.outputKind] != 0) {
    return 0;
  }
  const TallyCountTable& t = g_tallyCounts[kQuestionCounts];
  const double base = TallyPercentBase(kQuestionCounts, question);
  const TallyChoiceList& list = g_tally.choices[question];
  const int labelWidth = std::max(list.longest, kMinBarLabelWidth);
  const int groupWidth = groups > 0 ? std::max(g_tally.groupLongest[1], kMinBarLabelWidth) : 0;
  const std::string groupLabel = GroupLabel(groupRow);
  int row = 0;
  auto bar = [&](double count, int choice, const std::string& label) {
    const std::string groupCell = groups == 0 ? ""
                                  : row == 0  ? groupLabel
                                              : std::string(groupWidth, ' ');
    DrawBarGraph(count, base, choice, label.c_str(), labelWidth, groupCell.c_str(), groupWidth);
    ++row;
    BreakPageWhenFull();
  };
  for (int k = 1; k < static_cast<int>(list.labels.size()); ++k)
    bar(t.counts[question][k], k, list.labels[k]);
  if (g_tally.include.noAnswer && item.switch05 != 1)
    bar(t.noAnswer[question], kNoAnswerSlot, "無回答");
  if (g_tally.include.over) bar(t.over[question], kOverSlot, "ｵｰﾊﾞｰ");
  return ReportRowFits() ? 0 : -1;
}

int FeedChoiceGraph(int question, int groupRow) {
  PrepareGraphValues(question, 1);
  const GraphValues& v = g_graphValues;
  std::string labels;
  for (int k = 1; k <= v.n; ++k) {
    const std::string& label = v.labels[k];
    labels += (k > 1 ? "," : "") +
              (label.find_first_of(",\"") == std::string::npos ? label : "\"" + label + "\"");
  }
  const int position = groupRow == 0 ? 0 : ++g_groupGraphsDrawn;
  if (position <= 1) {
    // The legend and the question's bars (of every group) on one page.
    SetReportLinePitch(g_graphSettings.lineFeed);
    const int bars = groupRow == 0 ? 1 : g_tally.groupValueCount[1];
    const int feed = std::max(g_graphSettings.lineFeed, 1);
    KeepLinesTogether(6 + bars * (2 + g_graphSettings.barHeight / feed));
  }
  DrawChoiceGraph(labels.c_str(), v.n, v.percents.data(), v.counts.data(), LabelMode(), position,
                  GroupLabel(groupRow).c_str(), Bracketed(question).c_str());
  BreakPageWhenFull();
  return ReportRowFits() ? 0 : -1;
}

int FeedPieGraph(int question, int groupRow) {
  PrepareGraphValues(question, 1);
  const GraphPoint centre = PlaceOnGrid();
  const std::string title = Bracketed(question) + GroupLabel(groupRow);
  const GraphValues& v = g_graphValues;
  std::vector<double> shares = v.percents;
  if (DrawPieGraph(centre.x, centre.y, g_grid.radius, v.n, shares.data(), v.counts.data(),
                   LabelMode(), v.labels, title.c_str()) != 0) {
    return 1;
  }
  AdvanceGrid();
  return 0;
}

int FeedRadarGraph(int question, int groupRow) {
  PrepareGraphValues(question, 1);
  const GraphPoint centre = PlaceOnGrid();
  const std::string title = Bracketed(question) + GroupLabel(groupRow);
  const GraphValues& v = g_graphValues;
  if (DrawRadarGraph(centre.x, centre.y, g_grid.radius, v.n, v.percents.data(), v.counts.data(),
                     LabelMode(), g_grid.radarMaximum, v.labels, title.c_str()) != 0) {
    return 1;
  }
  AdvanceGrid();
  return 0;
}

int FeedGroupRadarGraph(int question, int groupRow) {
  PrepareGraphValues(question, 1);
  // Every grouping value of the question is a series of one chart, which
  // the grid moves past after the last (FeedTallyGraph).
  const int series = ++g_groupGraphsDrawn;
  const GraphPoint centre =
      series == 1 ? PlaceOnGrid() : GraphPoint{g_grid.radius + g_grid.x, g_grid.radius + g_grid.y};
  const GraphValues& v = g_graphValues;
  // The axes bear their labels only: values would be those of one series.
  return DrawRadarChart(centre.x, centre.y, g_grid.radius, v.n, v.percents.data(), v.counts.data(),
                        -1, g_grid.radarMaximum, v.labels, Bracketed(question).c_str(), series,
                        GroupLabel(groupRow).c_str()) != 0
             ? 1
             : 0;
}

int FeedTallyGraph(int outputKind, int question) {
  const bool perGroup =
      outputKind == 5 || outputKind == 7 || outputKind == 9 || outputKind == 11 || outputKind == 12;
  if (!perGroup) {
    if (!CountedWithHits(question, PositionTallyTable(g_tally.slot, 0))) return 0;
    return FeedOne(outputKind, question, 0) != 0 ? 1 : 0;
  }
  if (g_survey.groupItem[1].empty() || IsQuestionGroupItem(1, question) != 0) return 0;
  const std::vector<std::string> values = SplitCommaList(g_tally.groupValues[1]);
  g_groupGraphsDrawn = 0;
  for (size_t i = 0; i < values.size(); ++i) {
    std::string value = values[i];
    if (value.size() > static_cast<size_t>(kMaxGroupValue)) value.resize(kMaxGroupValue);
    const int row = static_cast<int>(i) + 1;
    if (!CountedWithHits(question, SearchTallyByPattern(g_tally.slot, value.c_str(), "", 1))) {
      continue;
    }
    if (FeedOne(outputKind, question, row) != 0) return 1;
    if (outputKind != 7 && outputKind != 12) ++g_groupGraphsDrawn;
  }
  if (g_groupGraphsDrawn == 0) return 0;
  // After the last value of a group: the frame of its choice bars, and the
  // next pie or radar starts a new row.
  if (outputKind == 7) {
    DrawGraphGrid();
  } else if (outputKind == 12) {
    // Below the chart its legend: a line of 1.5 text heights per series.
    g_grid.y += 3 * g_graphSettings.labelFontSize * (g_groupGraphsDrawn + 1);
    AdvanceGrid();
    EndGridRow();
  } else if (outputKind != 5) {
    EndGridRow();
  }
  return 0;
}
