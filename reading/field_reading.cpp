// Field reading on the canvas items of the sheet: every field's boxes laid
// over the aligned page, measured, and turned into the field's value, its
// densities and its mark pattern.
#include "designer/sheet_settings.h"
#include "reading/reading.h"
#include "screen/screen.h"

namespace {

constexpr char kDigitsMask[] = "1000000000";
constexpr char kCheckMask[] = "1100000000";

bool IsKeyField(int item) { return Item(item).name == g_sheetKeys.lastKeyName; }

SheetScale CurrentScale() {
  const ReferenceMarks& r = CurrentReferences();
  SheetScale scale;
  scale.dotsX = DotsPerUnit(r.dotsX, g_readingRun.dpi);
  scale.dotsY = DotsPerUnit(r.dotsY, g_readingRun.dpi);
  scale.gridShiftX = r.gridShiftX;
  scale.gridShiftY = r.gridShiftY;
  scale.unit = SheetDotsPerGridUnit();
  return scale;
}

// Reads one field into its item and result.
void ReadOneField(int item, const SheetScale& scale) {
  ScreenItem& it = Item(item);
  FieldResult& result = FieldResultOf(item);
  SheetFieldSpec spec = SheetFieldSpecOf(item);
  if (IsKeyField(item)) spec.typeMask = kDigitsMask;
  const FieldBoxLayout layout = ComputeFieldLayout(spec, scale, CurrentCompensation());
  result.recognitionMask = IsKeyField(item) ? 1 : layout.recognitionMask;
  if (layout.skipped) return;
  const FieldBoxReading reading = ReadFieldBoxes(layout, spec.boxCount, g_readingRun.dpi);
  result.boxes = reading.boxes;
  it.readValues = reading.densities;
  const bool check = spec.editLetter == 'C';
  const std::string typeMask = check ? kCheckMask : spec.typeMask;
  std::string value =
      PostProcessValue(spec, typeMask, reading.value, g_readingPlaces.replacements);
  if (check) {
    const CheckConversion converted = ConvertCheckMarks(spec, value);
    value = converted.value;
    result.markPattern = converted.pattern;
  } else {
    value = ApplyEditPattern(spec, layout.densityKind, value);
  }
  it.displayText = value;
}

}  // namespace

SheetFieldSpec SheetFieldSpecOf(int item) {
  const ScreenItem& it = Item(item);
  const bool check = it.edit == 'C';
  SheetFieldSpec spec;
  spec.name = it.name;
  spec.editLetter = it.edit;
  spec.inputLetter = it.kind;
  spec.typeMask = it.validChars.empty() ? kDigitsMask : it.validChars;
  spec.column = it.column;
  spec.row = it.row;
  spec.boxWidth = it.boxWidth;
  spec.boxHeight = it.boxHeight;
  spec.boxCount = it.width;
  spec.pitch = it.bSize;
  spec.threshold = it.threshold;
  spec.markType = it.markType;
  spec.checkKind = it.charType;
  spec.boxShape = it.boxShape;
  spec.condition = it.conversionText;
  spec.codePattern = it.overlayText;
  spec.patternWidth = it.fullWidth == 1 ? 1 : 0;
  if (check) {
    spec.arrayDirection = it.recordCode == 2 || it.recordCode == 3 ? it.recordCode : 0;
    spec.arrayRows = it.groupSize > 0 ? it.groupSize : 0;
    spec.rowStep = it.rowGap;
  } else {
    spec.decimals = it.count;
  }
  return spec;
}

std::vector<int> CanvasFieldItems() {
  std::vector<int> items;
  const int slot = g_currentSheet.canvasSlot;
  if (slot < 0 || slot >= kWindowSlotCount) return items;
  for (int i = Slot(slot).firstItem; i <= Slot(slot).lastItem && i >= 0; ++i) {
    if (!Item(i).code.empty() && Item(i).code[0] == '0') items.push_back(i);
  }
  return items;
}

bool KeyIsNumbered() { return g_sheetSettings.keyNumbering == 2; }

void ClearFieldResults() {
  for (int item : CanvasFieldItems()) {
    if (KeyIsNumbered() && IsKeyField(item)) continue;
    Item(item).displayText.clear();
    Item(item).readValues.clear();
    FieldResultOf(item) = FieldResult();
  }
}

int ReadSheetFields() {
  const int compensated = ComputeImageCompensation();
  if (compensated != 0) return compensated;
  ClearFieldResults();
  const SheetScale scale = CurrentScale();
  for (int item : CanvasFieldItems()) {
    if (KeyIsNumbered() && IsKeyField(item)) continue;
    ReadOneField(item, scale);
  }
  return 0;
}
