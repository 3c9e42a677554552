// The digit decision by structure on the pen kit's digits: how often each
// branch (each template set, and the measures of each structure pattern
// that decide a digit without templates) decides,
// and how often rightly, on training and held-out samples; per digit how
// many are decided; and decisions per second on one core. The precision
// target of a set is 99.5 % of what it decides. A pack of real handwritten
// digits (MNIST's held-out ones, digits_mnist_test.pack of mupa_dictbuilder)
// is tallied too when given. Usage: structure_digits [per digit] [training
// seed] [held-out seed] [digit pack]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "ocrlib/dictbuilder/dict_builder.h"
#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/digit_kit.h"

namespace {

constexpr double kTargetPrecision = 99.5;
constexpr double kTargetPerSecond = 20000;

double Percent(int part, int whole) { return whole > 0 ? 100.0 * part / whole : 100.0; }

// Prints the tally; returns the lowest precision of a branch that decided:
// a template set, or the measures of one structure pattern deciding one
// digit without templates.
double Report(const char* what, const penkit::DecisionTally& t) {
  std::printf("%s\n  %-44s %8s %8s %9s\n", what, "branch", "decided", "right", "precision");
  double lowest = 100;
  for (size_t s = 0; s < t.sets.size(); ++s) {
    const penkit::SetTally& set = t.sets[s];
    if (set.decided == 0) continue;
    const double precision = Percent(set.right, set.decided);
    lowest = std::min(lowest, precision);
    char name[64];
    if (s < kTemplateSetCount) {
      std::snprintf(name, sizeof name, "%s", kTemplateSets[s].name);
    } else {
      const int branch = static_cast<int>(s) - kTemplateSetCount;
      std::snprintf(name, sizeof name, "pattern %02d, measures alone -> %d", branch / 10,
                    branch % 10);
    }
    std::printf("  %-44s %8d %8d %8.2f%%%s\n", name, set.decided, set.right, precision,
                precision < kTargetPrecision ? "  below target" : "");
  }
  std::printf("  digit  samples  decided  right\n");
  for (int d = 0; d < 10; ++d)
    std::printf("  %5d  %7d  %7d  %5d\n", d, t.samples[d], t.decided[d], t.right[d]);
  if (t.failures > 0) std::printf("  %d decisions failed\n", t.failures);
  return lowest;
}

}  // namespace

int main(int argc, char** argv) {
  const int perDigit = argc > 1 ? std::atoi(argv[1]) : 300;
  const uint32_t trainingSeed = argc > 2 ? std::atoi(argv[2]) : 1000;
  const uint32_t heldOutSeed = argc > 3 ? std::atoi(argv[3]) : 900000;
  const std::vector<penkit::DigitSample> training = penkit::DigitSamples(trainingSeed, perDigit);
  const std::vector<penkit::DigitSample> heldOut = penkit::DigitSamples(heldOutSeed, perDigit);

  const auto start = std::chrono::steady_clock::now();
  const penkit::DecisionTally trained = penkit::TallyStructureDecisions(training);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const penkit::DecisionTally held = penkit::TallyStructureDecisions(heldOut);

  const double lowestTraining = Report("training samples", trained);
  const double lowestHeldOut = Report("held-out samples", held);
  if (argc > 4) {
    std::vector<PackedChar> pack;
    std::string error;
    if (ReadSamplePack(argv[4], &pack, &error) != 0) {
      std::printf("structure_digits: %s\n", error.c_str());
    } else {
      std::vector<penkit::DigitSample> real;
      for (const PackedChar& c : pack) {
        penkit::BitImage image(c.width, c.height);
        for (int y = 0; y < c.height; ++y) {
          for (int x = 0; x < c.width; ++x) {
            if (c.bits[y * ((c.width + 7) / 8) + x / 8] & (0x80 >> (x % 8))) image.Set(x, y);
          }
        }
        real.push_back({(c.sjis & 0xFF) - 0x4F, 0, 0, image});
      }
      Report(argv[4], penkit::TallyStructureDecisions(real));
    }
  }
  const double perSecond = training.size() / seconds;
  const double lowest = std::min(lowestTraining, lowestHeldOut);
  std::printf("lowest precision of a deciding branch: training %.2f%%, held-out %.2f%%\n"
              "  target %.1f%%: %s (ratio %.3f)\n",
              lowestTraining, lowestHeldOut, kTargetPrecision,
              lowest >= kTargetPrecision ? "met" : "NOT MET", lowest / kTargetPrecision);
  std::printf("decisions: %.0f characters/s, one core\n  target %.0f characters/s: %s "
              "(ratio %.2f)\n",
              perSecond, kTargetPerSecond, perSecond >= kTargetPerSecond ? "met" : "NOT MET",
              perSecond / kTargetPerSecond);
  return 0;
}
