// The editor's application icon: a flat-topped hex of land and dark-blue sea with a red
// flag, drawn with the demo data's canvas, and the .ico file that holds it at several sizes.
// The file is kept in the sources (app/btl_editor.ico, compiled into the editor by its
// resource script) so the cross-built tree needs no native tool; make_icon writes it again
// and a unit test holds the two together.
#pragma once

#include <string>
#include <vector>

#include "tools/demo_data/canvas.h"

// The sizes the icon file holds, in pixels, smallest first.
inline constexpr int kAppIconSizes[] = {16, 24, 32, 48, 64, 256};

// The icon at size x size pixels (RGBA, transparent around the hex). Drawn four times larger
// and averaged down, so its edges are smooth at every size.
Canvas DrawAppIcon(int size);

// The bytes of an .ico file holding the given square pictures (1 to 256 pixels a side), in
// the given order: sizes below 256 as 32-bit bitmaps with their transparency mask, which
// every reader of the format takes, and 256 as PNG, as the format allows from that size on.
// Empty when a picture is not square or not of a size the format can hold.
std::string EncodeIco(const std::vector<Canvas>& pictures);

// The icon file: DrawAppIcon at every size of kAppIconSizes.
std::string MakeAppIconFile();
