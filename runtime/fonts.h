// The faces behind the font names that window definitions carry, and the
// font of everything that has none of its own. Which faces and sizes those
// are is the program's choice.
#pragma once

#include <QStringView>

#include <span>

namespace vb {

// Faces in the order they are tried: a character missing from one comes
// from the next.
using FaceList = std::span<const QStringView>;

// A font name that window definitions carry and the faces drawn for it.
struct FontSubstitution {
    QStringView name;
    FaceList faces;
};

// A font by its faces and its height in whole pixels.
struct FontFaces {
    FaceList faces;
    int pixelSize;
};

struct FontTable {
    std::span<const FontSubstitution> substitutions;
    // The application's own font, for what sets none: the text boxes and
    // the message boxes.
    FontFaces application;
};

// Installs the table's substitutions and sets the application's font. Call
// before the first form is built; calling it again changes nothing.
void InstallFonts(const FontTable &fonts);

} // namespace vb
