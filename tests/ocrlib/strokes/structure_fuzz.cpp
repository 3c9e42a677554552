// Random bitmaps through the digit decision by structure: the row and column
// chains, their clean-up, tokens and outline tree, and the procedures; then a
// description by a rule list taken from the input, matched against a few
// templates. The decision must end as a digit or 'g', and the chains must
// agree with their records. The input is read by the kit
// (structure_fuzz_input.h); the inputs it once failed on seed its corpus.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/chain_check.h"
#include "tests/ocrlib/kit/structure_fuzz_input.h"

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
  std::optional<penkit::StructureFuzzInput> in = penkit::ReadStructureFuzzInput(data, size);
  if (!in) return 0;
  ClearErrorStack();
  const int result = DecideDigitByStructure(in->image.bits().data(), in->left, in->right,
                                            in->top, in->bottom, in->image.bytesPerLine());
  const int32_t d = g_structureDecision;
  Require(d == kUndecided || (d >= '0' && d <= '9'), "decision");
  Require(result == 0 || (result == -9 && d == kUndecided && GetErrorCount() > 0), "result");
  if (result != 0) return 0;
  CheckSet(0);
  CheckSet(1);
  SelectStructureBuffers(0);
  const char* description = FormatStructureDescription(in->rules);
  if (description != nullptr) {
    Require(std::strlen(description) < kDescriptionRoom, "description");
    MatchShapeTemplate(description, kTemplates);
  }
  return 0;
}
