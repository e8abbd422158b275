#include "view/pointer_rest.h"

#include <optional>

#include "view/hex_geometry.h"

void TrackPointer(PointerRest& p, const MouseMessage& m) {
  if (m.code == kMouseLeave) {
    p.inWindow = false;
    p.buttonDown = false;
    p.disturbed = true;
    return;
  }
  p.inWindow = true;
  p.x = m.x;
  p.y = m.y;
  // A message's key state says which buttons were held when it was sent, so a click whose
  // press and release arrive in one pass still interrupts the rest; the rest then starts
  // from the release.
  const bool wasDown = p.buttonDown;
  p.buttonDown = m.left || m.middle || m.right;
  if (p.buttonDown || wasDown) p.disturbed = true;
}

void ForgetPointer(PointerRest& p) { p = PointerRest{}; }

void UpdateRest(PointerRest& p, const Layout& l, int32_t originX, int32_t scrollX, int32_t scrollY,
                int64_t nowMs) {
  int32_t gx = -1, gy = -1;
  if (p.inWindow && p.x >= 0 && p.y >= 0 && p.x < l.mapWidthPx && p.y < l.mapHeightPx) {
    if (std::optional<ViewHex> hex = HexAtPoint(p.x, p.y, originX, scrollX, l.mapHeightPx)) {
      gx = scrollX + hex->col;
      gy = scrollY + hex->row;
    }
  }
  if (p.disturbed || p.buttonDown || gx != p.restX || gy != p.restY) {
    p.restX = gx;
    p.restY = gy;
    p.since = nowMs;
    p.disturbed = false;
  }
  p.boxShown = p.resting() && !p.buttonDown && nowMs - p.since >= kHoverRestMs;
}
