// Trials of the class-check rows.
#include "tests/ocrlib/kit/check_trials.h"

#include <gtest/gtest.h>

#include <string>

#include "ocrlib/strokes/strokes_internal.h"

namespace modelkit {

namespace {

constexpr int kStraightCodes[] = {10, 17};
constexpr int kBentCodes[] = {20, kMaxStrokeCode};

// Every stroke code of the kind of `code`: straight, bent or a ring.
std::vector<uint8_t> CodesOfKind(uint8_t code) {
  const int* range = code >= kBentCodes[0]       ? kBentCodes
                     : code >= kStraightCodes[0] ? kStraightCodes
                                                 : nullptr;
  if (range == nullptr) return {code};
  std::vector<uint8_t> codes;
  for (int c = range[0]; c <= range[1]; ++c) codes.push_back(static_cast<uint8_t>(c));
  return codes;
}

AuthoredModel ModelOf(const ClassModel& cls) {
  ModelDerivation how = cls.how;
  how.name = cls.row;
  AuthoredModel model = Derive(cls.glyph, kTrialPen, how);
  for (AuthoredStroke& s : model.strokes) {
    if (s.optional || s.codes.empty()) continue;
    if (!cls.codes.empty()) s.codes = cls.codes;
    if (cls.anyCodeOfKind) s.codes = CodesOfKind(s.codes[0]);
  }
  return model;
}

TrialDecision DecideOnModel(const AuthoredModel& model, uint8_t step, const penkit::Figure& shape,
                            uint32_t mask) {
  const bool thinned = IsThinnedStep(step);
  const std::vector<AuthoredModel> one = {model}, none;
  LoadedModels models(thinned ? one : none, thinned ? none : one, mask);
  StrokeModelSet set = models.ForStep(step);
  set.mask = mask;
  Character ch = Analyse(shape, kTrialPen, step);
  TrialDecision d;
  ShapeCandidate& c = ch.work->candidates[0];
  if (Verify(ch, set, nullptr) != 0 || c.valid == 0) return d;
  d.matched = true;
  penkit::StrokeRun& r = ch.run;
  ch.work->current = &c;
  g_lastCheckVerdict = {};
  ApplyClassCheck(&r.steps, &r.contours(), &r.points(), &r.store->frame, &r.graph(), &r.nodes(),
                  &set, ch.work.get());
  d.valid = c.valid;
  d.distance = c.distance;
  d.verdict = g_lastCheckVerdict;
  // The verdict names the row by its model's name, which goes with the models.
  if (d.verdict.routine != nullptr) d.routine = d.verdict.routine;
  d.verdict.routine = nullptr;
  return d;
}

void RunTrials(const ClassModel& cls, std::initializer_list<Trial> trials, bool byRow) {
  const AuthoredModel model = ModelOf(cls);
  for (const Trial& t : trials) {
    SCOPED_TRACE(std::string(cls.row) + ": " + t.what);
    const TrialDecision d = DecideOnModel(model, cls.how.step, t.shape, t.mask);
    ASSERT_TRUE(d.matched) << "the shape must match the model for the row to decide";
    EXPECT_EQ(d.valid, t.expected) << "decided at line " << d.verdict.line;
    if (t.overThreshold) {
      EXPECT_EQ(d.routine, "") << "the row ran";
    } else if (byRow) {
      EXPECT_EQ(d.routine, cls.row) << "no row ran: the distance alone decided";
      EXPECT_EQ(d.verdict.rejected, t.expected == 0) << "decided at line " << d.verdict.line;
    }
  }
}

}  // namespace

AuthoredPoint LooseJunction(int16_t x, int16_t y) {
  AuthoredPoint p;
  p.ways = {{0, 'o', 'K', 1, 'o'}};
  p.meanX = x;
  p.meanY = y;
  p.spreadX = p.spreadY = 24;
  return p;
}

void ExpectTrials(const ClassModel& cls, std::initializer_list<Trial> trials) {
  RunTrials(cls, trials, false);
}

void ExpectTrialsDecidedByRow(const ClassModel& cls, std::initializer_list<Trial> trials) {
  RunTrials(cls, trials, true);
}

TrialDecision DecideTrial(const ClassModel& cls, const penkit::Figure& shape, uint32_t mask) {
  return DecideOnModel(ModelOf(cls), cls.how.step, shape, mask);
}

void ExpectBoundaries(std::initializer_list<Boundary> cases) {
  for (const Boundary& b : cases) {
    SCOPED_TRACE(std::string(b.row) + ": " + b.what);
    RowHarness h(b.strokes, b.points, b.row);
    b.lay(h);
    h.candidate().distance = b.distance;
    h.candidate().valid = ClassCodeOfName(b.row);
    g_lastCheckVerdict = {};
    h.ApplyCheck();
    EXPECT_EQ(h.valid(), b.expected) << "decided at line " << g_lastCheckVerdict.line;
  }
}

ContourPoint* LayBarOutline(RowHarness& h, int bulge) {
  h.frame().originY = -256;
  return h.Ring({{200, 100},
                 {190, 100},
                 {180, 100},
                 {170, 100},
                 {150, 100},
                 {128, 100 - bulge},
                 {100, 100},
                 {80, 100},
                 {70, 100},
                 {60, 100},
                 {50, 100},
                 {50, 150},
                 {50, 200},
                 {200, 200},
                 {200, 150}});
}

}  // namespace modelkit
