// sheetgen: filled, scanned OCR sheets from a sheet-definition database, as
// the files a sheet feeder takes, with the expected value of every field.
//
//   sheetgen <definition folder> <database> <output folder> [options]
//     --side 0001|0002   the side drawn (0001)
//     --dpi 200|300|400  the scan resolution (300)
//     --count n          sheets, named PAGE00001.BMP ... (1)
//     --seed n           the first sheet's seed; sheet k takes seed + k (1)
//     --share p          the share of boxes filled (0.3)
//     --ink light|normal|heavy
//     --scanned          skew, scale, shift and specks, as a scanner brings
//     --upside-down      every sheet fed upside down
//     --outlines         box outlines printed in black
//     --write name=text  handwriting in the write-in field `name` of every
//                        sheet (digits, capitals and blanks; repeatable)
//
// The expected values go to "expected.csv" in the output folder: one line a
// field, "page,field,marks,value,written" (Shift-JIS). Exits 0, or 1 with the reason
// on stderr.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/db.h"
#include "tools/sheetgen/sheet_definition_db.h"
#include "tools/sheetgen/sheet_generator.h"

namespace {

struct Options {
  std::string folder, database, output;
  SheetRequest request;
  int count = 1;
  double share = 0.3;
  bool scanned = false;
};

bool Parse(int argc, char** argv, Options* o) {
  if (argc < 4) return false;
  o->folder = argv[1];
  o->database = argv[2];
  o->output = argv[3];
  for (int i = 4; i < argc; ++i) {
    const std::string a = argv[i];
    const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
    if (a == "--scanned") {
      o->scanned = true;
    } else if (a == "--upside-down") {
      o->request.scan.upsideDown = true;
    } else if (a == "--outlines") {
      o->request.printedOutlines = true;
    } else if (!next) {
      return false;
    } else if (a == "--side") {
      o->request.side = argv[++i];
    } else if (a == "--dpi") {
      o->request.dpi = std::atoi(argv[++i]);
    } else if (a == "--count") {
      o->count = std::atoi(argv[++i]);
    } else if (a == "--seed") {
      o->request.seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (a == "--share") {
      o->share = std::atof(argv[++i]);
    } else if (a == "--write") {
      const std::string writing = argv[++i];
      const std::size_t equals = writing.find('=');
      if (equals == std::string::npos) return false;
      o->request.writings.push_back({writing.substr(0, equals), writing.substr(equals + 1)});
    } else if (a == "--ink") {
      const std::string ink = argv[++i];
      o->request.ink = ink == "light" ? Ink::kLight : ink == "heavy" ? Ink::kHeavy : Ink::kNormal;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!Parse(argc, argv, &options)) {
    std::fprintf(stderr, "usage: sheetgen <definition folder> <database> <output folder> "
                         "[--side c] [--dpi d] [--count n] [--seed n] [--share p] "
                         "[--ink light|normal|heavy] [--scanned] [--upside-down] [--outlines] "
                         "[--write name=text]\n");
    return 1;
  }
  db_init();
  SheetDefinition definition;
  const int read = ReadSheetDefinition(options.folder.c_str(), options.database.c_str(), &definition);
  db_term();
  if (read != 0) {
    std::fprintf(stderr, "sheetgen: the sheet definition cannot be read\n");
    return 1;
  }
  const std::string listPath = options.output + "\\expected.csv";
  std::FILE* list = std::fopen(listPath.c_str(), "w");
  if (!list) {
    std::fprintf(stderr, "sheetgen: %s cannot be written\n", listPath.c_str());
    return 1;
  }
  const uint32_t firstSeed = options.request.seed;
  for (int k = 0; k < options.count; ++k) {
    SheetRequest request = options.request;
    request.seed = firstSeed + k;
    SheetRandom random(request.seed);
    request.fills = RandomFills(definition, request.side, options.share, random);
    if (options.scanned) {
      const bool upsideDown = request.scan.upsideDown;
      request.scan = RandomDegradation(random);
      request.scan.upsideDown = upsideDown;
    }
    const GeneratedSheet sheet = GenerateSheet(definition, request);
    if (!sheet.error.empty()) {
      std::fprintf(stderr, "sheetgen: %s\n", sheet.error.c_str());
      std::fclose(list);
      return 1;
    }
    char name[32];
    std::snprintf(name, sizeof name, "PAGE%05d.BMP", k + 1);
    if (!WriteSheetBmp(options.output + "\\" + name, sheet)) {
      std::fprintf(stderr, "sheetgen: %s cannot be written\n", name);
      std::fclose(list);
      return 1;
    }
    for (const ExpectedField& field : sheet.expected) {
      std::fprintf(list, "%s,%s,\"%s\",%s,%s\n", name, field.name.c_str(), field.marks.c_str(),
                   field.value.c_str(), field.written.c_str());
    }
  }
  std::fclose(list);
  return 0;
}
