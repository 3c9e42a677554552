// Stroke models for dictionary files, written by hand or derived from a
// clean glyph by the library's own stroke extraction.
//
// A model is one way of writing one class: its strokes in the order the class
// checks name them (S0, S1, ...), each with the stroke codes that may play it
// and the expected features in the 256-unit frame; its groups (the strokes of
// one traced chain, in chain order); and its points (the junctions between
// two strokes). Spreads are given in frame units: a feature off by one spread
// adds one to the chi-square sum behind the match distance (weight 65536 /
// spread^2; a spread of 0 leaves the feature unweighed).
//
// Features, as the matcher compares them (the order of every feature array):
//   0, 1 centre x, y                     all strokes
//   2, 3 first end x, y                  bent strokes (kind 2 and up)
//        bend offset x, y                straight strokes (kind 1)
//   4, 5 second end x, y                 bent strokes
//        half width, half height         straight strokes (extents only)
//   6, 7 width, height                   rings and bent strokes
//        orientation vector              straight strokes (doubled angle)
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ocrlib/dictwriter/dict_writer.h"
#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/mupa32.h"

constexpr int kModelFeatures = 8;
using ModelFeatures = std::array<int16_t, kModelFeatures>;

struct AuthoredStroke {
  std::vector<uint8_t> codes;  // kind x 10 + sub-kind, 0..172
  ModelFeatures mean = {};
  ModelFeatures spread = {};
  bool optional = false;  // the matcher may leave it without a segment
};

// The strokes of one traced chain in chain order. `joint` is the end code at
// which the first two meet (1 when their shared piece ends the chain, else 0;
// the codes alternate along the chain). A closed group is a ring: one ring
// stroke (code 0), or two or more strokes whose last meets the first again.
struct AuthoredGroup {
  std::vector<int> strokes;
  uint8_t joint = 0;
  bool closed = false;
};

// One way a junction may join two strokes: the strokes, the end at which
// each meets the junction ('s' first end, 'e' second end, 'o' inside, 'h'
// last piece, 't' first piece) and the junction kind ('K', 'T' or 'X').
struct AuthoredPointWay {
  int strokeA;
  char endA;
  char kind;
  int strokeB;
  char endB;
};

struct AuthoredPoint {
  std::vector<AuthoredPointWay> ways;
  int16_t meanX = 0, meanY = 0;
  int16_t spreadX = 0, spreadY = 0;
  bool optional = false;
};

struct AuthoredModel {
  std::string name;  // the class name, a row of the class-check table
  std::vector<AuthoredStroke> strokes;
  std::vector<AuthoredGroup> groups;
  std::vector<AuthoredPoint> points;
};

// The model in file form: optional strokes referenced backward in their
// group's path, closed groups of several strokes ending with their first
// stroke again. Returns 0, or -1 with the reason in *error when the model
// cannot be written (bad name, counts, codes, references, or a group the
// loader would read otherwise than authored).
int EncodeAuthoredModel(const AuthoredModel& model, ModelRecordFile* out, std::string* error);
// Every model of the list; 0, or -1 with the first model's reason.
int EncodeAuthoredModels(const std::vector<AuthoredModel>& models,
                         std::vector<ModelRecordFile>* out, std::string* error);

// How a model is derived from a glyph.
struct ModelDerivation {
  std::string name;
  uint8_t step = 1;  // extraction step: 1 and 3 thinned, 4, 0 and 2 polygons
  // Model stroke of each extracted segment, segments counted over the traced
  // chains in order; empty keeps the extracted order.
  std::vector<int> roles;
  std::vector<int> optional;  // model strokes the matcher may leave out
  // Strokes the glyph does not show but other writings of the class do:
  // optional, each a chain of its own, at the model stroke numbers given
  // (the roles then number the extracted strokes around them).
  struct ExtraStroke {
    int number;
    AuthoredStroke stroke;
  };
  std::vector<ExtraStroke> extra;
  // Model point number of each junction found (in the order of the feature
  // points); empty keeps that order. Extra points the glyph lacks are
  // optional.
  std::vector<int> pointRoles;
  struct ExtraPoint {
    int number;
    AuthoredPoint point;
  };
  std::vector<ExtraPoint> extraPoints;
  ModelFeatures spread = {24, 24, 24, 24, 24, 24, 24, 24};
  int16_t pointSpread = 24;
};

// Extracts the strokes of the rectangle of a 1-bit image (bit 7 of a byte
// the leftmost pixel, a set bit black) as the recogniser does for the step,
// and makes them a model: each segment's code and features, its chain's
// group, and a point for every junction. Returns 0, or -1 with the reason in
// *error (no strokes, roles that are no permutation, strokes that meet in a
// way no model path expresses, extra strokes that are no lone chain).
int DeriveStrokeModel(const MupaImage& image, const MupaRect& rect, const ModelDerivation& how,
                      AuthoredModel* model, std::string* error);

// The same from records already analysed and laid into the frame (straight
// strokes holding their chords, as the frame normalisation leaves them).
int DeriveModelFromRecords(const CharFrame& frame, const StrokeGraph& graph,
                           const StrokeNodeLists& nodeLists, const ModelDerivation& how,
                           AuthoredModel* model, std::string* error);

// The models of one family per character group (g0 signs, g1 digits, g2
// capitals, g3 katakana): family 1 serves the thinned steps, family 2 the
// polygon steps. Laid out as the file stores them (the signs twice).
struct StrokeModelFamilies {
  std::vector<ModelRecordFile> family1[kModelGroups];
  std::vector<ModelRecordFile> family2[kModelGroups];
};
StrokeSectionFile MakeStrokeSection(const StrokeModelFamilies& families);
// A loadable dictionary of these stroke models alone.
DictFileSpec MakeStrokeModelDict(const StrokeModelFamilies& families, uint32_t offeredTypes,
                                 const std::string& description);
