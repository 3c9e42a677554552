// The colours of graphs: one GCOLOR row per graph type in the sheet
// definition, 30 slots each, loaded into memory when a graph is drawn and
// after the graph-colour window saved one; the working colours of the
// choices of one graph; and the coloured, hatched bar every graph draws.
#include <cstdio>

#include "designer/survey.h"
#include "foundation/db.h"
#include "foundation/gdi_draw.h"
#include "tally/report_internal.h"

GraphColor g_graphColors[kGraphRadar + 1][kGraphColorSlots + 1];
GraphColor g_workingColors[kGraphColorSlots + 1];
GraphColorWindowState g_graphColorWindow;

namespace {

constexpr char kColorTable[] = "GCOLOR";
constexpr char kColorSpec[] = "FSCRTBL3";

std::string TypeCode(int graphType) {
  char code[8];
  std::snprintf(code, sizeof code, "%02d", graphType);
  return code;
}

int OpenColorTable(const char* folder, const char* database, int kind) {
  return db_open(folder, database, kColorTable, kind, kColorSpec, kColorTable, "");
}

}  // namespace

int LoadGraphColors(const char* folder, const char* database, int kind, int graphType) {
  if (graphType < kGraphBar || graphType > kGraphRadar) return -1;
  GraphColor* colors = g_graphColors[graphType];
  for (int slot = 1; slot <= kGraphColorSlots; ++slot) {
    colors[slot] = DefaultGraphColor(graphType, slot);
  }
  const int table = OpenColorTable(folder, database, kind);
  if (table < 0) return -1;
  int result = 0;
  if (db_search(table, TypeCode(graphType).c_str(), "CODE") == 0) {
    for (int slot = 1; slot <= kGraphColorSlots; ++slot) {
      colors[slot] = ParseGraphColorText(GetColumnTextIdx(table, "GCOL", slot));
    }
  } else {
    db_clear(table);
    SetColumnText(table, "CODE", TypeCode(graphType).c_str());
    for (int slot = 1; slot <= kGraphColorSlots; ++slot) {
      SetColumnTextIdx(table, "GCOL", slot, FormatGraphColorText(graphType, colors[slot]).c_str());
    }
    result = db_add(table) == 0 ? 1 : -1;
  }
  db_close(table);
  return result;
}

void SetWorkingColors(int graphType, const std::vector<std::string>& labels) {
  for (int choice = 1; choice <= kGraphColorSlots; ++choice) {
    const char* label = choice < static_cast<int>(labels.size()) ? labels[choice].c_str() : "";
    g_workingColors[choice] = g_graphColors[graphType][GraphSlotOfChoice(choice, label)];
  }
}

HBRUSH CreateGraphBrush(int colorCode, int pattern) {
  const COLORREF color = ColorFromCode(colorCode);
  if (pattern == kFillSolid) return CreateSolidBrush(color);
  return pattern >= 0 ? CreateHatchBrush(pattern, color) : nullptr;
}

void UseGraphFill(HDC dc) {
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(255, 255, 255));
}

void DrawGraphBar(int left, int top, int right, int bottom, int colorCode, int pattern) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(CreatePen(PS_SOLID, 1, ColorFromCode(colorCode)));
  GdiOwner<HBRUSH> brush(CreateGraphBrush(colorCode, pattern));
  SelectScope usePen(dc, pen.get());
  SelectScope useBrush(
      dc, brush.get() ? static_cast<HGDIOBJ>(brush.get()) : GetStockObject(NULL_BRUSH));
  UseGraphFill(dc);
  const int sign = g_reportOutput.ySign;
  Rectangle(dc, left + 1, top * sign, right, bottom * sign);
}

int SaveGraphColor(int slot, const char* text) {
  const int type = g_graphColorWindow.graphType;
  const int table = OpenColorTable(g_survey.folder.c_str(), g_survey.database.c_str(), g_survey.kind);
  if (table < 0) return -1;
  int result = 0;
  if (slot >= 1 && slot <= kGraphColorSlots &&
      db_search(table, TypeCode(type).c_str(), "CODE") == 0) {
    SetColumnTextIdx(table, "GCOL", slot, text);
    result = db_update(table);
  }
  db_close(table);
  LoadGraphColors(g_survey.folder.c_str(), g_survey.database.c_str(), g_survey.kind, type);
  return result;
}
