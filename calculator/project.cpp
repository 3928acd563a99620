#include "project.h"

#include "Form1.h"
#include "fonts.h"

namespace {

std::unique_ptr<vb::Form> CreateForm1() { return std::make_unique<Form1>(); }

// Form1's captions name "MS Sans Serif", a Windows system font; Debian has
// other faces, which must also show Arabic. DejaVu Sans carries Latin and
// Arabic in one face, so a caption mixing both keeps one style. Qt draws 8
// points at 11 whole pixels at 96 dpi, as Windows draws 8.25; bold, the
// lines are then 13 pixels high and fit inside the border of a 17-pixel
// caption button. Noto Sans Arabic UI stands in where DejaVu is missing.
constexpr QStringView SansSerifFaces[] = {u"DejaVu Sans", u"Noto Sans Arabic UI"};

constexpr vb::FontSubstitution Substitutions[] = {
    {u"MS Sans Serif", SansSerifFaces},
};

// The text boxes and the message boxes. The message line's longest prompt
// is 133 pixels wide in Noto Sans Arabic UI at 11 pixels and fits the box;
// in DejaVu Sans it would not. That face has no Latin letters, so the "E"
// and "+" of a result come from DejaVu.
constexpr QStringView TextBoxFaces[] = {u"Noto Sans Arabic UI", u"DejaVu Sans"};

constexpr vb::FontTable Fonts{Substitutions, {TextBoxFaces, 11}};

constexpr vb::ProjectHeader Project{"Zendaric", "zendaric", &CreateForm1, &Fonts};

} // namespace

const vb::ProjectHeader &ZendaricProject() { return Project; }
