#include "fonts.h"

#include <QApplication>
#include <QFont>
#include <QStringList>

namespace vb {

namespace {

QStringList Families(FaceList faces) {
    QStringList families;
    families.reserve(qsizetype(faces.size()));
    for (QStringView face : faces)
        families << face.toString();
    return families;
}

} // namespace

void InstallFonts(const FontTable &fonts) {
    for (const FontSubstitution &substitution : fonts.substitutions)
        QFont::insertSubstitutions(substitution.name.toString(), Families(substitution.faces));
    QFont font;
    font.setFamilies(Families(fonts.application.faces));
    font.setPixelSize(fonts.application.pixelSize);
    font.setStyleHint(QFont::SansSerif);
    // The application's own font, not one for text boxes alone: a font set
    // per class reaches each box only when it is first shown, and laying the
    // boxes out again then costs more than the rest of the start-up adds.
    QApplication::setFont(font);
}

} // namespace vb
