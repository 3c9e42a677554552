// Printing a screen: the same walk as the screen engine's page painting,
// sent to the report output instead of the window. It lives with the report
// layer, not with the screen engine, because every caller (sheet printing,
// printed screens and print jobs) is a report and it calls only the report
// layer's field printing: the screen engine itself never prints, so it
// needs nothing above it. In a text file the screen is written as text:
// one CSV line per line of the screen.
#include <algorithm>
#include <string>
#include <vector>

#include "screen/screen.h"
#include "tally/report_internal.h"

namespace {

bool IsSheetWindow(const WindowSlot& s) { return s.screenType == kScreenTypeSheet; }

bool Printed(const ScreenItem& item) { return item.state != kItemHidden && item.titleStyle != 13; }

// One text of a screen written to a file, at its place.
struct ScreenText {
  int y, x;
  std::string text;
};

// The value an item shows, as its printing draws it.
std::string ShownValue(int i) {
  const ScreenItem& item = Item(i);
  if (item.itemClass == kItemClassSheet) {
    const bool textItem = !item.code.empty() && item.code[0] == 'T';
    return textItem ? item.overlayText : item.displayText;
  }
  if (item.edit == 'I' || item.edit == '/' || item.kind == 'L') return "";
  return PrintedValueText(item.kind, FormatItemDisplayText(i));
}

// The captions and values of the slot's items, one CSV line per line of
// the screen (texts whose tops meet), left to right.
void WriteWindowText(const WindowSlot& s) {
  std::vector<ScreenText> texts;
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    const ScreenItem& item = Item(i);
    if (!Printed(item)) continue;
    ItemCaptionRect r;
    GetItemRect(i, &r);
    if (item.itemClass == kItemClassSheet) {
      if (!item.caption.empty()) texts.push_back({item.pixelY, item.pixelX - 1, item.caption});
    } else if (r.placement != kCaptionNone) {
      const bool beside = r.placement == kCaptionBeside || r.placement == kCaptionSplit;
      const std::string caption =
          r.placement == kCaptionSplit ? GetCaptionSplitText() : item.caption;
      texts.push_back({beside ? item.pixelY : r.top, r.left, caption});
    }
    const std::string value = ShownValue(i);
    if (!value.empty()) texts.push_back({item.pixelY, item.pixelX, value});
  }
  std::stable_sort(texts.begin(), texts.end(), [](const ScreenText& a, const ScreenText& b) {
    return a.y != b.y ? a.y < b.y : a.x < b.x;
  });
  std::string& line = g_reportOutput.csvLine;
  for (size_t k = 0; k < texts.size(); ++k) {
    AppendCsvField(line, texts[k].text.c_str(), false);
    if (k + 1 == texts.size() || texts[k + 1].y != texts[k].y) WriteReportCsvLine();
  }
}

}  // namespace

void DrawWindowItems(int slot, int x, int y) {
  const WindowSlot& s = Slot(slot);
  if (g_reportOutput.mode == kReportTextFile) {
    WriteWindowText(s);
    return;
  }
  // Sheets count in millimetres of their canvas (its grid unit of pixels),
  // screens in pixels, whatever window was current when the job began.
  ReportOutputContext& r = g_reportOutput;
  const int jobDivisor = r.unitDivisor;
  const bool sheet = IsSheetWindow(s);
  r.unitDivisor = sheet ? SheetDotsPerGridUnit() : 0;
  // Content below the header band prints from the top of the page.
  y -= s.headerHeight;
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    const ScreenItem& item = Item(i);
    if (!Printed(item)) continue;
    if (item.itemClass == kItemClassSheet) {
      PrintSheetField(i, x, y);
      continue;
    }
    ItemCaptionRect rect;
    GetItemRect(i, &rect);
    if (rect.placement != kCaptionNone) {
      PrintFieldText(
          i, rect.placement == kCaptionSplit ? GetCaptionSplitText() : item.caption.c_str(), x, y);
      if (ItemHasCaptionFrame(slot, item)) {
        PrintFieldFrame(rect.left + x, rect.top + y, rect.right + x, rect.bottom + y, 0);
        if (item.itemClass == kItemClassThickFrame) {
          PrintFieldFrame(rect.left + x - 1, rect.top + y - 1, rect.right + x + 1,
                          rect.bottom + y + 1, 0);
        }
      }
    }
    const std::string text = FormatItemDisplayText(i);
    if (s.frameFlag) PrintFieldMarks(i, x, y);
    PrintFieldValue(i, text.c_str(), x, y);
  }
  const int sheetColour =
      IsMonochromePrint(g_sheetPrint.printColour) ? 0 : g_sheetPrint.printColour;
  for (int k = s.firstLine; k < s.firstLine + s.lineCount && k < kMaxRuledLines; ++k) {
    const RuledLine& line = g_ruledLines[k];
    if (k < 0 || line.kind != 'L' || line.sizeCode == kRuledLineCutFrame) continue;
    if (line.x2 < line.x1 || line.y2 < line.y1) continue;
    SetPrintLineStyle(line.sizeCode == 5 ? 2 : 0);
    DrawPrintThickLine(line.x1 + x, line.y1 + y, line.x2 + x, line.y2 + y,
                       line.sizeCode >= 2 && line.sizeCode != 5 ? 2 : 1, sheet ? sheetColour : 0);
  }
  SetPrintLineStyle(0);
  r.unitDivisor = jobDivisor;
}
