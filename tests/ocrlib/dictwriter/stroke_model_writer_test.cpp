// Stroke models in dictionary files: authored models as the loader reads
// them back (optional strokes, closed groups, weights, points), the refusal
// of models the file cannot express, and models derived from drawn glyphs.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ocrlib/dictwriter/stroke_model_writer.h"
#include "tests/ocrlib/frame/mupa_test_support.h"
#include "tests/ocrlib/kit/model_kit.h"

namespace {

using penkit::Figure;

AuthoredStroke Stroke(std::vector<uint8_t> codes, bool optional = false) {
  AuthoredStroke s;
  s.codes = std::move(codes);
  s.mean = {128, 128, 0, 0, 0, 0, 64, 64};
  s.spread = {24, 24, 0, 0, 0, 0, 32, 16};
  s.optional = optional;
  return s;
}

// A loop of three strokes, the middle one optional, and a bar apart; one
// point between the loop's first two strokes.
AuthoredModel LoopAndBar() {
  AuthoredModel m;
  m.name = "8";
  m.strokes = {Stroke({21, 22}), Stroke({31}, true), Stroke({22}), Stroke({12})};
  m.groups = {{{0, 1, 2}, 1, true}, {{3}, 0, false}};
  AuthoredPoint p;
  p.ways = {{0, 'e', 'K', 1, 's'}};
  p.meanX = 120;
  p.meanY = 140;
  p.spreadX = 16;
  p.spreadY = 256;
  m.points = {p};
  return m;
}

TEST(StrokeModelWriter, LoaderReadsTheModelAsAuthored) {
  modelkit::LoadedModels loaded({LoopAndBar()}, {});
  ASSERT_TRUE(loaded.loaded());
  const StrokeModel& m = loaded.ForStep(1).models[0];
  EXPECT_STREQ(m.name, "8");
  EXPECT_EQ(m.strokeCount, 4);
  EXPECT_EQ(m.groupCount, 2);
  EXPECT_EQ(m.optionalCount, 1);
  const uint8_t required[] = {1, 0, 1, 1};
  const uint8_t group[] = {0, 0, 0, 1};
  for (int e = 0; e < 4; ++e) {
    SCOPED_TRACE(e);
    EXPECT_EQ(m.strokes[e].required, required[e]);
    EXPECT_EQ(m.strokes[e].group, group[e]);
  }
  // The loop closes: its path returns to its first stroke, which links it
  // to the last one as well.
  EXPECT_EQ(m.groups[0].closed, 1);
  EXPECT_EQ(m.groups[0].memberCount, 4);
  EXPECT_EQ(m.groups[1].closed, 0);
  ASSERT_EQ(m.strokes[0].linkCount, 2);
  EXPECT_EQ(m.strokes[0].linkStroke[0], 1);
  EXPECT_EQ(m.strokes[0].linkEnd[0], 1);
  EXPECT_EQ(m.strokes[0].linkStroke[1], 2);
  EXPECT_EQ(m.strokes[0].linkEnd[1], 1);  // third link of the path: the joint value again
  EXPECT_EQ(m.strokes[1].linkEnd[1], 0);  // second link: the other end code
  // Weights of 65536 / spread^2, rounded; no spread, no weight.
  EXPECT_EQ(m.strokes[0].weight[0], 114);
  EXPECT_EQ(m.strokes[0].weight[2], 0);
  EXPECT_EQ(m.strokes[0].weight[6], 64);
  EXPECT_EQ(m.strokes[0].weight[7], 256);
  ASSERT_EQ(m.pointCount, 1);
  EXPECT_EQ(m.points[0].weightX, 256);
  EXPECT_EQ(m.points[0].weightY, 1);
  EXPECT_EQ(m.points[0].kinds[0], 1);
  EXPECT_EQ(m.points[0].endLetters[0], 'e');
}

TEST(StrokeModelWriter, StrokeReferencedBackwardAnywhereIsOptionalOnce) {
  // A closed path that names its first stroke backward and then forward
  // again: the stroke is optional, and counted once.
  ModelRecordFile f;
  f.name = "0";
  ModelStrokeFile stroke = {};
  stroke.codes = {21};
  f.strokes = {stroke, stroke};
  f.paths = {{1, {-1, 2, 1}}};
  StrokeModelFamilies families;
  families.family1[1] = {f};
  const LoadedDict dict(MakeStrokeModelDict(families, kTypeDigits, "test"));
  ASSERT_NE(dict.get(), nullptr);
  const StrokeModel& m = FindStrokeModelSet(dict.get(), kTypeDigits)->family1[0];
  EXPECT_EQ(m.strokes[0].required, 0);
  EXPECT_EQ(m.strokes[1].required, 1);
  EXPECT_EQ(m.optionalCount, 1);
}

TEST(StrokeModelWriter, ModelsTheFileCannotHoldAreRefused) {
  struct Case {
    const char* what;
    std::function<void(AuthoredModel&)> change;
  };
  const Case cases[] = {
      {"empty name", [](AuthoredModel& m) { m.name = ""; }},
      {"name of 8 bytes", [](AuthoredModel& m) { m.name = "ABCDEFGH"; }},
      {"no strokes",
       [](AuthoredModel& m) {
         m.strokes.clear();
         m.groups.clear();
         m.points.clear();
       }},
      {"stroke code 173", [](AuthoredModel& m) { m.strokes[3].codes = {173}; }},
      {"stroke without codes", [](AuthoredModel& m) { m.strokes[3].codes.clear(); }},
      {"stroke in two groups", [](AuthoredModel& m) { m.groups[1].strokes.push_back(0); }},
      {"stroke in no group", [](AuthoredModel& m) { m.groups.pop_back(); }},
      {"group naming stroke 4 of 4", [](AuthoredModel& m) { m.groups[1].strokes = {4}; }},
      {"ring stroke in an open group", [](AuthoredModel& m) { m.strokes[3].codes = {0}; }},
      {"closed group of one stroke that is no ring",
       [](AuthoredModel& m) { m.groups[1].closed = true; }},
      {"point naming stroke 4", [](AuthoredModel& m) { m.points[0].ways[0].strokeB = 4; }},
      {"point of kind Q", [](AuthoredModel& m) { m.points[0].ways[0].kind = 'Q'; }},
      {"point without ways", [](AuthoredModel& m) { m.points[0].ways.clear(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AuthoredModel m = LoopAndBar();
    c.change(m);
    ModelRecordFile f;
    std::string error;
    EXPECT_EQ(EncodeAuthoredModel(m, &f, &error), -1);
    EXPECT_FALSE(error.empty());
  }
  AuthoredModel ring = LoopAndBar();
  ring.strokes[3].codes = {0};
  ring.groups[1].closed = true;
  ModelRecordFile f;
  std::string error;
  EXPECT_EQ(EncodeAuthoredModel(ring, &f, &error), 0) << "a ring stroke alone closes its group";
}

TEST(StrokeModelWriter, DerivedModelsTakeTheirRolesAndStructureFromTheGlyph) {
  // A 2 of two strokes in one chain (the hook and the base), a 4 of two
  // chains crossing.
  const Figure two = Figure().Arc({40, 35}, 22, 180, 360).Polyline({{62, 35}, {15, 90}, {65, 90}});
  ModelDerivation how;
  how.name = "2";
  how.roles = {1, 0};
  how.optional = {1};
  AuthoredModel m = modelkit::Derive(two, 6, how);
  ASSERT_EQ(m.strokes.size(), 2u);
  ASSERT_EQ(m.groups.size(), 1u);
  EXPECT_EQ(m.groups[0].strokes, (std::vector<int>{1, 0}));
  EXPECT_FALSE(m.groups[0].closed);
  EXPECT_TRUE(m.strokes[1].optional);
  EXPECT_FALSE(m.strokes[0].optional);
  modelkit::Character ch = modelkit::Analyse(two, 6, 1);
  const StrokeSegment* first = ch.run.graph().groups.items[0].firstSegment;
  EXPECT_EQ(m.strokes[1].codes[0], first->kind * 10 + first->subKind);
  EXPECT_EQ(m.strokes[1].mean[0], first->centreX);

  const Figure four = Figure().Polyline({{45, 10}, {10, 65}, {65, 65}}).Line({45, 30}, {45, 95});
  how.name = "4";
  how.optional.clear();
  AuthoredModel crossed = modelkit::Derive(four, 6, how);
  EXPECT_EQ(crossed.groups.size(), 2u);
  ASSERT_EQ(crossed.points.size(), 1u);
  EXPECT_EQ(crossed.points[0].ways[0].kind, 'K');
}

TEST(StrokeModelWriter, DerivationRefusesWhatItCannotMake) {
  struct Case {
    const char* what;
    Figure figure;
    std::vector<int> roles;
  };
  const Case cases[] = {
      {"roles naming a stroke twice",
       Figure().Line({10, 10}, {10, 80}).Line({40, 10}, {40, 80}),
       {0, 0}},
      {"roles for more strokes than drawn", Figure().Line({10, 10}, {10, 80}), {1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    penkit::BitImage image = penkit::Draw(c.figure, 6);
    ModelDerivation how;
    how.name = "1";
    how.roles = c.roles;
    AuthoredModel m;
    std::string error;
    const MupaImage d = image.Descriptor();
    EXPECT_EQ(DeriveStrokeModel(d, image.InkRect(), how, &m, &error), -1);
    EXPECT_FALSE(error.empty());
  }
  penkit::BitImage blank(32, 32);
  ModelDerivation how;
  how.name = "1";
  AuthoredModel m;
  std::string error;
  const MupaImage d = blank.Descriptor();
  EXPECT_EQ(DeriveStrokeModel(d, blank.Rect(), how, &m, &error), -1);
  EXPECT_EQ(DeriveStrokeModel(d, {0, 0, 40, 40}, how, &m, &error), -1) << "outside the image";
}

}  // namespace
