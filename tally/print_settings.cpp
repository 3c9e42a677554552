// The current print settings as text: one line of the print-settings file
// per print code, its defaults, the print codes of tallies and the papers
// the settings name. Pure text work, natively tested; the file itself is
// print_settings_file.cpp.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "foundation/bounded_format.h"
#include "foundation/csv_token.h"
#include "foundation/sjis_text.h"
#include "tally/tally.h"

PrintSettings g_printSettings;

namespace {

// Room of the text fields (bytes).
constexpr int kCodeRoom = 6;
constexpr int kRangeRoom = 50;
constexpr int kPaperRoom = 6;
constexpr int kFieldRoom = 50;
constexpr int kFileRoom = 256;

// One field of a line: a text of some room, an integer or the real.
struct FieldRef {
  std::string* text = nullptr;
  int room = 0;
  int* number = nullptr;
  double* real = nullptr;
};

// The 33 fields in file order.
std::vector<FieldRef> FieldsOf(PrintSettings& s) {
  auto text = [](std::string& t, int room) { return FieldRef{&t, room, nullptr, nullptr}; };
  auto number = [](int& n) { return FieldRef{nullptr, 0, &n, nullptr}; };
  return {text(s.code, kCodeRoom),
          text(s.startCode, kRangeRoom),
          text(s.endCode, kRangeRoom),
          text(s.paper, kPaperRoom),
          number(s.topMargin),
          number(s.charSize),
          number(s.leftMargin),
          number(s.lines),
          number(s.lineSpacing),
          number(s.reserved10),
          number(s.reserved11),
          number(s.reserved12),
          {nullptr, 0, nullptr, &s.previewReduction},
          number(s.labelWidth),
          number(s.labelHeight),
          number(s.columns),
          number(s.labelRows),
          number(s.gapX),
          number(s.gapY),
          number(s.labelTop),
          number(s.labelLeft),
          number(s.framePrint),
          number(s.notch),
          number(s.upperLimit),
          number(s.lowerLimit),
          number(s.quoteTexts),
          number(s.reserved27),
          text(s.field, kFieldRoom),
          text(s.file, kFileRoom),
          number(s.titleLine),
          number(s.pageNumbers),
          number(s.radarMaximum),
          number(s.firstLabel)};
}

// A text field as the tokenizer reads it back: quoted when it holds a
// comma, a quote or a line end, quotes doubled inside.
std::string TextField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

}  // namespace

std::string FormatPrintSettingsLine(const PrintSettings& settings) {
  PrintSettings copy = settings;
  copy.gapX = 0;  // the file does not keep the gaps
  copy.gapY = 0;
  std::string line;
  bool first = true;
  for (const FieldRef& field : FieldsOf(copy)) {
    // Every field but the first follows a comma, empty ones too: a line
    // whose first texts are empty keeps them in their places.
    if (!first) line += ',';
    first = false;
    char number[32];
    if (field.text) {
      line += TextField(*field.text);
    } else if (field.number) {
      std::snprintf(number, sizeof number, "%d", *field.number);
      line += number;
    } else {
      std::snprintf(number, sizeof number, "%.1f", *field.real);
      line += number;
    }
  }
  return line;
}

int ParsePrintSettingsLine(const char* line, PrintSettings& settings) {
  // Room for the whole line, so that no value is ever cut by the tokenizer
  // (which would start the line again); each field is cut to its own room.
  const int length = static_cast<int>(std::strlen(line));
  std::vector<char> value(length + 1);
  CsvCursor cursor;
  int read = 0;
  int rc = 0;
  for (const FieldRef& field : FieldsOf(settings)) {
    if (rc < 0) break;  // the line ended: the rest keep their values
    rc = NextCsvTokenWith(cursor, value.data(), length, line);
    ++read;
    if (field.text) {
      *field.text = CutAtCharBoundary(value.data(), field.room);
    } else if (field.number) {
      *field.number = DecimalTextToInt(value.data());
    } else {
      *field.real = std::strtod(value.data(), nullptr);
    }
  }
  settings.gapX = 0;
  settings.gapY = 0;
  return read;
}

std::string PrintSettingsLineCode(const char* line) {
  PrintSettings settings;
  ParsePrintSettingsLine(line, settings);
  return settings.code;
}

void SetDefaultPrintSettings(PrintSettings& s, const char* code) {
  s.code = CutAtCharBoundary(code, kCodeRoom);
  s.paper = "Ａ４縦";
  s.titleLine = 0;
  s.pageNumbers = 1;
  s.lines = 50;
  s.quoteTexts = 1;
  s.previewReduction = 1.0;
  s.charSize = 10;
  s.notch = 10;
  s.lineSpacing = 1;
  s.columns = 2;
  s.upperLimit = 100;
  s.lowerLimit = 0;
  s.framePrint = -1;
  s.file.clear();
  if (s.printType == kPrintTypeLabels) {
    s.topMargin = 24;
    s.leftMargin = 20;
    s.labelWidth = 85;
    s.labelHeight = 42;
    s.labelRows = 6;
    s.labelTop = 4;
    s.labelLeft = 4;
  } else {
    s.topMargin = 14;
    s.leftMargin = 14;
    s.labelWidth = 91;
    s.labelHeight = 55;
    s.labelRows = 5;
    s.labelTop = 11;
    s.labelLeft = 13;
  }
}

int TallyKindOfSetting(int printType, int tallySetting) {
  switch (printType) {
    case kPrintTypeBarGraph: return tallySetting + 3;
    case kPrintTypeChoiceGraph: return tallySetting + 5;
    case kPrintTypePieGraph: return tallySetting + 7;
    case kPrintTypeRadarGraph: return tallySetting + 9;
    default: return tallySetting;
  }
}

std::string TallyPrintCode(int printType, int tallySetting) {
  char code[16];
  std::snprintf(code, sizeof code, "EQPG%02d", TallyKindOfSetting(printType, tallySetting));
  return code;
}

std::string ToggleCountPercent(const std::string& flags, int box, bool on, int printType) {
  std::string result = flags;
  const size_t size = printType == kPrintTypePieGraph ? 3 : 2;
  result.resize(size, '0');
  if (box >= 1 && box <= static_cast<int>(size)) result[box - 1] = on ? '1' : '0';
  if (result[0] == '0' && result[1] == '0') result[box == 1 ? 1 : 0] = '1';
  return result;
}

PaperSpec PaperOfSetting(const std::string& paper) {
  struct Paper {
    const char* name;  // the first two characters
    int width, height, code;
  };
  static const Paper kPapers[] = {
      {"Ｂ５", 1820, 2570, 4}, {"Ｂ４", 2570, 3640, 3}, {"Ａ６", 1050, 1485, 7},
      {"Ａ５", 1485, 2100, 6}, {"Ａ４", 2100, 2970, 2}, {"Ａ３", 2970, 4200, 1},
      {"はが", 1000, 1475, 8}, {"封筒", 1200, 2600, 8},
  };
  PaperSpec spec;
  const std::string head = paper.substr(0, 4);
  for (const Paper& p : kPapers) {
    if (head != p.name) continue;
    spec.paperCode = p.code;
    spec.widthTenthMm = p.width;
    spec.heightTenthMm = p.height;
  }
  if (spec.paperCode != 8 && paper.size() >= 6 && paper.compare(4, 2, "横") == 0) {
    spec.orientation = 2;
    std::swap(spec.widthTenthMm, spec.heightTenthMm);
  }
  return spec;
}

PreviewPage ComputePreviewPage(const std::string& paper, double reduction) {
  if (!(reduction > 0)) reduction = 1.0;
  const PaperSpec spec = PaperOfSetting(paper);
  PreviewPage page;
  page.width = static_cast<int>(std::floor(spec.widthTenthMm * 0.51 / reduction + 0.5));
  page.height = static_cast<int>(std::floor(spec.heightTenthMm * 0.51 / reduction + 0.5));
  page.inset = static_cast<int>(30 / reduction);
  page.framed = spec.paperCode != 8;
  // A report unit is 2 tenths of a millimetre.
  page.zoom = reduction / 1.02;
  return page;
}
