// The faces behind the font names that window definitions carry. Those
// names are Windows system fonts; Debian has other faces, which must also
// show Arabic.
#pragma once

namespace vb {

// Maps "MS Sans Serif" onto Debian faces and gives everything without a
// font of its own (the text boxes, the message boxes) one that shows
// Arabic. Call before the first form is built; calling it again changes
// nothing.
void InstallFonts();

} // namespace vb
