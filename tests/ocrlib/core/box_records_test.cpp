// Box operations: uniting, copying a box's component pixels and packing them
// into bits, and splicing the pieces of one cell into a line's results.
#include <gtest/gtest.h>

#include <vector>

#include "ocrlib/core/core_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

RunImage PageOf(penkit::BitImage& image) {
  const MupaImage d = image.Descriptor();
  return RunImage{d.width, d.height, 1, d.bytesPerLine, 200, d.bits};
}

RecogCharResult Result(uint16_t code, int left, int right) {
  RecogCharResult r;
  SetSingleResult(&r, code, MupaRect{static_cast<int16_t>(left), 0, static_cast<int16_t>(right), 9});
  return r;
}

std::vector<uint16_t> Codes(const std::vector<RecogCharResult>& results, int n) {
  std::vector<uint16_t> out;
  for (int i = 0; i < n; ++i) out.push_back(results[i].candidates[0].code);
  return out;
}

TEST(BoxRecords, UniteBoxesIntoEitherSource) {
  const MupaRect a = {5, 2, 9, 4}, b = {1, 3, 6, 8};
  MupaRect separate;
  EXPECT_EQ(UniteBoxes(a, b, &separate), 8);
  MupaRect intoA = a;
  UniteBoxes(intoA, b, &intoA);
  MupaRect intoB = b;
  UniteBoxes(a, intoB, &intoB);
  for (const MupaRect& r : {separate, intoA, intoB}) {
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.top, 2);
    EXPECT_EQ(r.right, 9);
    EXPECT_EQ(r.bottom, 8);
  }
}

TEST(BoxRecords, CopiesEveryBlackPixelInsideTheBoxesOfItsComponents) {
  penkit::BitImage page = penkit::FromRows({
      "........",
      ".##.....",
      ".#..#...",  // (4, 2) belongs to another component but lies in the box
      ".####...",
  });
  const RunImage image = PageOf(page);
  ComponentRecord parts[2] = {};
  parts[0].box = {1, 1, 4, 3};
  parts[0].boxNumber = 3;
  parts[1].box = {4, 2, 4, 2};
  parts[1].boxNumber = 9;
  CharBoxRow row = {};
  row.box = {1, 1, 4, 3};
  row.number = 3;
  std::vector<uint8_t> matrix(4 * 3, 7);
  CopyBoxComponents(image, row, parts, 2, matrix.data(), 4, 3);
  EXPECT_EQ(matrix, (std::vector<uint8_t>{1, 1, 0, 0, 1, 0, 0, 1, 1, 1, 1, 1}));
}

TEST(BoxRecords, PackingOrsIntoTheBitmap) {
  // 10 x 2 matrix; the box covers columns 2..9 of row 1.
  std::vector<uint8_t> matrix(10 * 2, 0);
  matrix[10 + 2] = matrix[10 + 9] = 1;
  std::vector<uint8_t> bitmap = {0x00, 0x00, 0x80, 0x40};  // 2 bytes a row
  PackBoxBits(0, 0, MupaRect{2, 1, 9, 1}, matrix.data(), bitmap.data(), 10, 2);
  EXPECT_EQ(bitmap, (std::vector<uint8_t>{0x00, 0x00, 0xA0, 0x40}));
}

TEST(BoxRecords, InsertingLosesTheNextToLastAndNeverWritesTheLast) {
  std::vector<RecogCharResult> r = {Result(1, 0, 1), Result(2, 0, 1), Result(3, 0, 1),
                                    Result(4, 0, 1)};
  InsertLineResult(Result(9, 0, 1), r.data(), 4, 1);
  EXPECT_EQ(Codes(r, 4), (std::vector<uint16_t>{1, 9, 2, 4}));
  RemoveLineResult(r.data(), 4, 0);
  EXPECT_EQ(Codes(r, 4), (std::vector<uint16_t>{9, 2, 2, 4}));
}

TEST(BoxRecords, SplicedPiecesKeepACommaBetweenTheSlicesAroundIt) {
  // The cell 30..60 held three characters and a comma at 52, which the line
  // had after the cell: the comma belongs between the second and third.
  std::vector<RecogCharResult> line = {Result(0x824F, 0, 20), Result(0xAAAA, 30, 60),
                                       Result(0x8143, 50, 54), Result(0x8250, 70, 90),
                                       Result(0, 0, 0), Result(0, 0, 0), Result(0, 0, 0),
                                       Result(0, 0, 0)};
  std::vector<RecogCharResult> pieces = {Result(0x8251, 30, 60), Result(0x8252, 30, 60),
                                         Result(0x8253, 30, 60)};
  int position = 1;
  SplicePieces(pieces.data(), 4, line.data(), 8, &position);
  EXPECT_EQ(Codes(line, 6),
            (std::vector<uint16_t>{0x824F, 0x8251, 0x8252, 0x8143, 0x8253, 0x8250}));
  EXPECT_EQ(position, 5);
  EXPECT_EQ(line[1].box.left, 30);   // slices of (60 - 30) / 3
  EXPECT_EQ(line[1].box.right, 40);
  EXPECT_EQ(line[4].box.right, 60);  // the last slice ends at the cell's edge
}

TEST(BoxRecords, SplicedPiecesWithoutPunctuationTakeThePlace) {
  std::vector<RecogCharResult> line = {Result(0x824F, 0, 20), Result(0xAAAA, 30, 60),
                                       Result(0x8250, 70, 90), Result(0, 0, 0), Result(0, 0, 0)};
  std::vector<RecogCharResult> pieces = {Result(0x8251, 30, 44), Result(0x8252, 45, 60)};
  int position = 1;
  SplicePieces(pieces.data(), 3, line.data(), 5, &position);
  EXPECT_EQ(Codes(line, 4), (std::vector<uint16_t>{0x824F, 0x8251, 0x8252, 0x8250}));
  EXPECT_EQ(position, 3);
}

}  // namespace
