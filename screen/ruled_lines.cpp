// The ruled-line table of all window slots and the window-level names that
// choose a slot's format file or background image.
#include <string>

#include "screen/screen.h"

RuledLine g_ruledLines[kMaxRuledLines];
RuledLineEditState g_lineEdit;

namespace {
// The name buffer holds 30 characters.
std::string CutName(const char* name) { return std::string(name ? name : "").substr(0, 30); }
}  // namespace

void SetNextWindowFormatFile(const char* name) {
  const int slot = FindFreeWindowSlot();
  if (slot >= 0) Slot(slot).pendingImage = CutName(name);
}

void SetWindowFormatFile(int slot, const char* name) {
  if (IsValidSlot(slot)) Slot(slot).formatFile = CutName(name);
}

void SetNextWindowImage(const char* name) {
  const int slot = FindFreeWindowSlot();
  if (slot < 0) return;
  Slot(slot).pendingImage = CutName(name);
  Slot(slot).windowKind = kWindowKindImage;
}

void FreeSlotRuledLines(int slot) {
  WindowSlot& s = Slot(slot);
  for (int i = s.firstLine; i < s.firstLine + s.lineCount && i < kMaxRuledLines; ++i) {
    if (i >= 0) g_ruledLines[i].kind = 0;
  }
  s.firstLine = 0;
  s.lineCount = 0;
}
