// The native build has no colour chooser: every request ends as if cancelled.
#include "platform/colour_chooser.h"

bool AskColour(void*, uint32_t&) { return false; }
