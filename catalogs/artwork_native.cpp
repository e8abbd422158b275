// The native build has no picture decoder (GDI+ is Windows only): every picture is reported
// as not loadable, exactly as a missing file would be, and surfaces stay empty. Native tests
// of drawing fill surfaces themselves.
#include "catalogs/artwork.h"
#include "catalogs/picture_decoder.h"

void start_pictures() {}

DecodedPicture DecodePicture(const std::string&, double, uint32_t) { return {}; }
