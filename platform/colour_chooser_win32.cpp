#include "platform/colour_chooser.h"

#include <windows.h>
#include <commdlg.h>

namespace {
// The chooser's custom colours, kept from one use to the next for the whole run; white
// until the user sets them.
COLORREF g_customColours[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
}  // namespace

bool AskColour(void* owner, uint32_t& colour) {
  CHOOSECOLORW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = static_cast<HWND>(owner);
  request.rgbResult = colour;
  request.lpCustColors = g_customColours;
  request.Flags = CC_FULLOPEN | CC_RGBINIT | CC_ANYCOLOR;
  if (!ChooseColorW(&request)) return false;
  colour = request.rgbResult;
  return true;
}
