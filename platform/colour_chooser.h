// The system colour chooser: fully open, any colour allowed, starting at the given colour,
// with one table of 16 custom colours kept for the whole run.
#pragma once

#include <cstdint>

// Colours are Windows colour values 0x00BBGGRR. True, with the chosen colour, when the user
// confirms; false (colour unchanged) when the user cancels or there is no chooser.
bool AskColour(void* owner, uint32_t& colour);
