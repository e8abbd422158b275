// Which surface is the target, shared by both builds; the builds' own files draw.
#include "drawing/surface_system.h"

namespace {

Surface g_back;
Surface* g_target = &g_back;

}  // namespace

Surface& SurfaceOf(Surface* s) { return s ? *s : g_back; }

Surface* BackBuffer() { return &g_back; }

void set_target(Surface* s) {
  TargetLock lock;
  g_target = &SurfaceOf(s);
  PrepareSystem(*g_target);
}

Surface* CurrentTarget() { return g_target; }
int32_t TargetWidth() { return g_target->width; }
int32_t TargetHeight() { return g_target->height; }
bool WindowIsTarget() { return g_target == &g_back; }

void DestroySurface(Surface* sp) {
  Surface& s = SurfaceOf(sp);
  if (g_target == &s) g_target = &g_back;
  if (s.sys) ReleaseSystem(s);
  s.sys = nullptr;
  s.pixels = nullptr;
  s.width = s.height = 0;
}

void ResetSurface(Surface* sp) {
  Surface& s = SurfaceOf(sp);
  RestoreDefaultState(s);
  ApplySystemState(s);
}
