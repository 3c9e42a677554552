// Scoped owners of GDI objects. Every pen, brush, font and bitmap the screen
// engine creates lives in a GdiOwner, so none outlives its use and the
// number alive can be checked (Wine's GetGuiResources always says 0).
#pragma once

#include <windows.h>

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
