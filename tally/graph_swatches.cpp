// Each colour button shows what it stands for in a swatch inside its frame:
// the colour window's colours and patterns, and a graph type's colour
// slots. The button that takes the choice keeps its caption at the left.
#include "tally/graph_swatches.h"

#include "screen/screen.h"
#include "tally/report_internal.h"

void PaintGraphColorSwatches(HWND window, int slot) {
  if (!IsValidSlot(slot)) return;
  const WindowSlot& s = Slot(slot);
  HDC dc = GetDC(window);
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    const ScreenItem& item = Item(i);
    if (item.edit != 'G' || item.displayText.empty() || item.state == kItemHidden) continue;
    const GraphColor color = ParseGraphColorText(item.displayText.c_str());
    const bool select = item.name == "SELCOL";
    const int left = item.pixelX - s.scrollX + (select ? item.pixelWidth - item.pixelHeight : 0) + 4;
    const int top = item.pixelY - s.scrollY + 4;
    const int right = item.pixelX - s.scrollX + item.pixelWidth - 4;
    const int bottom = item.pixelY - s.scrollY + item.pixelHeight - 4;
    // The value's code is not shown beside its swatch.
    if (!select) {
      const RECT inside{left - 2, top - 2, right + 2, bottom + 2};
      FillRect(dc, &inside, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    }
    GdiOwner<HPEN> pen(CreatePen(PS_SOLID, 1, ColorFromCode(color.colorCode)));
    GdiOwner<HBRUSH> brush(CreateGraphBrush(color.colorCode, color.pattern));
    SelectScope usePen(dc, pen.get());
    SelectScope useBrush(dc, brush.get() ? static_cast<HGDIOBJ>(brush.get()) : GetStockObject(NULL_BRUSH));
    UseGraphFill(dc);
    Rectangle(dc, left, top, right, bottom);
  }
  ReleaseDC(window, dc);
}
