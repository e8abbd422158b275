// Between the bookkeeping every build shares (surface.cpp: the back buffer and which surface
// is the target) and each build's own surfaces (surface_win32.cpp, surface_native.cpp), which
// do the pixels and the platform's objects. For the drawing layer's own files.
#pragma once

#include "drawing/surface.h"

// The surface `s` names: null names the window's back buffer.
Surface& SurfaceOf(Surface* s);

// Each build's surfaces give the bookkeeping these.
// Makes the platform's objects a surface needs before it is drawn on.
void PrepareSystem(Surface& s);
// Hands the surface's whole drawing state (colours, modes, font) to its platform objects.
void ApplySystemState(Surface& s);
// Frees the surface's platform objects and `s.sys` itself.
void ReleaseSystem(Surface& s);
// Held while the target changes: the Windows build's drawing lock, nothing natively.
class TargetLock {
 public:
  TargetLock();
  ~TargetLock();
  TargetLock(const TargetLock&) = delete;
  TargetLock& operator=(const TargetLock&) = delete;
};
