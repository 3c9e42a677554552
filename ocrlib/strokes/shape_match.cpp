// Matching a structure description against an ordered list of shape
// templates: each element of a template consumes greedily the characters of
// its range (between its minimum and maximum count), spans bound the
// distances between element ends, and the first template that consumes the
// whole description decides. A template may instead match a leading part and
// hand the rest to a continuation list, or match the smoothed description.
// The templates are constant data: the ends the matcher finds are kept here.
#include <cstring>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kMaxTemplateElements = 64;   // a longer template never matches
constexpr int kMaxContinuationDepth = 8;   // continuation lists chained further never match
constexpr char kGroupSeparator = ':';

// The smoothed description: every direction character averaged with its
// neighbours in its group (the first and the last with their one
// neighbour); a group of one character stays as it is.
void SmoothDescription(const char* text, char* out) {
  const int n = static_cast<int>(std::strlen(text));
  for (int k = 0; k < n; ++k) {
    const int c = text[k];
    const bool hasPrev = k > 0 && text[k - 1] != kGroupSeparator;
    const bool hasNext = k + 1 < n && text[k + 1] != kGroupSeparator;
    if (c == kGroupSeparator || (!hasPrev && !hasNext)) {
      out[k] = static_cast<char>(c);
    } else if (hasPrev && hasNext) {
      out[k] = static_cast<char>((text[k - 1] + c + text[k + 1] + 1) / 3);
    } else if (hasNext) {
      out[k] = static_cast<char>((c + text[k + 1] + 1) / 2);
    } else {
      out[k] = static_cast<char>((text[k - 1] + c + 1) / 2);
    }
  }
  out[n] = '\0';
}

// Consumes the template's elements from the start of `text`; the position
// after the last one, or -1 when an element or a span fails.
int MatchElements(const ShapeTemplate& t, const char* text) {
  int ends[kMaxTemplateElements + 1] = {0};  // [0] the string start
  int elements = 0;
  int position = 0;
  for (const TemplateElement* e = t.pattern; e->low != 0; ++e) {
    if (elements == kMaxTemplateElements) return -1;
    int taken = 0;
    while (taken < e->maxCount && text[position] != '\0' && text[position] >= e->low &&
           text[position] <= e->high) {
      ++position;
      ++taken;
    }
    if (taken < e->minCount) return -1;
    ends[++elements] = position;
  }
  for (const TemplateSpan* s = t.spans; s != nullptr && s->from != -1; ++s) {
    if (s->from < 0 || s->to < 0 || s->from > elements || s->to > elements) return -1;
    const int length = ends[s->to] - ends[s->from];
    if (length < s->min || length > s->max) return -1;
  }
  return position;
}

int MatchList(const char* description, const ShapeTemplate* templates, int depth) {
  if (depth > kMaxContinuationDepth || templates == nullptr) return 0;
  char smoothed[kDescriptionRoom];
  bool smoothedMade = false;
  for (const ShapeTemplate* t = templates; t->pattern != nullptr; ++t) {
    const char* text = description;
    if (t->flags == kTemplateSmoothed) {
      if (!smoothedMade) {
        if (std::strlen(description) >= kDescriptionRoom) {
          PushErrorCode(kErrCapacityFull);
          return 0;
        }
        SmoothDescription(description, smoothed);
        smoothedMade = true;
      }
      text = smoothed;
    }
    const int end = MatchElements(*t, text);
    if (end < 0) continue;
    if (text[end] == '\0') {
      g_structureDecision = t->decision;
      return 1;
    }
    if (t->flags == kTemplateContinue) return MatchList(description + end, t->next, depth + 1);
  }
  return 0;
}

}  // namespace

int MatchShapeTemplate(const char* description, const ShapeTemplate* templates) {
  return description != nullptr ? MatchList(description, templates, 0) : 0;
}
