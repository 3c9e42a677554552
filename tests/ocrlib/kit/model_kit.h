// Stroke models for the recognition tests: models derived from pen-drawn
// glyphs or written by hand, loaded through a real dictionary file, and the
// stroke-model verification run on pen-drawn characters.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ocrlib/core/core_internal.h"
#include "ocrlib/dictwriter/stroke_model_writer.h"
#include "tests/ocrlib/frame/mupa_test_support.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace modelkit {

// A model derived from the figure drawn with a round pen of `pen` pixels.
// Fails the test (and returns an empty model) when derivation refuses it.
AuthoredModel Derive(const penkit::Figure& figure, double pen, const ModelDerivation& how);

// The models of one dictionary file, loaded as the library loads it: the
// digit models of family 1 (thinned steps) and family 2 (polygon steps).
class LoadedModels {
 public:
  LoadedModels(const std::vector<AuthoredModel>& family1, const std::vector<AuthoredModel>& family2,
               uint32_t mask = kTypeDigits);
  ~LoadedModels();
  LoadedModels(const LoadedModels&) = delete;
  LoadedModels& operator=(const LoadedModels&) = delete;

  bool loaded() const { return dict_ && dict_->get() != nullptr; }
  // The model set with the family of the step as its current selection.
  const StrokeModelSet& ForStep(uint8_t step);
  // Position of the model named `name` in the family's selection, -1 none.
  int Position(uint8_t step, const std::string& name);

 private:
  std::unique_ptr<LoadedDict> dict_;
  StrokeModelSet set_ = {};
};

// A character drawn and analysed for one step, with a work area for its
// candidates.
struct Character {
  penkit::StrokeRun run;
  std::unique_ptr<SessionWorkArea> work = std::make_unique<SessionWorkArea>();
};
Character Analyse(const penkit::Figure& figure, double pen, uint8_t step);

// VerifyCandidatesByShape on the character (steps as analysed, path byte as
// given), with the class checks or none.
int Verify(Character& c, const StrokeModelSet& set, const ShapeCheckRoutines* checks,
           uint8_t path = 0);

// Survivors after a verification, best first: model names and distances.
struct Survivor {
  std::string name;
  int distance;
};
std::vector<Survivor> Survivors(const Character& c, const StrokeModelSet& set);

}  // namespace modelkit
