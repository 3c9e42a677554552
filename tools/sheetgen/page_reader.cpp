// The reading run's steps on a page in memory, for benchmarks and tests.
#include "tools/sheetgen/page_reader.h"

#include <cmath>
#include <utility>

#include "platform/raster.h"
#include "platform/component_eraser.h"

namespace {

char EditLetterFromWord(const std::string& word) {
  if (word == "０埋") return 'Z';
  if (word == "Ｂ除") return 'D';
  if (word == "右詰") return 'R';
  if (word == "ﾁｪｯｸ") return 'C';
  if (word == "BMAP") return 'I';
  return 'L';
}

void UseSearchSettingsOf(const SheetPaperRow& paper) {
  g_markSearchSettings = {};
  g_markSearchSettings.compensationMode = paper.compensationMode;
}

// Turns the page by `hundredths` of a degree anticlockwise on a canvas that
// holds all of it, white where nothing was, as the imaging library does.
void TurnPage(SheetImage* page, int hundredths) {
  const SheetBitmap& from = page->bitmap;
  int width = 0, height = 0;
  RotatedSize(page->fileWidth, from.height, hundredths, &width, &height);
  SheetImage turned;
  turned.fileWidth = width;
  turned.bitmap = from;
  turned.bitmap.width = static_cast<int16_t>((width + 31) / 32 * 32);
  turned.bitmap.height = static_cast<int16_t>(height);
  turned.bitmap.bytesPerLine = static_cast<int16_t>(turned.bitmap.width / 8);
  turned.pixels.assign(static_cast<std::size_t>(turned.bitmap.bytesPerLine) * height, 0);
  turned.bitmap.bits = turned.pixels.data();
  const uint32_t white = from.polarity == 0 ? 1 : 0;
  const Raster source{page->fileWidth, from.height, 1, from.bytesPerLine, from.bits};
  const Raster target{width, height, 1, turned.bitmap.bytesPerLine, turned.bitmap.bits};
  RotateRaster(source, target, hundredths, white);
  *page = std::move(turned);
  page->bitmap.bits = page->pixels.data();
}

}  // namespace

SheetImage SheetImageFromGenerated(const GeneratedSheet& sheet) {
  SheetImage image;
  image.fileWidth = sheet.width;
  SheetBitmap& b = image.bitmap;
  b.width = static_cast<int16_t>((sheet.width + 31) / 32 * 32);
  b.height = static_cast<int16_t>(sheet.height);
  b.bytesPerLine = static_cast<int16_t>(b.width / 8);
  b.dpi = static_cast<int16_t>(sheet.dpi);
  b.polarity = 0;
  image.pixels.assign(static_cast<std::size_t>(b.bytesPerLine) * sheet.height, 0xFF);
  b.bits = image.pixels.data();
  for (int y = 0; y < sheet.height; ++y) {
    const uint8_t* black = sheet.black.data() + static_cast<std::size_t>(y) * sheet.width;
    uint8_t* row = b.bits + static_cast<std::size_t>(y) * b.bytesPerLine;
    for (int x = 0; x < sheet.width; ++x) {
      if (black[x]) row[x / 8] &= static_cast<uint8_t>(~(0x80 >> (x % 8)));
    }
  }
  return image;
}

SheetFieldSpec FieldSpecFromRow(const SheetFieldRow& row) {
  SheetFieldSpec spec;
  spec.name = row.name;
  spec.editLetter = EditLetterFromWord(row.edit);
  spec.inputLetter = row.type == "一括" ? 'F' : row.type == "全長" ? 'Z' : 'X';
  spec.typeMask = row.mask;
  spec.column = row.x;
  spec.row = row.y;
  spec.boxWidth = row.boxWidth;
  spec.boxHeight = row.boxHeight;
  spec.boxCount = row.count;
  spec.pitch = row.gap;
  spec.markType = row.markType;
  spec.checkKind = row.charType == "数値" ? 2 : row.charType == "ﾌﾗｸﾞ" ? 3 : 1;
  spec.condition = row.condition;
  spec.codePattern = row.overlay;
  if (row.IsCheck()) {
    spec.threshold = row.threshold == 0 ? 10 : row.threshold;
    spec.boxShape = row.shape == "Ｍ" ? 23 : row.shape == "Ｃ" ? 24 : 0;
    spec.arrayDirection = row.type == "Ｘ" ? 2 : row.type == "Ｙ" ? 3 : 0;
    if (spec.arrayDirection && row.arrayCount >= 1) {
      spec.arrayRows = row.arrayCount < row.count ? row.arrayCount : row.count;
      spec.rowStep = row.arrayGap;
    }
  } else {
    spec.boxShape = 20;
    spec.decimals = row.decimals;
  }
  return spec;
}

SheetScale SheetScaleFor(const SheetPaperRow& paper, int dpi) {
  const int code = dpi == 300 ? 2 : dpi == 400 ? 3 : 1;
  return {DotsPerUnit(paper.ratioX[code - 1], dpi), DotsPerUnit(paper.ratioY[code - 1], dpi),
          paper.gridShiftX, paper.gridShiftY, 4};
}

PageReading ReadPageInMemory(SheetImage* page, const SheetPaperRow& paper,
                             const ReferenceMarks& references,
                             const std::vector<SheetFieldSpec>& fields, int pairedSide) {
  PageReading result;
  SheetBitmap& b = page->bitmap;
  const int speck = SpeckSizeForNoise(paper.noiseSize, b.dpi);
  if (speck > 0) {
    SpeckImage pixels{b.width, b.height, b.bytesPerLine, b.polarity == 0, b.bits};
    EraseSpecks(pixels, 0, 0, b.width - 1, b.height - 1, speck, nullptr);
  }
  UseSearchSettingsOf(paper);
  FindCorrectionMarks(page->bitmap, 1);
  result.tilt = g_cornerMarks.tilt;
  const int mode = paper.compensationMode;
  if (mode == 2 || mode == 3) {
    const double angle = g_cornerMarks.upsideDown ? g_cornerMarks.tilt + 180 : g_cornerMarks.tilt;
    if (angle != 0) {
      result.turnedHundredths = static_cast<int>(std::lround(angle * 100));
      TurnPage(page, result.turnedHundredths);
      FindCorrectionMarks(page->bitmap, 2);
    }
  }
  HoldMarksToSide(&g_cornerMarks, pairedSide, result.turnedHundredths != 0);
  UnpackSheetImage(page->bitmap, kUnpackWholeImage);
  result.missing = FindMissingMark(mode, g_cornerMarks, references);
  if (result.missing != MissingMark::kNone) return result;
  result.compensation = ComputeCompensationValues(mode, g_cornerMarks, references, {});
  result.read = true;
  SheetScale scale = SheetScaleFor(paper, page->bitmap.dpi);
  scale.dotsX = references.dotsX != 0 ? references.dotsX : scale.dotsX;
  scale.dotsY = references.dotsY != 0 ? references.dotsY : scale.dotsY;
  for (const SheetFieldSpec& field : fields) {
    const FieldBoxLayout layout = ComputeFieldLayout(field, scale, result.compensation);
    if (layout.skipped) {
      result.marks.emplace_back();
      result.boxes.emplace_back();
      continue;
    }
    FieldBoxReading reading = ReadFieldBoxes(layout, field.boxCount, page->bitmap.dpi);
    result.marks.push_back(std::move(reading.value));
    result.boxes.push_back(std::move(reading.boxes));
  }
  return result;
}

ReferenceMarks RegisterCleanPage(const SheetDefinition& definition, const std::string& side,
                                 int dpi, const GeneratedSheet* printedPage) {
  ReferenceMarks references;
  const SheetPaperRow* paper = definition.Paper(side);
  if (!paper) return references;
  SheetRequest request;
  request.side = side;
  request.dpi = dpi;
  request.printedPage = printedPage;
  const GeneratedSheet clean = GenerateSheet(definition, request);
  if (!clean.error.empty()) return references;
  const SheetImage image = SheetImageFromGenerated(clean);
  UseSearchSettingsOf(*paper);
  FindCorrectionMarks(image.bitmap, 1);
  const CornerMarkPositions& m = g_cornerMarks;
  references.x1 = m.topLeft.x, references.y1 = m.topLeft.y;
  references.x2 = m.topRight.x, references.y2 = m.topRight.y;
  references.x3 = m.bottomLeft.x, references.y3 = m.bottomLeft.y;
  const SheetScale scale = SheetScaleFor(*paper, dpi);
  references.dotsX = scale.dotsX;
  references.dotsY = scale.dotsY;
  references.gridShiftX = paper->gridShiftX;
  references.gridShiftY = paper->gridShiftY;
  return references;
}

SheetMarkRow RegisteredMarkRow(const SheetDefinition& definition, const std::string& side,
                               int dpi, const GeneratedSheet* printedPage) {
  const ReferenceMarks r = RegisterCleanPage(definition, side, dpi, printedPage);
  SheetMarkRow row;
  row.side = side;
  row.resolutionCode = dpi == 200 ? 1 : dpi == 400 ? 3 : 2;
  row.x1 = r.x1, row.y1 = r.y1, row.x2 = r.x2, row.y2 = r.y2;
  row.x3 = r.x3, row.y3 = r.y3;
  return row;
}
