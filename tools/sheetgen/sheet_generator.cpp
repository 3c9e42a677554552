// Drawing, filling and scanning one sheet. The page is drawn upright in
// pixels of the requested resolution (marks in millimetres as they are
// printed, boxes in the sheet's grid as the reader places them), then every
// pixel of the scanned page is looked up through the scanner's turn, scale
// and shift, and specks are strewn on the result; a sheet fed across is
// turned a quarter last.
#include "tools/sheetgen/sheet_generator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <utility>

#include "ocrlib/samples/hand_writings.h"

namespace {

constexpr double kMmPerInch = 25.4;
constexpr int kGridDotsPerMm = 4;

int ResolutionCode(int dpi) { return dpi == 300 ? 2 : dpi == 400 ? 3 : 1; }

int MmToPixels(double mm, int dpi) { return static_cast<int>(std::lround(mm * dpi / kMmPerInch)); }

// A page being drawn: a byte a pixel.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height), black_(width * height, 0) {}
  Canvas(int width, int height, std::vector<uint8_t> black)
      : width_(width), height_(height), black_(std::move(black)) {}
  int width() const { return width_; }
  int height() const { return height_; }
  void Set(int x, int y) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) black_[y * width_ + x] = 1;
  }
  bool Get(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_ && black_[y * width_ + x];
  }
  void Fill(int left, int top, int width, int height) {
    for (int y = top; y < top + height; ++y) {
      for (int x = left; x < left + width; ++x) Set(x, y);
    }
  }
  std::vector<uint8_t>& pixels() { return black_; }

 private:
  int width_, height_;
  std::vector<uint8_t> black_;
};

struct Point {
  double x, y;
};

// A pen stroke: every pixel within `radius` of a segment, each kept with
// probability `keep` (a broken, light pen keeps fewer).
void StrokeSegment(Canvas& canvas, Point a, Point b, double radius, double keep,
                   SheetRandom& random) {
  const int left = static_cast<int>(std::floor(std::min(a.x, b.x) - radius));
  const int right = static_cast<int>(std::ceil(std::max(a.x, b.x) + radius));
  const int top = static_cast<int>(std::floor(std::min(a.y, b.y) - radius));
  const int bottom = static_cast<int>(std::ceil(std::max(a.y, b.y) + radius));
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      const double px = x + 0.5 - a.x, py = y + 0.5 - a.y;
      double t = length2 > 0 ? (px * dx + py * dy) / length2 : 0;
      t = std::clamp(t, 0.0, 1.0);
      const double ex = px - t * dx, ey = py - t * dy;
      if (ex * ex + ey * ey > radius * radius) continue;
      if (keep < 1 && !random.Chance(keep)) continue;
      canvas.Set(x, y);
    }
  }
}

void StrokePath(Canvas& canvas, const std::vector<Point>& path, double radius, double keep,
                SheetRandom& random) {
  for (std::size_t i = 1; i < path.size(); ++i) {
    StrokeSegment(canvas, path[i - 1], path[i], radius, keep, random);
  }
}

struct Box {
  double left, top, width, height;
};

// How the chosen ink draws.
struct PenStyle {
  double radiusMm;   // half the line
  double coverage;   // share of a scribbled box under ink
  double keep;       // share of the line's pixels that take ink
  double overrunMm;  // how far a scribble runs over the box edge
};
PenStyle PenFor(Ink ink) {
  switch (ink) {
    case Ink::kLight: return {0.15, 0.45, 0.7, 0.0};
    case Ink::kHeavy: return {0.4, 0.95, 1.0, 0.3};
    default: return {0.25, 0.75, 1.0, 0.0};
  }
}

void FillBox(Canvas& canvas, const Box& box, PenStroke stroke, const PenStyle& pen, int dpi,
             SheetRandom& random) {
  const double radius = std::max(0.5, pen.radiusMm * dpi / kMmPerInch);
  const double jitter = 0.04 * std::min(box.width, box.height);
  auto wobble = [&](double v) { return v + random.Uniform(-jitter, jitter); };
  std::vector<Point> path;
  if (stroke == PenStroke::kScribble) {
    const double inset = std::min(box.width, box.height) * 0.12 - pen.overrunMm * dpi / kMmPerInch;
    const double left = box.left + inset, right = box.left + box.width - inset;
    const double top = box.top + inset, bottom = box.top + box.height - inset;
    const double spacing = std::max(1.0, 2 * radius / pen.coverage);
    bool fromLeft = true;
    for (double y = top; y <= bottom; y += spacing, fromLeft = !fromLeft) {
      path.push_back({wobble(fromLeft ? left : right), wobble(y)});
    }
  } else if (stroke == PenStroke::kCircle) {
    const double cx = box.left + box.width / 2, cy = box.top + box.height / 2;
    const double rx = box.width * 0.4, ry = box.height * 0.4;
    const double start = random.Uniform(0, 6.283);
    for (int i = 0; i <= 40; ++i) {
      const double a = start + i * 6.6 / 40;  // a little more than once round
      path.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
  } else {
    path = {{wobble(box.left + 0.2 * box.width), wobble(box.top + 0.55 * box.height)},
            {wobble(box.left + 0.42 * box.width), wobble(box.top + 0.8 * box.height)},
            {wobble(box.left + 0.85 * box.width), wobble(box.top + 0.15 * box.height)}};
  }
  StrokePath(canvas, path, radius, pen.keep, random);
}

// The writings of a character the generator writes: a digit or a capital.
std::vector<glyphs::Writing> WritingsOf(char c) {
  if (c >= '0' && c <= '9') return glyphs::DigitWritings(c - '0');
  if (c >= 'A' && c <= 'Z') return glyphs::CapitalWritings(c - 'A');
  return {};
}

// One character written in a box as a hand writes it: one of its writings,
// two thirds of the box high or a little less, narrower or wider, slanted,
// a little off the centre, every point wobbled, with a pen of 5 to 8 % of
// its height (the share the dictionaries' drawn samples are written with).
void WriteCharacter(Canvas& canvas, const std::vector<glyphs::Writing>& writings, const Box& box,
                    const PenStyle& pen, SheetRandom& random) {
  const glyphs::Writing& writing = writings[random.Below(static_cast<int>(writings.size()))];
  const double height = box.height * random.Uniform(0.58, 0.7);
  const double unitY = height / glyphs::kWritingUnitsHigh;
  const double unitX = unitY * random.Uniform(0.85, 1.15);
  const double slant = random.Uniform(-0.15, 0.15);
  const double left = box.left + (box.width - glyphs::kWritingUnitsWide * unitX) / 2 +
                      random.Uniform(-0.06, 0.06) * box.width;
  const double top = box.top + (box.height - height) / 2 + random.Uniform(-0.06, 0.06) * box.height;
  const double radius = std::max(0.6, height * random.Uniform(0.05, 0.08) / 2);
  for (const glyphs::WritingStroke& stroke : writing) {
    std::vector<Point> path;
    for (const glyphs::WritingPoint& p : stroke) {
      const double x = p.x + random.Uniform(-1.5, 1.5);
      const double y = p.y + random.Uniform(-1.5, 1.5);
      path.push_back({left + (x + slant * (glyphs::kWritingUnitsHigh / 2 - y)) * unitX, top + y * unitY});
    }
    StrokePath(canvas, path, radius, pen.keep, random);
  }
}

// Writes `text` into the boxes of a write-in field. False with `error` set
// for a character the generator cannot write or more characters than boxes.
bool WriteField(Canvas& canvas, const SheetFieldRow& field, const std::vector<Box>& boxes,
                const std::string& text, const PenStyle& pen, SheetRandom& random,
                std::string* error) {
  if (text.size() > boxes.size()) {
    *error = "more characters than boxes in " + field.name;
    return false;
  }
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] == ' ') continue;
    const std::vector<glyphs::Writing> writings = WritingsOf(text[k]);
    if (writings.empty()) {
      *error = "\"" + text.substr(k, 1) + "\" in " + field.name + " is not written";
      return false;
    }
    WriteCharacter(canvas, writings, boxes[k], pen, random);
  }
  return true;
}

void DrawOutline(Canvas& canvas, const Box& box, int dpi) {
  const int line = std::max(1, dpi / 300);
  const int left = static_cast<int>(std::lround(box.left));
  const int top = static_cast<int>(std::lround(box.top));
  const int right = static_cast<int>(std::lround(box.left + box.width));
  const int bottom = static_cast<int>(std::lround(box.top + box.height));
  canvas.Fill(left, top, right - left + 1, line);
  canvas.Fill(left, bottom - line + 1, right - left + 1, line);
  canvas.Fill(left, top, line, bottom - top + 1);
  canvas.Fill(right - line + 1, top, line, bottom - top + 1);
}

// The boxes of a field in page pixels, in the reader's order.
bool FieldBoxes(const SheetFieldRow& field, const SheetPaperRow& paper, int dpi,
                std::vector<Box>* boxes, std::string* error) {
  if (field.shape == "Ｃ") {
    *error = "marks drawn in the box (" + field.name + ") are not generated";
    return false;
  }
  const int code = ResolutionCode(dpi);
  // A ratio of 0 is the unit the sheet prints: a quarter of a millimetre.
  const double printedUnit = dpi / kMmPerInch / kGridDotsPerMm;
  const double dx = paper.ratioX[code - 1] != 0 ? paper.ratioX[code - 1] : printedUnit;
  const double dy = paper.ratioY[code - 1] != 0 ? paper.ratioY[code - 1] : printedUnit;
  const double width = field.boxWidth * kGridDotsPerMm * dx;
  const double height = field.boxHeight * kGridDotsPerMm * dy;
  const double pitch = field.gap < 0 ? field.gap : field.gap * kGridDotsPerMm * dx;
  // An oval drawn with its choice inside ("Ｍ") fills the box from the
  // field's corner; other boxes start a grid dot in.
  const int inset = field.shape == "Ｍ" ? 0 : 1;
  const double x0 = (field.x + inset - paper.gridShiftX) * dx;
  const double y0 = (field.y - paper.gridShiftY) * dy;
  const int direction = field.IsCheck() ? field.type == "Ｘ" ? 2 : field.type == "Ｙ" ? 3 : 0 : 0;
  const int rows = direction && field.arrayCount >= 1 ? std::min(field.arrayCount, field.count) : 0;
  const int perRow = rows > 0 ? std::max(1, (field.count + rows - 1) / rows) : field.count;
  const double rowStep = field.arrayGap * kGridDotsPerMm * dy;
  for (int k = 0; k < field.count; ++k) {
    int q = k, r = 0;
    if (direction == 2 && rows > 0) q = k % perRow, r = k / perRow;
    if (direction == 3 && rows > 0) q = k / rows, r = k % rows;
    boxes->push_back({x0 + q * (width + pitch), y0 + r * (height + rowStep), width, height});
  }
  return true;
}

// Full-width forms of the codes the generator expects.
std::string WideCode(char c) {
  static const char* const kDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  static const char* const kUpper[] = {"Ａ", "Ｂ", "Ｃ", "Ｄ", "Ｅ", "Ｆ", "Ｇ", "Ｈ", "Ｉ",
                                       "Ｊ", "Ｋ", "Ｌ", "Ｍ", "Ｎ", "Ｏ", "Ｐ", "Ｑ", "Ｒ",
                                       "Ｓ", "Ｔ", "Ｕ", "Ｖ", "Ｗ", "Ｘ", "Ｙ", "Ｚ"};
  static const char* const kLower[] = {"ａ", "ｂ", "ｃ", "ｄ", "ｅ", "ｆ", "ｇ", "ｈ", "ｉ",
                                       "ｊ", "ｋ", "ｌ", "ｍ", "ｎ", "ｏ", "ｐ", "ｑ", "ｒ",
                                       "ｓ", "ｔ", "ｕ", "ｖ", "ｗ", "ｘ", "ｙ", "ｚ"};
  if (c >= '0' && c <= '9') return kDigits[c - '0'];
  if (c >= 'A' && c <= 'Z') return kUpper[c - 'A'];
  if (c >= 'a' && c <= 'z') return kLower[c - 'a'];
  return std::string();
}

// Code of box k (from 0) of a check field without codes of its own.
std::string SequenceCode(int k) {
  static const char* const kKana[] = {
      "ア", "イ", "ウ", "エ", "オ", "カ", "キ", "ク", "ケ", "コ", "サ", "シ", "ス", "セ", "ソ", "タ",
      "チ", "ツ", "テ", "ト", "ナ", "ニ", "ヌ", "ネ", "ノ", "ハ", "ヒ", "フ", "ヘ", "ホ", "マ", "ミ",
      "ム", "メ", "モ", "ヤ", "ユ", "ヨ", "ラ", "リ", "ル", "レ", "ロ", "ワ", "ヲ", "ン"};
  if (k < 9) return WideCode(static_cast<char>('1' + k));
  if (k == 9) return WideCode('0');
  if (k < 36) return WideCode(static_cast<char>('A' + k - 10));
  if (k < 62) return WideCode(static_cast<char>('a' + k - 36));
  if (k < 108) return kKana[k - 62];
  return std::string();
}

bool HasByte(const std::string& text, char c) { return text.find(c) != std::string::npos; }

// What the reading run stores for a check field with these marks.
bool ExpectedCheckValue(const SheetFieldRow& field, const std::string& marks, std::string* value,
                        std::string* error) {
  int marked = 0;
  for (char m : marks) marked += m == '1';
  value->clear();
  if (field.charType == "ﾌﾗｸﾞ") {
    std::string on = "１", off = "０";
    if (field.condition.size() >= 3) {
      on.clear(), off.clear();
      // "0=N,1=Y": single-byte labels.
      for (std::size_t at = 0; at + 2 < field.condition.size() + 1; at += 4) {
        const std::string entry = field.condition.substr(at, 3);
        if (entry.size() < 3 || entry[1] != '=') break;
        (entry[0] == '1' ? on : off) = WideCode(entry[2]);
      }
    }
    for (char m : marks) *value += m == '1' ? on : off;
    return true;
  }
  if (field.decimals > 0 && marked > field.decimals) return true;  // too many: stored empty
  const bool onePerBox = !field.overlay.empty() && !HasByte(field.overlay, ',') &&
                         static_cast<int>(field.overlay.size()) == field.count;
  if (!field.condition.empty()) {
    if (field.condition != "〃" && !HasByte(field.condition, ',')) {
      *error = "the conversion of " + field.name + " is not generated";
      return false;
    }
    for (int k = 0; k < marked; ++k) *value += "１";
    return true;
  }
  for (int k = 0; k < static_cast<int>(marks.size()); ++k) {
    if (marks[k] != '1') continue;
    *value += onePerBox ? WideCode(field.overlay[k]) : SequenceCode(k);
  }
  return true;
}

// The affine map from a scanned pixel back to the drawn page. The scanner
// samples the page at its resolution times the scale (the page's image grows
// or shrinks with it), turns it about its centre and shifts it; a page fed
// upside down is turned round about the centre of the scanned image.
struct ScanMap {
  double ax, bx, cx;  // drawn x = ax * x + bx * y + cx
  double ay, by, cy;  // drawn y = ay * x + by * y + cy
};
ScanMap InverseScan(const ScanDegradation& scan, int drawnWidth, int drawnHeight, int width,
                    int height, int dpi) {
  const double t = scan.skewDegrees * 3.14159265358979323846 / 180;
  const double c = std::cos(t), s = std::sin(t);
  const double shiftX = scan.shiftXmm * dpi / kMmPerInch;
  const double shiftY = scan.shiftYmm * dpi / kMmPerInch;
  const double flip = scan.upsideDown ? -1 : 1;
  // With the scanned centre C' and the drawn centre C, a drawn p lands at
  // q = C' + R(S (p - C)) + shift, R anticlockwise as the page is seen (y
  // down), and upside down at 2C' - q. Back: u = flip o + offset with
  // offset = (upside down ? 2C' : 0) - C' - shift, p = C + S^-1 R^-1 u,
  // R^-1 u = (c ux - s uy, s ux + c uy).
  const double outX = width / 2.0, outY = height / 2.0;
  const double ox = (scan.upsideDown ? 2 * outX : 0) - outX - shiftX;
  const double oy = (scan.upsideDown ? 2 * outY : 0) - outY - shiftY;
  ScanMap m;
  m.ax = c * flip / scan.scaleX;
  m.bx = -s * flip / scan.scaleX;
  m.cx = (c * ox - s * oy) / scan.scaleX + drawnWidth / 2.0;
  m.ay = s * flip / scan.scaleY;
  m.by = c * flip / scan.scaleY;
  m.cy = (s * ox + c * oy) / scan.scaleY + drawnHeight / 2.0;
  return m;
}

bool IsIdentity(const ScanDegradation& scan) {
  return scan.skewDegrees == 0 && scan.scaleX == 1 && scan.scaleY == 1 && scan.shiftXmm == 0 &&
         scan.shiftYmm == 0 && !scan.upsideDown;
}

// The scanned page, `width` x `height` pixels, each looked up on the drawn
// page.
void Scan(const Canvas& drawn, const ScanDegradation& scan, int dpi, int width, int height,
          std::vector<uint8_t>* out) {
  out->assign(static_cast<std::size_t>(width) * height, 0);
  const ScanMap m = InverseScan(scan, drawn.width(), drawn.height(), width, height, dpi);
  for (int y = 0; y < height; ++y) {
    double sx = m.ax * 0.5 + m.bx * (y + 0.5) + m.cx;
    double sy = m.ay * 0.5 + m.by * (y + 0.5) + m.cy;
    uint8_t* row = out->data() + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x, sx += m.ax, sy += m.ay) {
      row[x] = drawn.Get(static_cast<int>(std::floor(sx)), static_cast<int>(std::floor(sy)));
    }
  }
}

// The page as a scanner delivers a sheet fed across: turned a quarter,
// clockwise or anticlockwise as seen.
void TurnQuarter(GeneratedSheet* sheet, bool clockwise) {
  const int width = sheet->height, height = sheet->width;
  std::vector<uint8_t> turned(sheet->black.size());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int from = clockwise ? (sheet->height - 1 - x) * sheet->width + y
                                 : x * sheet->width + (sheet->width - 1 - y);
      turned[static_cast<std::size_t>(y) * width + x] = sheet->black[from];
    }
  }
  sheet->black = std::move(turned);
  sheet->width = width;
  sheet->height = height;
}

void Put16(std::vector<uint8_t>& b, std::size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v), b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, std::size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF), Put16(b, at + 2, v >> 16);
}

}  // namespace

bool SheetFieldRow::IsCheck() const { return edit == "ﾁｪｯｸ"; }

SheetFieldRow CheckFieldRow(const char* code, const char* name, int x, int y, int boxes,
                            int boxMm) {
  SheetFieldRow row;
  row.code = code;
  row.name = name;
  row.x = x;
  row.y = y;
  row.count = boxes;
  row.boxWidth = boxMm;
  row.boxHeight = boxMm;
  row.gap = 2;
  row.edit = "ﾁｪｯｸ";
  row.threshold = 150;
  return row;
}

SheetFieldRow WriteInFieldRow(const char* code, const char* name, int x, int y, int count) {
  SheetFieldRow row;
  row.code = code;
  row.name = name;
  row.x = x;
  row.y = y;
  row.count = count;
  row.type = "一括";
  return row;
}

SheetFieldRow CountedCheckFieldRow(const char* code, const char* name, int x, int y, int boxes, int most) {
  SheetFieldRow row = CheckFieldRow(code, name, x, y, boxes);
  row.threshold = 100;
  row.decimals = most;
  return row;
}

SheetFieldRow DesignedCheckFieldRow(const char* code, const char* name, int xMm, int yMm, int boxes,
                                    int most, int boxMm) {
  SheetFieldRow row =
      CheckFieldRow(code, name, xMm * kGridDotsPerMm, yMm * kGridDotsPerMm, boxes, boxMm);
  row.threshold = 10;
  row.decimals = most;
  return row;
}

SheetFieldRow DigitGridRow(const char* code, const char* name, int xMm, int yMm, int digits,
                           const char* type) {
  SheetFieldRow row = DesignedCheckFieldRow(code, name, xMm, yMm, 10 * digits, digits);
  row.type = type;
  row.arrayCount = std::string(type) == "Ｙ" ? 10 : digits;
  row.arrayGap = 1;
  for (int d = 0; d < digits; ++d) row.overlay += "0123456789";
  return row;
}

SheetDefinition NumberedKeySheet(const char* name, const char* outputTable) {
  SheetDefinition d;
  SheetPaperRow paper;
  paper.name = name;
  paper.outputTable = outputTable;
  paper.compensationMode = 3;
  paper.keyNumbering = 2;
  d.papers.push_back(paper);
  SheetFieldRow id = WriteInFieldRow("0001", "ID", 240, 200, 4);
  id.edit = "０埋";
  d.fields.push_back(id);
  return d;
}

const SheetPaperRow* SheetDefinition::Paper(const std::string& side) const {
  for (const SheetPaperRow& paper : papers) {
    if (paper.side == side) return &paper;
  }
  return nullptr;
}

std::vector<const SheetFieldRow*> SheetDefinition::FieldsOf(const std::string& side) const {
  std::vector<const SheetFieldRow*> out;
  for (const SheetFieldRow& field : fields) {
    if (field.side == side) out.push_back(&field);
  }
  return out;
}

void PaperSizeMm(const SheetPaperRow& paper, int* width, int* height) {
  struct Size {
    const char* name;
    int width, height;
  };
  static const Size kSizes[] = {{"Ａ４", 210, 297}, {"Ａ５", 148, 210}, {"Ａ３", 297, 420},
                                {"Ｂ４", 257, 364}, {"Ｂ５", 182, 257}, {"Ｂ６", 128, 182},
                                {"葉書", 100, 147}};
  *width = *height = 0;
  for (const Size& size : kSizes) {
    if (paper.paperSize == size.name) *width = size.width, *height = size.height;
  }
  if (paper.paperSize == "定義") *width = paper.userWidth, *height = paper.userHeight;
  if (paper.orientation == "横") std::swap(*width, *height);
}

std::vector<PrintedMark> PrintedMarks(const SheetDefinition& definition, const std::string& side,
                                      int dpi) {
  const SheetPaperRow* paper = definition.Paper(side);
  if (!paper || paper->compensationMode == 0) return {};
  int w = 0, h = 0;
  PaperSizeMm(*paper, &w, &h);
  const int mode = paper->compensationMode;
  const int sizeMm = mode == 3 ? 3 : 2;
  const int mx = paper->markMarginX ? paper->markMarginX + 2 : 0;
  const int my = paper->markMarginY ? paper->markMarginY + 2 : 0;
  const bool margins = mx > 0 && my > 0;
  struct MmPoint {
    int x, y;
  };
  std::vector<MmPoint> at;
  if (mode == 3) {
    at = margins ? std::vector<MmPoint>{{mx, my}, {w - mx - 2, my}, {mx, h - my}}
                 : std::vector<MmPoint>{{10, 14}, {w - 13, 14}, {10, h - 13}};
  } else {
    at = {margins ? MmPoint{mx, my} : MmPoint{6, 6}};
    if (mode == 2) at.push_back(margins ? MmPoint{w - mx - 2, my} : MmPoint{w - 8, 6});
  }
  if (side == "0002") {
    at.push_back(margins ? MmPoint{mx, my + (mode == 3 ? 5 : 4)}
                         : mode == 3 ? MmPoint{10, 19} : MmPoint{6, 10});
  }
  const int size = MmToPixels(sizeMm, dpi);
  std::vector<PrintedMark> marks;
  for (const MmPoint& p : at) marks.push_back({MmToPixels(p.x, dpi), MmToPixels(p.y, dpi), size});

  // Registered positions, where the definition has them, are where the
  // reader looks: the outer corners of the top-left, top-right and
  // bottom-left marks.
  for (const SheetMarkRow& row : definition.marks) {
    if (row.side != side || row.resolutionCode != ResolutionCode(dpi) || row.x1 < 0) continue;
    const int dx = row.x1 - marks[0].left, dy = row.y1 - marks[0].top;
    for (PrintedMark& mark : marks) mark.left += dx, mark.top += dy;
    if (marks.size() > 1 && row.x2 >= 0) marks[1].left = row.x2 - size + 1, marks[1].top = row.y2;
    if (mode == 3 && row.x3 >= 0) marks[2].left = row.x3, marks[2].top = row.y3 - size + 1;
  }
  return marks;
}

GeneratedSheet GenerateSheet(const SheetDefinition& definition, const SheetRequest& request) {
  GeneratedSheet sheet;
  sheet.dpi = request.dpi;
  const SheetPaperRow* paper = definition.Paper(request.side);
  int widthMm = 0, heightMm = 0;
  if (paper) PaperSizeMm(*paper, &widthMm, &heightMm);
  if (!paper || widthMm <= 0 || heightMm <= 0) {
    sheet.error = "no paper of side " + request.side;
    return sheet;
  }
  SheetRandom random(request.seed);
  const GeneratedSheet* printed = request.printedPage;
  if (printed && printed->black.size() != static_cast<std::size_t>(printed->width) * printed->height) {
    sheet.error = "a printed page of the wrong size";
    return sheet;
  }
  Canvas canvas = printed ? Canvas(printed->width, printed->height, printed->black)
                          : Canvas(MmToPixels(widthMm, request.dpi), MmToPixels(heightMm, request.dpi));
  if (!printed) {
    for (const PrintedMark& mark : PrintedMarks(definition, request.side, request.dpi)) {
      canvas.Fill(mark.left, mark.top, mark.size, mark.size);
    }
  }

  const PenStyle pen = PenFor(request.ink);
  for (const SheetFieldRow* field : definition.FieldsOf(request.side)) {
    std::vector<Box> boxes;
    if (!FieldBoxes(*field, *paper, request.dpi, &boxes, &sheet.error)) return sheet;
    std::string marks(field->count, ' ');
    for (const FieldFill& fill : request.fills) {
      if (fill.name != field->name) continue;
      for (int box : fill.boxes) {
        if (box < 0 || box >= field->count) continue;
        marks[box] = '1';
        FillBox(canvas, boxes[box], fill.stroke, pen, request.dpi, random);
      }
    }
    ExpectedField expected{field->name, marks, "", ""};
    for (const FieldWriting& writing : request.writings) {
      if (writing.name != field->name || field->IsCheck()) continue;
      if (!WriteField(canvas, *field, boxes, writing.text, pen, random, &sheet.error)) return sheet;
      expected.written = writing.text;
    }
    if (request.printedOutlines) {
      for (const Box& box : boxes) DrawOutline(canvas, box, request.dpi);
    }
    if (field->IsCheck() &&
        !ExpectedCheckValue(*field, marks, &expected.value, &sheet.error)) {
      return sheet;
    }
    sheet.expected.push_back(expected);
  }

  if (IsIdentity(request.scan)) {
    sheet.width = canvas.width();
    sheet.height = canvas.height();
    sheet.black = std::move(canvas.pixels());
  } else {
    sheet.width = static_cast<int>(std::lround(canvas.width() * request.scan.scaleX));
    sheet.height = static_cast<int>(std::lround(canvas.height() * request.scan.scaleY));
    Scan(canvas, request.scan, request.dpi, sheet.width, sheet.height, &sheet.black);
  }
  for (int i = 0; i < request.scan.specks; ++i) {
    const int size = 1 + random.Below(3);
    const int x = random.Below(sheet.width - size), y = random.Below(sheet.height - size);
    for (int yy = y; yy < y + size; ++yy) {
      for (int xx = x; xx < x + size; ++xx) sheet.black[yy * sheet.width + xx] = 1;
    }
  }
  if (request.scan.quarterTurns != 0) TurnQuarter(&sheet, request.scan.quarterTurns > 0);
  return sheet;
}

bool WriteSheetBmp(const std::string& path, const GeneratedSheet& sheet, bool whiteFirst) {
  if (sheet.width <= 0 || sheet.height <= 0) return false;
  const std::size_t stride = (sheet.width + 31) / 32 * 4;
  std::vector<uint8_t> file(62 + stride * sheet.height, 0);
  file[0] = 'B', file[1] = 'M';
  Put32(file, 2, static_cast<uint32_t>(file.size()));
  Put32(file, 10, 62);
  Put32(file, 14, 40);
  Put32(file, 18, sheet.width);
  Put32(file, 22, sheet.height);
  Put16(file, 26, 1);
  Put16(file, 28, 1);
  Put32(file, 38, sheet.dpi * 10000 / 254);
  Put32(file, 42, sheet.dpi * 10000 / 254);
  Put32(file, 46, 2);
  const std::size_t whiteEntry = whiteFirst ? 54 : 58;
  file[whiteEntry] = file[whiteEntry + 1] = file[whiteEntry + 2] = 255;
  const uint8_t blackBit = whiteFirst ? 1 : 0;
  for (int y = 0; y < sheet.height; ++y) {
    uint8_t* row = file.data() + 62 + stride * (sheet.height - 1 - y);
    const uint8_t* black = sheet.black.data() + static_cast<std::size_t>(y) * sheet.width;
    for (std::size_t i = 0; i < stride; ++i) row[i] = blackBit ? 0x00 : 0xFF;
    for (int x = 0; x < sheet.width; ++x) {
      if (!black[x]) continue;
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
      row[x / 8] = blackBit ? static_cast<uint8_t>(row[x / 8] | bit)
                            : static_cast<uint8_t>(row[x / 8] & ~bit);
    }
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!out) return false;
  const bool written = std::fwrite(file.data(), 1, file.size(), out.get()) == file.size();
  return std::fclose(out.release()) == 0 && written;
}

SheetRandom::SheetRandom(uint32_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}

uint32_t SheetRandom::Next() {
  // splitmix64: a fixed sequence for a seed, whatever the platform.
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
}

double SheetRandom::Uniform(double low, double high) {
  return low + (high - low) * (Next() / 4294967296.0);
}

int SheetRandom::Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % n); }

bool SheetRandom::Chance(double p) { return Next() < p * 4294967296.0; }

ScanDegradation RandomDegradation(SheetRandom& random) {
  ScanDegradation scan;
  scan.skewDegrees = random.Uniform(-1.5, 1.5);
  scan.scaleX = random.Uniform(0.97, 1.03);
  scan.scaleY = random.Uniform(0.97, 1.03);
  scan.shiftXmm = random.Uniform(-2, 2);
  scan.shiftYmm = random.Uniform(-2, 2);
  scan.specks = random.Below(201);
  return scan;
}

std::vector<FieldFill> RandomFills(const SheetDefinition& definition, const std::string& side,
                                   double share, SheetRandom& random) {
  std::vector<FieldFill> fills;
  for (const SheetFieldRow* field : definition.FieldsOf(side)) {
    if (!field->IsCheck()) continue;
    FieldFill fill;
    fill.name = field->name;
    fill.stroke = random.Chance(0.8) ? PenStroke::kScribble : PenStroke::kCircle;
    for (int box = 0; box < field->count; ++box) {
      if (field->decimals > 0 && static_cast<int>(fill.boxes.size()) >= field->decimals) break;
      if (random.Chance(share)) fill.boxes.push_back(box);
    }
    fills.push_back(fill);
  }
  return fills;
}
