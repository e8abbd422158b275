// The native build has no keyboard of its own: without a test source no key is ever down,
// and its one "window" is always in front.
#include "platform/system.h"

bool SystemKeyDown(int) { return false; }
bool SystemForegroundIsOurs() { return true; }
