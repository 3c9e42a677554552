// Printing a screen: the same walk as the screen engine's page painting,
// sent to the report output instead of the window. It lives with the report
// layer, not with the screen engine, because every caller (sheet printing,
// printed screens and print jobs) is a report and it calls only the report
// layer's field printing: the screen engine itself never prints, so it
// needs nothing above it.
#include <string>

#include "screen/screen.h"
#include "tally/tally.h"

void DrawWindowItems(int slot, int x, int y) {
  const WindowSlot& s = Slot(slot);
  // Content below the header band prints from the top of the page.
  y -= s.headerHeight;
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    const ScreenItem& item = Item(i);
    if (item.state == kItemHidden || item.titleStyle == 13) continue;
    if (item.itemClass == kItemClassSheet) {
      PrintSheetField(i, x, y);
      continue;
    }
    ItemCaptionRect r;
    GetItemRect(i, &r);
    if (r.placement != kCaptionNone) {
      PrintFieldText(i, r.placement == kCaptionSplit ? GetCaptionSplitText() : item.caption.c_str(),
                     x, y);
      if (ItemHasCaptionFrame(slot, item)) {
        PrintFieldFrame(r.left + x, r.top + y, r.right + x, r.bottom + y, 0);
        if (item.itemClass == kItemClassThickFrame) {
          PrintFieldFrame(r.left + x - 1, r.top + y - 1, r.right + x + 1, r.bottom + y + 1, 0);
        }
      }
    }
    const std::string text = FormatItemDisplayText(i);
    if (s.frameFlag) PrintFieldMarks(i, x, y);
    PrintFieldValue(i, text.c_str(), x, y);
  }
  const int colourState = g_sheetPaper.printColourState;
  const int sheetColour = colourState == 0 || colourState == 40 ? 0 : colourState;
  for (int k = s.firstLine; k < s.firstLine + s.lineCount && k < kMaxRuledLines; ++k) {
    const RuledLine& line = g_ruledLines[k];
    if (k < 0 || line.kind != 'L' || line.sizeCode == kRuledLineCutFrame) continue;
    if (line.x2 < line.x1 || line.y2 < line.y1) continue;
    SetPrintLineStyle(line.sizeCode == 5 ? 2 : 0);
    DrawPrintThickLine(line.x1 + x, line.y1 + y, line.x2 + x, line.y2 + y,
                       line.sizeCode >= 2 && line.sizeCode != 5 ? 2 : 1,
                       s.screenType == kScreenTypeSheet ? sheetColour : 0);
  }
  SetPrintLineStyle(0);
}
