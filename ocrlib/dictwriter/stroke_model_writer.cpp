// Stroke models in file form: authored models checked and encoded the way
// the loader reads them back, and models derived from clean glyphs by the
// library's own stroke extraction.
#include "ocrlib/dictwriter/stroke_model_writer.h"

#include <algorithm>
#include <memory>
#include <numeric>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kMaxSpreadWeight = 32767;

int Refuse(std::string* error, const std::string& why) {
  *error = why;
  return -1;
}

// 65536 / spread^2, rounded; 0 for no spread.
int16_t WeightOfSpread(int16_t spread) {
  if (spread == 0) return 0;
  const int64_t square = int64_t{spread} * spread;
  return static_cast<int16_t>(
      std::clamp<int64_t>((65536 + square / 2) / square, 1, kMaxSpreadWeight));
}

bool IsRingStroke(const AuthoredStroke& s) { return !s.codes.empty() && s.codes[0] == 0; }

int CheckStrokes(const AuthoredModel& m, std::string* error) {
  if (m.name.empty() || m.name.size() > kMaxModelNameBytes ||
      m.name.find('\0') != std::string::npos) {
    return Refuse(error, "a class name has 1 to 7 bytes: \"" + m.name + "\"");
  }
  if (m.strokes.empty() || m.strokes.size() > kMaxModelStrokes) {
    return Refuse(error, m.name + ": a model has 1 to 16 strokes");
  }
  for (const AuthoredStroke& s : m.strokes) {
    if (s.codes.empty() || s.codes.size() > 255) {
      return Refuse(error, m.name + ": every stroke needs 1 to 255 stroke codes");
    }
    for (uint8_t code : s.codes) {
      if (code > kMaxStrokeCode) return Refuse(error, m.name + ": stroke code above 172");
    }
  }
  return 0;
}

// Every stroke in exactly one group; closed groups that the loader reads as
// authored.
int CheckGroups(const AuthoredModel& m, std::string* error) {
  std::vector<int> seen(m.strokes.size(), 0);
  for (const AuthoredGroup& g : m.groups) {
    if (g.strokes.empty()) return Refuse(error, m.name + ": an empty group");
    for (int e : g.strokes) {
      if (e < 0 || e >= static_cast<int>(m.strokes.size())) {
        return Refuse(error, m.name + ": a group names a stroke the model lacks");
      }
      ++seen[e];
    }
    const bool ring = std::any_of(g.strokes.begin(), g.strokes.end(),
                                  [&m](int e) { return IsRingStroke(m.strokes[e]); });
    if (ring && !g.closed) return Refuse(error, m.name + ": a ring stroke closes its group");
    if (g.closed && g.strokes.size() == 1 && !ring) {
      return Refuse(error, m.name + ": a closed group of one stroke needs a ring stroke (code 0)");
    }
  }
  for (int count : seen) {
    if (count != 1) return Refuse(error, m.name + ": every stroke belongs to exactly one group");
  }
  return 0;
}

int CheckPoints(const AuthoredModel& m, std::string* error) {
  if (m.points.size() > kMaxModelPoints) return Refuse(error, m.name + ": more than 127 points");
  for (const AuthoredPoint& p : m.points) {
    if (p.ways.empty() || p.ways.size() > 255) {
      return Refuse(error, m.name + ": every point needs 1 to 255 ways");
    }
    for (const AuthoredPointWay& w : p.ways) {
      const int n = static_cast<int>(m.strokes.size());
      if (w.strokeA < 0 || w.strokeA >= n || w.strokeB < 0 || w.strokeB >= n) {
        return Refuse(error, m.name + ": a point names a stroke the model lacks");
      }
      if (w.kind != 'K' && w.kind != 'T' && w.kind != 'X') {
        return Refuse(error, m.name + ": a point's kind is K, T or X");
      }
    }
  }
  return 0;
}

ModelPathFile EncodeGroup(const AuthoredModel& m, const AuthoredGroup& g) {
  ModelPathFile path = {g.joint, {}};
  auto reference = [&m](int e) { return m.strokes[e].optional ? -(e + 1) : e + 1; };
  for (int e : g.strokes) path.references.push_back(reference(e));
  if (g.closed && g.strokes.size() >= 2) path.references.push_back(reference(g.strokes[0]));
  return path;
}

}  // namespace

int EncodeAuthoredModel(const AuthoredModel& m, ModelRecordFile* out, std::string* error) {
  if (CheckStrokes(m, error) != 0 || CheckGroups(m, error) != 0 || CheckPoints(m, error) != 0) {
    return -1;
  }
  *out = ModelRecordFile{m.name, "", {}, {}, {}};
  for (const AuthoredStroke& s : m.strokes) {
    ModelStrokeFile f = {};
    f.codes = s.codes;
    for (int i = 0; i < kModelFeatures; ++i) {
      f.mean[i] = s.mean[i];
      f.weight[i] = WeightOfSpread(s.spread[i]);
    }
    out->strokes.push_back(f);
  }
  for (const AuthoredGroup& g : m.groups) out->paths.push_back(EncodeGroup(m, g));
  for (const AuthoredPoint& p : m.points) {
    ModelPointFile f = {};
    f.required = !p.optional;
    for (const AuthoredPointWay& w : p.ways) {
      f.alternatives.push_back({static_cast<uint8_t>(w.strokeA), static_cast<uint8_t>(w.endA),
                                static_cast<uint8_t>(w.kind), static_cast<uint8_t>(w.strokeB),
                                static_cast<uint8_t>(w.endB)});
    }
    f.words[0] = p.meanX;
    f.words[1] = WeightOfSpread(p.spreadX);
    f.words[2] = p.meanY;
    f.words[3] = WeightOfSpread(p.spreadY);
    out->points.push_back(f);
  }
  return 0;
}

int EncodeAuthoredModels(const std::vector<AuthoredModel>& models,
                         std::vector<ModelRecordFile>* out, std::string* error) {
  out->assign(models.size(), ModelRecordFile{});
  for (size_t i = 0; i < models.size(); ++i) {
    if (EncodeAuthoredModel(models[i], &(*out)[i], error) != 0) return -1;
  }
  return 0;
}

namespace {

// The extracted records of one glyph.
struct GlyphStrokes {
  std::unique_ptr<StrokeRecordStore> store = std::make_unique<StrokeRecordStore>();
  std::vector<uint8_t> map;
};

// The segments of a graph over its chains in order.
struct SegmentOrder {
  std::vector<const StrokeSegment*> segments;
  int IndexOf(const StrokeSegment* s) const {
    const auto at = std::find(segments.begin(), segments.end(), s);
    return at == segments.end() ? -1 : static_cast<int>(at - segments.begin());
  }
};

int ExtractGlyph(const MupaImage& image, const MupaRect& rect, uint8_t step, GlyphStrokes* g,
                 std::string* error) {
  if (image.bits == nullptr || rect.left < 0 || rect.top < 0 || rect.right < rect.left ||
      rect.bottom < rect.top || rect.right >= image.width || rect.bottom >= image.height ||
      image.bytesPerLine < (image.width + 7) / 8) {
    return Refuse(error, "the glyph's rectangle does not lie in its image");
  }
  int width = ((rect.right >> 3) - (rect.left >> 3) + 1) * 8 + 2 * kNeighbourMapBorder;
  int height = rect.bottom - rect.top + 1 + 2 * kNeighbourMapBorder;
  if (int64_t{width} * height > kMaxNeighbourMapBytes) return Refuse(error, "the glyph is too big");
  g->map.assign(static_cast<size_t>(width) * height, 0);
  if (BuildNeighbourMap(image.bits, rect.left, rect.right, rect.top, rect.bottom,
                        image.bytesPerLine, g->map.data(), &width, &height) != 0) {
    return Refuse(error, "the glyph is too big");
  }
  NeighbourMap map = {g->map.data(), static_cast<int16_t>(width), static_cast<int16_t>(height),
                      kNeighbourMapBorder};
  StrokeRecordStore& s = *g->store;
  BindStrokeRecordStore(s);
  ClearBitmapMargin(&map);
  ResetStrokeWorkLists(&s.contours);
  ResetStrokeNodeCounts(&s.points);
  StrokeStepList steps;
  steps.count = 1;
  steps.steps[0] = step;
  steps.family = IsThinnedStep(step) ? kStepFamilyThinned : kStepFamilyPolygon;
  if (RunStrokeExtraction(&steps, &map, &s.contours, &s.points) != 0 ||
      AnalyseStrokeStructure(&steps, &s.points, &s.frame, &s.graph, &s.nodeLists) != 0 ||
      NormalizeStrokeFrame(&steps, &s.points, &s.frame, &s.graph, &s.nodeLists) != 0) {
    ClearErrorStack();
    return Refuse(error, "no strokes were found in the glyph");
  }
  return 0;
}

// The end code at which two segments first meet, -1 when they do not.
int MeetingCode(const StrokeSegment& a, const StrokeSegment* b) {
  for (int n = 0; n < a.neighbourCount && n < 2; ++n) {
    if (a.neighbours[n] == b) return a.neighbourEndCodes[n];
  }
  return -1;
}

// Whether a lists b as a neighbour meeting at the end code (segments that
// share both ends list each other twice).
bool MeetsAt(const StrokeSegment& a, const StrokeSegment* b, int code) {
  for (int n = 0; n < a.neighbourCount && n < 2; ++n) {
    if (a.neighbours[n] == b && a.neighbourEndCodes[n] == code) return true;
  }
  return false;
}

// The group of one traced chain; its links alternate their end codes from
// the joint value on, as a path of the file does.
int DeriveGroup(const SegmentOrder& g, const StrokeGroup& chain, const std::vector<int>& roles,
                AuthoredGroup* group, std::string* error) {
  std::vector<const StrokeSegment*> members;
  for (const StrokeSegment* s = chain.firstSegment; s != nullptr; s = s->next) members.push_back(s);
  group->closed = chain.closed != 0;
  for (const StrokeSegment* s : members) group->strokes.push_back(roles[g.IndexOf(s)]);
  if (members.size() == 1) {
    if (group->closed && StrokeCodeOf(*members[0]) != 0) {
      return Refuse(error, "a closed chain of one stroke that is no ring");
    }
    return 0;
  }
  const size_t links = group->closed ? members.size() : members.size() - 1;
  const int joint = MeetingCode(*members[0], members[1]);
  group->joint = static_cast<uint8_t>(joint < 0 ? 0 : joint);
  for (size_t i = 0; i < links; ++i) {
    const StrokeSegment* a = members[i];
    const StrokeSegment* b = members[(i + 1) % members.size()];
    const int expected = i % 2 == 0 ? group->joint : group->joint == 0 ? 1 : 0;
    if (!MeetsAt(*a, b, expected) || !MeetsAt(*b, a, expected)) {
      return Refuse(error, "the glyph's strokes meet in a way no model path expresses");
    }
  }
  return 0;
}

char EndLetter(int attachCode) {
  switch (attachCode) {
    case kAttachEnd1: return 's';
    case kAttachEnd2: return 'e';
    case kAttachMiddle: return 'o';
    case kAttachLastPiece: return 'h';
    default: return 't';
  }
}

char KindLetter(int kind) { return kind == 1 ? 'K' : kind == 2 ? 'T' : 'X'; }

int DerivePoints(const SegmentOrder& g, const StrokeNodeLists& lists, const std::vector<int>& roles,
                 int16_t spread, AuthoredModel* model, std::string* error) {
  for (int i = 0; i < lists.marks.count; ++i) {
    const FeaturePoint& f = lists.marks.items[i];
    if (f.edgeA < 0 || f.edgeA >= lists.edges.count || f.edgeB < 0 ||
        f.edgeB >= lists.edges.count) {
      return Refuse(error, "a junction without its two branches");
    }
    const StrokeEdge& a = lists.edges.items[f.edgeA];
    const StrokeEdge& b = lists.edges.items[f.edgeB];
    if (a.attachCount < 1 || b.attachCount < 1) return Refuse(error, "a junction joins no stroke");
    const int sa = g.IndexOf(a.segments[0]), sb = g.IndexOf(b.segments[0]);
    if (sa < 0 || sb < 0) return Refuse(error, "a junction joins no stroke");
    AuthoredPoint p;
    p.ways.push_back({roles[sa], EndLetter(a.attachCodes[0]), KindLetter(f.kind), roles[sb],
                      EndLetter(b.attachCodes[0])});
    p.meanX = f.x;
    p.meanY = f.y;
    p.spreadX = p.spreadY = spread;
    model->points.push_back(p);
  }
  return 0;
}

// The model numbers of `found` derived items: the given roles, or the
// numbers in order around those of the extra items; together they must
// number every item once. False when they do not.
template <class Extra>
bool NumberDerived(int found, const std::vector<int>& given, const std::vector<Extra>& extra,
                   std::vector<int>* roles) {
  *roles = given;
  auto taken = [&extra](int number) {
    return std::any_of(extra.begin(), extra.end(),
                       [number](const Extra& e) { return e.number == number; });
  };
  for (int number = 0; given.empty() && static_cast<int>(roles->size()) < found; ++number) {
    if (!taken(number)) roles->push_back(number);
  }
  std::vector<int> numbers = *roles;
  for (const Extra& e : extra) numbers.push_back(e.number);
  std::sort(numbers.begin(), numbers.end());
  for (int i = 0; i < static_cast<int>(numbers.size()); ++i) {
    if (numbers[i] != i) return false;
  }
  return static_cast<int>(roles->size()) == found;
}

// Puts the derived points at their model numbers and adds the extra ones.
int PlacePoints(const ModelDerivation& how, AuthoredModel* model, std::string* error) {
  const int found = static_cast<int>(model->points.size());
  const int total = found + static_cast<int>(how.extraPoints.size());
  std::vector<int> roles;
  if (!NumberDerived(found, how.pointRoles, how.extraPoints, &roles)) {
    return Refuse(error, how.name + ": the point roles and extra points number the " +
                             std::to_string(total) + " model points once each");
  }
  std::vector<AuthoredPoint> placed(total);
  for (int i = 0; i < found; ++i) placed[roles[i]] = model->points[i];
  for (const ModelDerivation::ExtraPoint& e : how.extraPoints) {
    placed[e.number] = e.point;
    placed[e.number].optional = true;
  }
  model->points = placed;
  return 0;
}

}  // namespace

int DeriveModelFromRecords(const CharFrame& frame, const StrokeGraph& graph,
                           const StrokeNodeLists& nodeLists, const ModelDerivation& how,
                           AuthoredModel* model, std::string* error) {
  SegmentOrder g;
  for (int c = 0; c < graph.groups.count; ++c) {
    for (const StrokeSegment* seg = graph.groups.items[c].firstSegment; seg != nullptr;
         seg = seg->next) {
      g.segments.push_back(seg);
      if (g.segments.size() > kMaxModelStrokes)
        return Refuse(error, how.name + ": more than 16 strokes");
    }
  }
  const int n = static_cast<int>(g.segments.size());
  if (n == 0) return Refuse(error, how.name + ": no strokes");
  const int total = n + static_cast<int>(how.extra.size());
  if (total > kMaxModelStrokes) return Refuse(error, how.name + ": more than 16 strokes");
  std::vector<int> roles;
  if (!NumberDerived(n, how.roles, how.extra, &roles)) {
    return Refuse(error, how.name + ": the roles and extra strokes number the " +
                             std::to_string(total) + " model strokes once each");
  }
  *model = AuthoredModel{how.name, std::vector<AuthoredStroke>(total), {}, {}};
  for (int i = 0; i < n; ++i) {
    const StrokeSegment& s = *g.segments[i];
    AuthoredStroke& stroke = model->strokes[roles[i]];
    stroke.codes = {static_cast<uint8_t>(StrokeCodeOf(s))};
    stroke.mean = {s.centreX, s.centreY, s.firstX, s.firstY,
                   s.secondX, s.secondY, s.sizeX,  s.sizeY};
    // The matcher compares a straight stroke's chord as its orientation vector.
    if (s.kind == 1)
      ChordOrientation(frame.size, s.sizeX, s.sizeY, &stroke.mean[6], &stroke.mean[7]);
    stroke.spread = how.spread;
  }
  for (const ModelDerivation::ExtraStroke& e : how.extra) {
    model->strokes[e.number] = e.stroke;
    model->strokes[e.number].optional = true;
    const bool ring = !e.stroke.codes.empty() && e.stroke.codes[0] == 0;
    model->groups.push_back({{e.number}, 0, ring});
  }
  for (int e : how.optional) {
    if (e < 0 || e >= total)
      return Refuse(error, how.name + ": an optional stroke the model lacks");
    model->strokes[e].optional = true;
  }
  for (int c = 0; c < graph.groups.count; ++c) {
    AuthoredGroup group;
    if (DeriveGroup(g, graph.groups.items[c], roles, &group, error) != 0) return -1;
    model->groups.push_back(group);
  }
  if (DerivePoints(g, nodeLists, roles, how.pointSpread, model, error) != 0) return -1;
  return PlacePoints(how, model, error);
}

int DeriveStrokeModel(const MupaImage& image, const MupaRect& rect, const ModelDerivation& how,
                      AuthoredModel* model, std::string* error) {
  GlyphStrokes g;
  if (ExtractGlyph(image, rect, how.step, &g, error) != 0) return -1;
  const StrokeRecordStore& s = *g.store;
  return DeriveModelFromRecords(s.frame, s.graph, s.nodeLists, how, model, error);
}

StrokeSectionFile MakeStrokeSection(const StrokeModelFamilies& f) {
  StrokeSectionFile s = {};
  constexpr int kStoredGroups[] = {0, 1, 2, 0, 3};  // the signs twice
  for (int g = 0; g < kModelGroups; ++g) {
    s.family1[g] = static_cast<uint16_t>(f.family1[g].size());
    s.family2[g] = static_cast<uint16_t>(f.family2[g].size());
  }
  for (const auto* family : {f.family1, f.family2}) {
    for (int g : kStoredGroups) s.models.insert(s.models.end(), family[g].begin(), family[g].end());
  }
  return s;
}

DictFileSpec MakeStrokeModelDict(const StrokeModelFamilies& families, uint32_t offeredTypes,
                                 const std::string& description) {
  DictFileSpec spec;
  spec.header = MakeDictHeader(offeredTypes, description, false);
  spec.hasStrokes = true;
  spec.strokes = MakeStrokeSection(families);
  return spec;
}
