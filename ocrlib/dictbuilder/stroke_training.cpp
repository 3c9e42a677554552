// Stroke models of a character set derived from its clean writings.
#include "ocrlib/dictbuilder/stroke_training.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <set>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/samples/drawn_chars.h"

namespace {

constexpr int kModelEmPixels = 56;  // about a 5 mm cell at 300 dpi
constexpr int kPenWritingsPerClass = 24;
constexpr uint8_t kThinnedStep = 1;
constexpr uint8_t kPolygonStep = 0;
constexpr int kSelectionRounds = 8;

int GroupOf(glyphs::CharSet set) {
  switch (set) {
    case glyphs::CharSet::kDigits: return 1;
    case glyphs::CharSet::kCapitals: return 2;
    case glyphs::CharSet::kKatakana: return 3;
  }
  return 1;
}

// What the matcher needs a model to differ in: each stroke's codes, the
// groups and the kinds of junction.
std::string Signature(const AuthoredModel& m) {
  std::string s;
  for (const AuthoredStroke& st : m.strokes) {
    for (uint8_t c : st.codes) s += std::to_string(c) + ",";
    s += ";";
  }
  for (const AuthoredGroup& g : m.groups) {
    s += "g" + std::to_string(g.strokes.size()) + (g.closed ? "c" : "o") +
         std::to_string(g.joint);
  }
  for (const AuthoredPoint& p : m.points) {
    for (const AuthoredPointWay& w : p.ways) s += std::string("p") + w.kind;
  }
  return s;
}

// The class name of a derived model: the half-width digit or capital the
// answer's code is made from, marked so that no class-check row takes it
// (the rows name strokes in the order of hand-set models, which a derived
// model does not follow). Empty for classes the names cannot carry.
std::string ClassName(const glyphs::CharClass& c) {
  const bool digit = c.codepoint >= U'0' && c.codepoint <= U'9';
  const bool capital = c.codepoint >= U'A' && c.codepoint <= U'Z';
  return digit || capital ? std::string{char(c.codepoint), '#'} : std::string();
}

glyphs::Distortion Clean() {
  glyphs::Distortion d;
  d.maxRotationDeg = 0, d.maxShear = 0, d.maxAspect = 0;
  d.minScale = d.maxScale = 1;
  d.thickenChance = d.thinChance = d.speckleChance = d.breakChance = 0;
  return d;
}

}  // namespace

void DeriveSetStrokeModels(const glyphs::GlyphRenderer& renderer, glyphs::CharSet set,
                           uint32_t seed, int perClass, const std::vector<glyphs::Sample>& more,
                           StrokeModelFamilies* families, StrokeTrainingReport* report) {
  const int group = GroupOf(set);
  const glyphs::Distortion clean = Clean();
  // A family holds no more models than the recogniser selects.
  const int classCount = static_cast<int>(glyphs::CharacterSet(set).size());
  perClass = std::min(perClass, kMaxSelectedModels / classCount);
  std::mt19937 rng(seed);
  // The writings of every class: each face's glyph, then pen writings.
  std::map<uint16_t, std::vector<glyphs::GlyphImage>> writings;
  std::map<uint16_t, std::string> names;
  for (const glyphs::CharClass& c : glyphs::CharacterSet(set)) {
    names[c.sjis] = ClassName(c);
    for (int face = 0; face < renderer.faceCount(); ++face) {
      glyphs::GlyphImage g = renderer.Render(c.codepoint, face, kModelEmPixels, clean, rng);
      if (g.width > 0) writings[c.sjis].push_back(std::move(g));
    }
  }
  for (glyphs::Sample& s : glyphs::DrawSamples(set, kPenWritingsPerClass, seed, clean)) {
    writings[s.sjis].push_back(std::move(s.image));
  }
  for (const glyphs::Sample& s : more) writings[s.sjis].push_back(s.image);
  for (const uint8_t step : {kThinnedStep, kPolygonStep}) {
    std::vector<ModelRecordFile>& family =
        step == kThinnedStep ? families->family1[group] : families->family2[group];
    for (auto& [code, images] : writings) {
      if (names[code].empty()) continue;
      std::set<std::string> seen;
      int kept = 0;
      for (glyphs::GlyphImage& image : images) {
        if (kept >= perClass) break;
        ++report->writings;
        ModelDerivation how;
        how.name = names[code];
        how.step = step;
        AuthoredModel model;
        ModelRecordFile file;
        std::string error;
        if (DeriveStrokeModel(image.Descriptor(), image.ink, how, &model, &error) != 0 ||
            EncodeAuthoredModel(model, &file, &error) != 0) {
          ++report->refused;
          continue;
        }
        if (!seen.insert(Signature(model)).second) continue;
        family.push_back(std::move(file));
        ++kept;
        ++report->models;
      }
    }
  }
}

namespace {

struct ModelTally {
  std::vector<int> right, wrong;  // first answers of each model
  int read = 0, correct = 0, failed = 0;
};

// The structural recogniser's first answers on the samples, by the model
// behind each (family 2 first, then family 1, as the recogniser numbers
// them).
int TallyModels(const std::vector<LabelledChar>& samples, uint32_t typeBit,
                const StrokeModelFamilies& families, int group, const std::string& path,
                ModelTally* tally, std::string* error) {
  const DictFileSpec spec = MakeStrokeModelDict(families, typeBit, "stroke model selection");
  if (WriteDictBytes(path, EncodeDictFile(spec)) != 0) {
    *error = "cannot write " + path;
    return -1;
  }
  size_t size = 0;
  std::unique_ptr<uint8_t[]> memory;
  if (ComputeDictSize(path.c_str(), 0, &size) == 0) memory.reset(new uint8_t[size]);
  auto* dict = reinterpret_cast<DictBlock*>(memory.get());
  const bool loaded = memory && LoadDictFile(path.c_str(), dict, size) == 0;
  std::remove(path.c_str());
  const StrokeModelSet* set = loaded ? FindStrokeModelSet(dict, typeBit) : nullptr;
  const size_t n1 = families.family1[group].size(), n2 = families.family2[group].size();
  if (set == nullptr || set->family1Count != n1 || set->family2Count != n2) {
    *error = "the stroke models do not load as written";
    return -1;
  }
  tally->right.assign(n2 + n1, 0);
  tally->wrong.assign(n2 + n1, 0);
  auto area = std::make_unique<SessionWorkArea>();
  SessionWorkArea* const saved = g_currentWorkArea;
  g_currentWorkArea = area.get();
  DictBlock* const dicts[1] = {dict};
  for (const LabelledChar& s : samples) {
    RecogRunBlock run = {};
    run.image = s.image;
    run.rect = s.rect;
    run.options.mode = 2;
    run.dictCount = 1;
    run.dicts = dicts;
    CharWorkRecord work;
    ClearCharRecord(&work);
    if (RecognizeByStrokes(&run, typeBit, &work) != 0) {
      ++tally->failed;
      continue;
    }
    if (work.count == 0) continue;
    const RecogCandidate& first = work.candidates[0];
    if (first.empty() || first.model < 0 || first.model >= static_cast<int>(n1 + n2)) continue;
    ++tally->read;
    const bool right = first.code() == s.sjis;
    tally->correct += right;
    ++(right ? tally->right : tally->wrong)[first.model];
  }
  g_currentWorkArea = saved;
  return 0;
}

}  // namespace

int SelectStrokeModels(const std::vector<LabelledChar>& samples, glyphs::CharSet set,
                       const std::string& scratchPath, StrokeModelFamilies* families,
                       StrokeTrainingReport* report, std::string* error) {
  const int group = GroupOf(set);
  const uint32_t typeBit = glyphs::CharacterSet(set)[0].typeBit;
  std::vector<ModelRecordFile>& f1 = families->family1[group];
  std::vector<ModelRecordFile>& f2 = families->family2[group];
  for (int round = 0; round < kSelectionRounds; ++round) {
    ModelTally tally;
    if (TallyModels(samples, typeBit, *families, group, scratchPath, &tally, error) != 0) return -1;
    report->read = tally.read, report->right = tally.correct, report->failed = tally.failed;
    bool dropped = false;
    auto keep = [&](std::vector<ModelRecordFile>& family, size_t first) {
      std::vector<ModelRecordFile> kept;
      for (size_t m = 0; m < family.size(); ++m) {
        if (tally.wrong[first + m] > tally.right[first + m]) {
          ++report->dropped;
          dropped = true;
        } else {
          kept.push_back(std::move(family[m]));
        }
      }
      family = std::move(kept);
    };
    const size_t n2 = f2.size();
    keep(f2, 0);
    keep(f1, n2);
    if (!dropped) break;
  }
  return 0;
}
