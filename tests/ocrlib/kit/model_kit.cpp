// Stroke models and verification for the recognition tests.
#include "tests/ocrlib/kit/model_kit.h"

#include <gtest/gtest.h>

#include <new>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/frame/mupa_test_support.h"

namespace modelkit {

AuthoredModel Derive(const penkit::Figure& figure, double pen, const ModelDerivation& how) {
  penkit::BitImage image = penkit::Draw(figure, pen);
  AuthoredModel model;
  std::string error;
  const MupaImage d = image.Descriptor();
  EXPECT_EQ(DeriveStrokeModel(d, image.InkRect(), how, &model, &error), 0)
      << how.name << ": " << error;
  return model;
}

LoadedModels::LoadedModels(const std::vector<AuthoredModel>& family1,
                           const std::vector<AuthoredModel>& family2, uint32_t mask) {
  StrokeModelFamilies families;
  const int group = mask == kTypeCapitals   ? 2
                    : mask == kTypeKatakana ? 3
                    : mask == kTypeSigns    ? 0
                                            : 1;
  std::string error;
  EXPECT_EQ(EncodeAuthoredModels(family1, &families.family1[group], &error), 0) << error;
  EXPECT_EQ(EncodeAuthoredModels(family2, &families.family2[group], &error), 0) << error;
  dict_ = std::make_unique<LoadedDict>(MakeStrokeModelDict(families, mask, "test stroke models"));
  if (dict_->get() == nullptr) {
    ADD_FAILURE() << "loading the model dictionary: " << g_errorStack.codes[0];
    return;
  }
  set_ = *FindStrokeModelSet(dict_->get(), mask);
}

LoadedModels::~LoadedModels() = default;

const StrokeModelSet& LoadedModels::ForStep(uint8_t step) {
  const bool thinned = IsThinnedStep(step);
  set_.modelCount = thinned ? set_.family1Count : set_.family2Count;
  set_.models = thinned ? set_.family1 : set_.family2;
  return set_;
}

int LoadedModels::Position(uint8_t step, const std::string& name) {
  const StrokeModelSet& set = ForStep(step);
  for (int m = 0; m < set.modelCount; ++m) {
    if (name == set.models[m].name) return m;
  }
  return -1;
}

Character Analyse(const penkit::Figure& figure, double pen, uint8_t step) {
  Character c;
  penkit::BitImage image = penkit::Draw(figure, pen);
  c.run = penkit::RunSteps(image, {step});
  EXPECT_EQ(c.run.extraction, 0);
  EXPECT_EQ(c.run.analysis, 0);
  EXPECT_EQ(c.run.frame, 0);
  return c;
}

int Verify(Character& c, const StrokeModelSet& set, const ShapeCheckRoutines* checks,
           uint8_t path) {
  penkit::StrokeRun& r = c.run;
  r.steps.path = path;
  return VerifyCandidatesByShape(&r.steps, &r.contours(), &r.points(), &r.store->frame, &r.graph(),
                                 &r.nodes(), &set, c.work.get(), checks);
}

std::vector<Survivor> Survivors(const Character& c, const StrokeModelSet& set) {
  std::vector<Survivor> out;
  for (int i = 0; i < c.work->survivorCount; ++i) {
    out.push_back({set.models[c.work->survivorModel[i]].name, c.work->survivorDistance[i]});
  }
  return out;
}

}  // namespace modelkit
