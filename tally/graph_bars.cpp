// Bar graphs (a row per answer: its count, a bar as long as its share and
// the share in percent) and choice graphs (one 100 % bar per question or
// per grouping value, cut into a coloured segment per choice, under a
// legend that wraps over rows and a frame with ticks every 10 %), drawn on
// the report in report units times the scale. At most 30 choices a graph.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "foundation/msgbox.h"
#include "tally/report_internal.h"

GraphSettings g_graphSettings;

namespace {

// Colour code of the ticks of the choice graph's frame.
constexpr int kTickColor = 1;
// Bytes of a legend label.
constexpr int kLegendLabelBytes = 100;

int Scale() { return ReportScale(); }
int Tick() { return g_graphSettings.tick * Scale(); }

int ReportFontHeight() { return 2 * g_reportOutput.fontSize * Scale(); }

void SelectReportFont() { SelectPrinterFont(0, ReportFontHeight()); }

// Text at device (x, y before the y sign); an opaque white ground with
// `opaque`.
void GraphText(int x, int y, const std::string& text, bool opaque = false) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
  SetBkColor(dc, RGB(255, 255, 255));
  SetTextColor(dc, RGB(0, 0, 0));
  TextOutA(dc, x, y * g_reportOutput.ySign, text.c_str(), static_cast<int>(text.size()));
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// The frame of the choice graphs of a group, recorded by its bars.
struct GridFrame {
  int left = 0, top = 0, right = 0, bottom = 0;
};
GridFrame g_gridFrame;

// A frame and ten ticks pointing up from its bottom, one every 10 %.
void DrawFrameWithTicks(const GridFrame& f) {
  ReportLine(f.left, f.top, f.right, f.bottom);
  const int tick = Tick();
  const int length = 5 * Scale();
  const int sign = g_reportOutput.ySign;
  for (int i = 1; i <= 10; ++i) {
    const int x = f.left + tick * 10 * i;
    ReportLineColor(ReportDrawDC(), x, f.bottom * sign, x, (f.bottom - length) * sign, 1,
                    kTickColor);
  }
}

// The legend's labels: at most 30, of at most 100 bytes each.
std::vector<std::string> LegendLabels(const char* labels) {
  std::vector<std::string> list{std::string()};
  std::vector<char> label(kLegendLabelBytes + 1);
  ResetCsvFieldSplitter();
  int rc = 0;
  do {
    rc = SplitCsvField(label.data(), kLegendLabelBytes, labels);
    if (rc == -2) {  // a longer label keeps its first 100 bytes
      list.emplace_back(label.data());
      break;
    }
    list.emplace_back(label.data());
  } while (rc > 0 && static_cast<int>(list.size()) <= kGraphColorSlots);
  return list;
}

// The metrics of the legend's font, which is selected while it is used.
struct LegendMetrics {
  int digit = 0;  // e
  int textHeight = 0;
  int rowHeight = 0;
};

LegendMetrics SelectLegendFont() {
  SelectPrinterFont(0, static_cast<int>(0.8 * 2 * g_reportOutput.fontSize * Scale()));
  LegendMetrics m;
  m.digit = ReportDigitWidth();
  m.textHeight = g_reportOutput.textHeight;
  m.rowHeight = m.textHeight + m.textHeight / 2;
  return m;
}

int LegendEntryWidth(const LegendMetrics& m, const std::string& label) {
  return 3 * m.digit + ReportTextWidth(label.c_str());
}

int LegendRowWidth(const LegendMetrics& m, const std::vector<std::string>& labels, int first,
                   int last) {
  int width = 0;
  for (int k = first; k <= last; ++k) {
    width += LegendEntryWidth(m, labels[k]) + (k > first ? 5 * m.digit : 0);
  }
  return width;
}

// The rows of the legend: [first, last] of each, as many choices a row as
// fit into the full bar.
std::vector<std::pair<int, int>> LegendRows(const LegendMetrics& m,
                                            const std::vector<std::string>& labels, int n) {
  std::vector<std::pair<int, int>> rows;
  const int available = Tick() * 100;
  for (int first = 1; first <= n;) {
    int last = first;
    while (last + 1 <= n && LegendRowWidth(m, labels, first, last + 1) < available) ++last;
    rows.emplace_back(first, last);
    first = last + 1;
  }
  return rows;
}

int g_legendRows = 0;
int g_legendRowHeight = 0;
int g_legendTitleMiddle = 0;

}  // namespace

void DrawChoiceLegend(const std::vector<std::string>& labels, int first, int last, int x, int top,
                      int bottom) {
  const LegendMetrics m = SelectLegendFont();
  for (int k = first; k <= last && k <= kGraphColorSlots; ++k) {
    const GraphColor& color = g_workingColors[k];
    DrawGraphBar(x, top, x + 2 * m.digit, bottom, color.colorCode, color.pattern);
    GraphText(x + 3 * m.digit, top, labels[k]);
    x += LegendEntryWidth(m, labels[k]) + 5 * m.digit;
  }
}

int MeasureChoiceLegend(const std::vector<std::string>& labels, int first, int last) {
  return LegendRowWidth(SelectLegendFont(), labels, first, last);
}

int LayoutChoiceLegend(const char* labelText, int n, int yOrigin, int xOrigin, int pass) {
  const std::vector<std::string> labels = LegendLabels(labelText);
  n = std::min(n, static_cast<int>(labels.size()) - 1);
  const LegendMetrics m = SelectLegendFont();
  const std::vector<std::pair<int, int>> rows = LegendRows(m, labels, n);
  g_legendRows = static_cast<int>(rows.size());
  g_legendRowHeight = m.rowHeight;
  if (pass == 0 || rows.empty()) return 0;
  const ReportOutputContext& r = g_reportOutput;
  const int full = Tick() * 100;
  int widest = 0;
  for (const auto& row : rows) {
    widest = std::max(widest, LegendRowWidth(m, labels, row.first, row.second));
  }
  // One row stands at the bar's right end; several stand in one block,
  // flush with the right end of the widest.
  int offset = full - widest;
  if (offset < 0) offset = 10 * Scale();
  const int x = xOrigin + r.columnOffset + offset;
  for (size_t k = 0; k < rows.size(); ++k) {
    const int y = r.lineNumber * r.lineHeight + yOrigin + r.extraVertical - Tick() +
                  static_cast<int>(k) * m.rowHeight;
    const int top = y + 3 * m.digit / 2 - Tick() + 2;
    DrawChoiceLegend(labels, rows[k].first, rows[k].second, x, top, top + m.textHeight);
  }
  return 0;
}

int DrawBarGraph(double count, double total, int choice, const char* label, int labelWidth,
                 const char* question, int questionWidth) {
  ReportOutputContext& r = g_reportOutput;
  const int s = Scale();
  const int tick = Tick();
  const double percent = TallyPercent(count, total);
  const int length = static_cast<int>(std::lround(tick * percent));
  if (*question) {
    ReportPrintCellWidth(questionWidth + 2, "%s", question);
    AdvanceReportColumn(2);
  }
  ReportPrintCellWidth(labelWidth + 2, "%s", label);
  const ReportCellGeometry g = ComputeCellGeometry(r);
  const int rowHeight = g_graphSettings.lineFeed * s;
  const int x = g.x;
  const int y = g.y;
  const std::string countText = Format("%5.0f ", count);
  const int countEnd = x + ReportTextWidth(countText.c_str());
  const int textTop = y + (rowHeight - r.textHeight) / 2;
  GraphText(x, textTop, countText);
  ReportLine(x, y, countEnd - s, y + rowHeight);
  if (length != 0) {
    const GraphColor& color = g_graphColors[kGraphBar][GraphSlotOfChoice(choice, label)];
    const int barTop = y + (rowHeight - g_graphSettings.barHeight * s) / 2;
    DrawGraphBar(countEnd, barTop, countEnd + length, barTop + g_graphSettings.barHeight * s,
                 color.colorCode, color.pattern);
  }
  GraphText(countEnd + length, textTop, Format(" %0.1f ％", std::max(percent, 0.0)));
  ReportLine(x, y, countEnd + tick * 100, y + rowHeight);
  r.columnOffset += tick * 100;
  return AdvanceReportLine(1);
}

int DrawChoiceGraph(const char* labels, int n, const double* percents, const double* counts,
                    int labelMode, int position, const char* barTitle, const char* legendTitle) {
  ReportOutputContext& r = g_reportOutput;
  const int s = Scale();
  const int tick = Tick();
  const int barHeight = g_graphSettings.barHeight * s;
  SetReportLinePitch(g_graphSettings.lineFeed);
  r.lineHeight = g_graphSettings.lineFeed * s;
  const std::vector<std::string> labelList = LegendLabels(labels);
  SetWorkingColors(kGraphChoice, labelList);
  const ReportCellGeometry origin = ComputeCellGeometry(r);
  if (position <= 1) {
    AdvanceReportLine(3);
    LayoutChoiceLegend(labels, n, origin.y0, origin.x0, 0);
    LayoutChoiceLegend(labels, n, origin.y0, origin.x0, 1);
    const int firstRow = r.lineNumber * r.lineHeight + origin.y0 + r.extraVertical - tick;
    g_legendTitleMiddle = firstRow - g_legendRowHeight / 2;
    SelectReportFont();
    // The title stands just above the frame, which starts between it and
    // the legend.
    ReportTextWidth("0");
    GraphText(origin.x0 + r.columnOffset + r.extraColumn,
              g_legendTitleMiddle - r.textHeight - 2 * s, legendTitle);
  }
  SelectReportFont();
  AdvanceReportLine(1);
  if (position <= 1) r.extraVertical += g_legendRowHeight * g_legendRows;
  if (position == 1) r.extraVertical += g_legendRowHeight;
  const ReportCellGeometry g = ComputeCellGeometry(r);
  const int left = g.x;
  const int top = g.y;
  if (position >= 1) GraphText(left + tick, top - 2 * tick, barTitle);

  const double base = percents[0];
  int x = left;
  for (int k = 1; k <= n; ++k) {
    if (k > kGraphColorSlots) {
      ShowInfoMessage("", "選択肢の数が最大数(%d)を超えました。", kGraphColorSlots);
      break;
    }
    if (base <= 0) break;
    const int length = static_cast<int>(std::lround(tick * percents[k] / base * 100));
    if (length == 0) continue;
    const GraphColor& color = g_workingColors[k];
    DrawGraphBar(x, top + 3, x + length, top + barHeight - 4, color.colorCode, color.pattern);
    x += length;
  }
  // The segments' figures, centred in them.
  SelectPrinterFont(1, static_cast<int>(0.8 * ReportFontHeight()));
  ReportTextWidth("0");
  const int textHeight = r.textHeight;
  x = left;
  for (int k = 1; k <= std::min(n, kGraphColorSlots) && base > 0; ++k) {
    const int length = static_cast<int>(std::lround(tick * percents[k] / base * 100));
    if (length == 0) continue;
    const int middle = x + length / 2;
    const int centreY = top + barHeight / 2;
    const std::string percentText = Format("%.1f%%", percents[k]);
    const std::string countText = Format(labelMode == 2 ? "(%.0f)" : "%.0f", counts[k]);
    auto centred = [&](const std::string& text, int y) {
      GraphText(middle - ReportTextWidth(text.c_str()) / 2, y, text, true);
    };
    if (labelMode == 1) centred(percentText, centreY - textHeight / 2);
    if (labelMode == 0) centred(countText, centreY - textHeight / 2);
    if (labelMode == 2) {
      centred(percentText, centreY - textHeight);
      centred(countText, centreY);
    }
    x += length;
  }
  SelectReportFont();

  const int full = tick * 100;
  const GridFrame frame{left, g_legendTitleMiddle, left + full, top + barHeight + r.linePitch * s};
  if (position == 0) DrawFrameWithTicks(frame);
  if (position == 1) {
    g_gridFrame.left = frame.left;
    g_gridFrame.top = frame.top;
  }
  if (position >= 1) {
    g_gridFrame.right = frame.right;
    g_gridFrame.bottom = frame.bottom;
  }
  r.extraVertical += barHeight;
  return AdvanceReportLine(1);
}

void DrawGraphGrid() { DrawFrameWithTicks(g_gridFrame); }

int ReportStarRow(int digits, int widthDigits) {
  ReportOutputContext& r = g_reportOutput;
  const ReportCellGeometry g = ComputeCellGeometry(r);
  const int digit = ReportDigitWidth();
  const int width = widthDigits * digit / 2;
  ReportLine(g.x, g.y, g.x + width, g.y + g.lineHeight);
  if (digits >= 0) GraphText(g.x + digits * digit / 2, g.textTop, "*");
  r.columnOffset += width;
  return AdvanceReportLine(1);
}
