#include "fonts.h"

#include <QApplication>
#include <QFont>

namespace vb {

namespace {

// DejaVu Sans carries Latin and Arabic in one face, so a caption mixing both
// keeps one style. Qt draws 8 points at 11 whole pixels at 96 dpi, as
// Windows draws 8.25; bold, the lines are then 13 pixels high and fit inside
// the border of a 17-pixel caption button. Noto Sans Arabic UI stands in
// where DejaVu is missing.
const QStringList SansSerifFaces{QStringLiteral("DejaVu Sans"),
                                 QStringLiteral("Noto Sans Arabic UI")};

// The message line's longest prompt is 133 pixels wide in Noto Sans Arabic
// UI at 11 pixels and fits the box; in DejaVu Sans it would not. That face
// has no Latin letters, so the "E" and "+" of a result come from DejaVu.
const QStringList TextBoxFaces{QStringLiteral("Noto Sans Arabic UI"),
                               QStringLiteral("DejaVu Sans")};

constexpr int TextBoxPixels = 11;

} // namespace

void InstallFonts() {
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), SansSerifFaces);
    QFont textBox;
    textBox.setFamilies(TextBoxFaces);
    textBox.setPixelSize(TextBoxPixels);
    textBox.setStyleHint(QFont::SansSerif);
    // The application's own font, not one for text boxes alone: a font set
    // per class reaches each box only when it is first shown, and laying the
    // boxes out again then costs more than the rest of the start-up adds.
    QApplication::setFont(textBox);
}

} // namespace vb
