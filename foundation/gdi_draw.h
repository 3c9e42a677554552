// What every drawing layer of the program shares (the screen engine, the
// report layer, the designer's canvas): scoped owners of GDI objects, the
// colour codes of screens, sheets and reports, the one font builder and the
// screen's character unit.
//
// Every pen, brush, font and bitmap a drawing layer creates lives in a
// GdiOwner, so none outlives its use and the number alive can be checked
// (Wine's GetGuiResources always says 0).
#pragma once

#include <windows.h>

// Pixels of one character unit of a screen after a reset (the font unit of
// a window slot); sheets laid out in screen pixels print in these units.
constexpr int kBaseCharWidth = 8;

// GDI objects held by GdiOwners at this moment.
int LiveGdiObjects();

namespace gdi_owner_detail {
void Count(int delta);
}

template <class H>
class GdiOwner {
 public:
  GdiOwner() = default;
  explicit GdiOwner(H h) { reset(h); }
  ~GdiOwner() { reset(nullptr); }
  GdiOwner(const GdiOwner&) = delete;
  GdiOwner& operator=(const GdiOwner&) = delete;
  H get() const { return h_; }
  // Deletes the object held (it must no longer be selected) and takes `h`.
  void reset(H h) {
    if (h_) {
      DeleteObject(h_);
      gdi_owner_detail::Count(-1);
    }
    h_ = h;
    if (h_) gdi_owner_detail::Count(+1);
  }

 private:
  H h_ = nullptr;
};

// Selects an object into a DC and puts the previous one back at scope end.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~SelectScope() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// RGB of a colour code of screen and sheet definitions: 1 blue, 2 red,
// 3 magenta, 4 green, 5 cyan, 6 yellow, 7 white, 8 silver, further codes for
// greys and tints, 101 to 106 as 1 to 6; 0 and codes not in the table black.
COLORREF ColorFromCode(int code);

// Face name of a face code: 0 "ＭＳ 明朝", 1 "ＭＳ ゴシック", 2 "ＭＳ Ｐ明朝",
// 3 "ＭＳ Ｐゴシック", 4 the handwriting face "KQMUPA"; "" for other codes,
// which leaves the choice to the font mapper.
const char* FaceNameOfCode(int face);

// The one font builder of screens and reports: a Shift-JIS TrueType font of
// `height` (logical units; negative for the character height) and weight,
// turned by `escapement` tenths of a degree. The caller owns the font (put it
// in a GdiOwner); null when GDI refuses it.
HFONT CreateFontByName(const char* faceName, int height, int weight, int escapement = 0);
// CreateFontByName of the face of a face code.
HFONT CreateFontByCode(int face, int height, int weight);
