// Random bitmaps through the digit decision by structure: the row and column
// chains, their clean-up, tokens and outline tree, and the procedures; then a
// description by a rule list taken from the input, matched against a few
// templates. The decision must end as a digit or 'g', and the chains must
// agree with their records. Input: width, height, box offsets and the length
// of the rule list, the rule words, then the bitmap's bits (repeated when
// short).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/chain_check.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

constexpr TemplateElement kAnyDirections[] = {{'0', '8', 0, 40}, {':', ':', 0, 1}, {0, 0, 0, 0}};
constexpr TemplateElement kDown[] = {{'3', '5', 1, 20}, {0, 0, 0, 0}};
constexpr TemplateSpan kSpans[] = {{0, 1, 2, 30}, {1, 2, 0, 1}, {-1, 0, 0, 0}};
constexpr ShapeTemplate kRest[] = {{kAnyDirections, nullptr, "rest", nullptr, '5', 0},
                                   {nullptr, nullptr, nullptr, nullptr, 0, 0}};
constexpr ShapeTemplate kTemplates[] = {{kDown, nullptr, "lead", kRest, 'p', 1},
                                        {kDown, nullptr, "smooth", nullptr, '4', 2},
                                        {kAnyDirections, kSpans, "spans", nullptr, '8', 0},
                                        {nullptr, nullptr, nullptr, nullptr, 0, 0}};

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "structure fuzz: %s\n", what);
  std::abort();
}

void CheckSet(int set) {
  SelectStructureBuffers(set);
  if (g_structureSet->chainHead == nullptr) return;
  const std::string problem = penkit::CheckStructureChain();
  Require(problem.empty(), problem.c_str());
  Require(std::strlen(g_structureSet->tokens) < kStructureTokenRoom, "token text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  const int width = 1 + data[0] % 120, height = 1 + data[1] % 120;
  const int left = data[2] % 8, top = data[3] % 8;
  const int ruleWords = data[4] % 32;
  const int header = 5 + ruleWords;
  if (size <= static_cast<size_t>(header)) return 0;
  int32_t rules[32];
  for (int k = 0; k < ruleWords; ++k) rules[k] = static_cast<int8_t>(data[5 + k]) % 12;
  rules[ruleWords] = kRuleEnd;  // nothing after it may be read

  penkit::BitImage image(left + width, top + height);
  const size_t bits = (size - header) * 8;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const size_t bit = static_cast<size_t>(y * width + x) % bits;
      if ((data[header + bit / 8] >> (bit % 8)) & 1) image.Set(left + x, top + y);
    }
  ClearErrorStack();
  const int result = DecideDigitByStructure(image.bits().data(), left, left + width - 1, top,
                                            top + height - 1, image.bytesPerLine());
  const int32_t d = g_structureDecision;
  Require(d == kUndecided || (d >= '0' && d <= '9'), "decision");
  Require(result == 0 || (result == -9 && d == kUndecided && GetErrorCount() > 0), "result");
  if (result != 0) return 0;
  CheckSet(0);
  CheckSet(1);
  SelectStructureBuffers(0);
  const char* description = FormatStructureDescription(rules);
  if (description != nullptr) {
    Require(std::strlen(description) < kDescriptionRoom, "description");
    MatchShapeTemplate(description, kTemplates);
  }
  return 0;
}
