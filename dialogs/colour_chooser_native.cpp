// The native build has no colour chooser: every request ends as if cancelled.
#include "dialogs/colour_chooser.h"

bool choose_colour(void*, uint32_t&) { return false; }
