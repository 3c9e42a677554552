// Pie graphs (a slice per choice in its colour and pattern, labels placed
// so that narrow neighbours do not collide, a legend beside the pie) and
// radar graphs (an axis per choice, dotted rings every 10 %, the shares as a
// closed line; several series in one chart), drawn around a centre given in
// report units on the preview or the printer.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "tally/report_internal.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// Radar colours (graph type 4): the single series, the rings, the axes;
// series e of a chart takes slot 3 + e.
constexpr int kSeriesSlot = 1;
constexpr int kRingSlot = 2;
constexpr int kAxisSlot = 3;
// Report units of a chart's legend sample line.
constexpr int kSampleLength = 60;

int Scale() { return ReportScale(); }
int Sign() { return g_reportOutput.ySign; }

// Text with its left end at device x and its top at device y (before the
// y sign).
void TextAt(int x, int y, const std::string& text) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  TextOutA(dc, x, y * Sign(), text.c_str(), static_cast<int>(text.size()));
}

int TextWidth(const std::string& text) { return ReportTextWidth(text.c_str()); }
int TextHeight() {
  ReportTextWidth("0");
  return g_reportOutput.textHeight;
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

int LabelFontHeight() { return 2 * g_graphSettings.labelFontSize * Scale(); }
int ReportFontHeight() { return 2 * g_reportOutput.fontSize * Scale(); }

// True in a preview when the centre lies below the page: nothing is drawn.
bool BelowPreviewPage(int y) {
  return g_reportOutput.mode == kReportPreview && g_reportOutput.pageHeight > 0 &&
         y > g_reportOutput.pageHeight;
}

const std::string& LabelOf(const std::vector<std::string>& labels, int i) {
  static const std::string kEmpty;
  return i < static_cast<int>(labels.size()) ? labels[i] : kEmpty;
}

// The radar being drawn, for its labels.
struct RadarState {
  int x = 0, y = 0, r = 0;
  int lowestAxisEnd = 0;  // report units
};
RadarState g_radar;

// A closed line through points at `radii[k]` on the n axes (report units).
void DrawRadarPolygon(int n, const std::vector<int>& radii, int width, int colorCode, bool wide) {
  const double step = 2 * kPi / n;
  for (int k = 0; k < n; ++k) {
    const GraphPoint a = GraphPointAt(g_radar.x, g_radar.y, k * step - kPi / 2, radii[k]);
    const GraphPoint b =
        GraphPointAt(g_radar.x, g_radar.y, ((k + 1) % n) * step - kPi / 2, radii[(k + 1) % n]);
    if (wide) {
      ReportLineScaledWide(a.x, a.y, b.x, b.y, width, colorCode);
    } else {
      ReportLineScaled(a.x, a.y, b.x, b.y, width, colorCode);
    }
  }
}

// Title, axes, rings and their labels of a radar of n axes.
void DrawRadarFrame(int n, double maximum, const char* title) {
  const int s = Scale();
  const GraphColor* colors = g_graphColors[kGraphRadar];
  SelectPrinterFont(0, LabelFontHeight());
  const int digit = TextWidth("0");
  TextAt(g_radar.x * s - TextWidth(title) / 2,
         (g_radar.y - g_radar.r) * s - 5 * digit - TextHeight(), title);
  const double step = 2 * kPi / n;
  g_radar.lowestAxisEnd = g_radar.y;
  for (int k = 0; k < n; ++k) {
    const GraphPoint end = GraphPointAt(g_radar.x, g_radar.y, k * step - kPi / 2, g_radar.r);
    ReportLineScaled(g_radar.x, g_radar.y, end.x, end.y, 1, colors[kAxisSlot].colorCode);
    g_radar.lowestAxisEnd = std::max(g_radar.lowestAxisEnd, end.y);
  }
  const std::vector<int> rings = RadarRingRadii(maximum, g_radar.r);
  SetPrintLineStyle(2);
  for (int radius : rings) {
    DrawRadarPolygon(n, std::vector<int>(n, radius), 1, colors[kRingSlot].colorCode, false);
  }
  SetPrintLineStyle(0);
  SelectPrinterFont(0, static_cast<int>(0.9 * ReportFontHeight()));
  const int ringDigit = TextWidth("0");
  // Each label hangs below its ring, clear of the top axis' label above
  // the outer ring.
  for (size_t j = 1; j <= rings.size(); ++j) {
    if (!RadarRingLabelled(maximum, static_cast<int>(j))) continue;
    char text[16];
    std::snprintf(text, sizeof text, "%2d％", static_cast<int>(10 * j));
    TextAt(g_radar.x * s - ringDigit - TextWidth(text), (g_radar.y - rings[j - 1]) * s, text);
  }
  SelectPrinterFont(0, LabelFontHeight());
}

// Distances from the centre of a series' points on the n axes.
std::vector<int> SeriesRadii(int n, const double* shares, double maximum) {
  std::vector<int> radii(n);
  for (int k = 0; k < n; ++k) {
    radii[k] = RadarSeriesRadius(std::max(shares[k + 1], 0.0), maximum, g_radar.r);
  }
  return radii;
}

}  // namespace

void DrawPieSlice(int x, int y, int r, int startX, int startY, int endX, int endY, int penColor,
                  int fillColor, int pattern) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  const int s = Scale();
  const int sign = Sign();
  GdiOwner<HPEN> pen(CreateReportLinePen(1, penColor));
  GdiOwner<HBRUSH> brush(CreateGraphBrush(fillColor, pattern));
  SelectScope usePen(dc, pen.get());
  SelectScope useBrush(
      dc, brush.get() ? static_cast<HGDIOBJ>(brush.get()) : GetStockObject(NULL_BRUSH));
  UseGraphFill(dc);
  // GDI runs the arc counter-clockwise as the page is seen, from the start
  // radial to the end radial.
  Pie(dc, (x - r + 1) * s, (y - r + 1) * s * sign, (x + r) * s, (y + r) * s * sign, startX * s,
      startY * s * sign, endX * s, endY * s * sign);
}

void DrawPieLegend(int x, int y, int r, int n, const double* counts,
                   const std::vector<std::string>& labels) {
  const int s = Scale();
  SetReportCellFrame(0);
  SelectPrinterFont(0, static_cast<int>(0.9 * LabelFontHeight()));
  const int e = TextWidth("0");
  const bool withCounts =
      g_printSettings.countPercent.size() >= 3 && g_printSettings.countPercent[2] == '1';
  int countDigits = 1;
  for (int i = 1; i <= n; ++i) {
    countDigits = std::max(countDigits, static_cast<int>(Format("%.0f", counts[i]).size()));
  }
  const int left = (x + r) * s + 3 * e;
  int top = (y - r) * s;
  for (int i = 1; i <= n && i <= kGraphColorSlots; ++i) {
    const GraphColor& color = g_workingColors[i];
    DrawGraphBar(left, top, left + 2 * e, top + 2 * e, color.colorCode, color.pattern);
    char text[160];
    if (withCounts) {
      std::snprintf(text, sizeof text, "(%*.0f)%s", countDigits, counts[i],
                    LabelOf(labels, i).c_str());
    } else {
      std::snprintf(text, sizeof text, "%s", LabelOf(labels, i).c_str());
    }
    TextAt(left + 5 * e, top, text);
    top += 3 * e;
  }
  SelectPrinterFont(0, LabelFontHeight());
  SetReportCellFrame(1);
}

int DrawPieGraph(int x, int y, int r, int n, const double* shares, const double* counts,
                 int labelMode, const std::vector<std::string>& labels, const char* title) {
  if (BelowPreviewPage(y)) return 1;
  const PieLayout layout = LayoutPieGraph(x, y, r, n, shares);
  if (layout.boundary.empty()) return 0;
  n = static_cast<int>(layout.painted.size()) - 1;
  SetWorkingColors(kGraphPie, labels);
  for (int i = 1; i <= n; ++i) {
    if (!layout.painted[i]) continue;
    const GraphColor& color = g_workingColors[std::min(i, kGraphColorSlots)];
    // Counter-clockwise from the slice's end to its start: the slice.
    const GraphPoint& start = layout.boundary[i + 1];
    const GraphPoint& end = layout.boundary[i];
    DrawPieSlice(x, y, r, start.x, start.y, end.x, end.y, 0, color.colorCode, color.pattern);
  }
  const int s = Scale();
  SelectPrinterFont(1, LabelFontHeight());
  const int textHeight = TextHeight();
  for (int i = 1; i <= n; ++i) {
    if (!layout.labelled[i]) continue;
    const int cx = layout.anchor[i].x * s;
    const int cy = layout.anchor[i].y * s;
    auto centred = [&](const std::string& text, int top) {
      TextAt(cx - TextWidth(text) / 2, top, text);
    };
    const std::string percent = Format("%.1f%%", shares[i]);
    if (labelMode == 0) centred(Format("%.0f", counts[i]), cy - textHeight / 2);
    if (labelMode == 1) centred(percent, cy - textHeight / 2);
    if (labelMode == 2) {
      centred(percent, cy - textHeight);
      centred(Format("(%.0f)", counts[i]), cy);
    }
  }
  SelectPrinterFont(0, ReportFontHeight());
  TextAt((x - r) * s, (y - r) * s - 5 * TextWidth("0") - TextHeight(), title);
  DrawPieLegend(x, y, r, n, counts, labels);
  SelectPrinterFont(0, ReportFontHeight());
  return 0;
}

void DrawRadarLabels(int axis, int n, int labelMode, double percent, double count,
                     const std::string& label) {
  const int s = Scale();
  std::string value;
  switch (labelMode) {
    case 0: value = Format("%.0f", count); break;
    case 1: value = Format("%.1f％", percent); break;
    case 2: value = Format("%.1f％", percent) + Format("(%.0f)", count); break;
    default: break;
  }
  const GraphPoint end =
      GraphPointAt(g_radar.x, g_radar.y, (axis - 1) * 2 * kPi / n - kPi / 2, g_radar.r);
  const int ex = end.x * s;
  const int ey = end.y * s;
  const int digit = TextWidth("0");
  const int height = TextHeight();
  const bool bottom = n % 2 == 0 && axis == n / 2 + 1;
  if (axis == 1 || bottom) {
    const std::string line = value.empty() ? label : label + " " + value;
    TextAt(ex - TextWidth(line) / 2, axis == 1 ? ey - height - digit / 2 : ey + digit / 2, line);
  } else if (axis - 1 > n / 2) {  // the left half
    TextAt(ex - TextWidth(label), ey - height - digit, label);
    TextAt(ex - TextWidth(value), ey - digit, value);
  } else {
    TextAt(ex + digit, ey - height - digit, label);
    TextAt(ex + digit, ey - digit, value);
  }
}

int DrawRadarChart(int x, int y, int r, int n, const double* shares, const double* counts,
                   int labelMode, double maximum, const std::vector<std::string>& labels,
                   const char* title, int series, const char* seriesName) {
  if (BelowPreviewPage(y)) return 1;
  if (n < 1) return 0;
  const int s = Scale();
  g_radar.x = x;
  g_radar.y = y;
  g_radar.r = r;
  if (series <= 1) DrawRadarFrame(n, maximum, title);
  const int slot = series >= 1 ? std::min(kSeriesSlot + 2 + series, kGraphColorSlots) : kSeriesSlot;
  const int color = g_graphColors[kGraphRadar][slot].colorCode;
  DrawRadarPolygon(n, SeriesRadii(n, shares, maximum), 2, color, true);
  if (series >= 1) {
    SelectPrinterFont(0, LabelFontHeight());
    const int height = TextHeight();
    const int lineY =
        g_radar.lowestAxisEnd * s + static_cast<int>(series * 1.5 * height) + height / 2;
    const int sign = Sign();
    ReportLineColor(ReportDrawDC(), (x - kSampleLength) * s, lineY * sign, x * s, lineY * sign,
                    2 * s, color);
    TextAt(x * s + TextWidth("0"), lineY - height / 2, seriesName);
  }
  if (series <= 1) {
    SelectPrinterFont(0, LabelFontHeight());
    for (int axis = 1; axis <= n; ++axis) {
      DrawRadarLabels(axis, n, labelMode, shares[axis], counts[axis], LabelOf(labels, axis));
    }
  }
  SelectPrinterFont(0, ReportFontHeight());
  return 0;
}

int DrawRadarGraph(int x, int y, int r, int n, const double* shares, const double* counts,
                   int labelMode, double maximum, const std::vector<std::string>& labels,
                   const char* title) {
  return DrawRadarChart(x, y, r, n, shares, counts, labelMode, maximum, labels, title, 0, "");
}
