// The start-up benchmark's yardstick: a bare Qt Widgets window of the
// calculator's size with the same kinds and counts of widgets in the same
// places, and nothing else of the program's. The three buttons the window
// labels with text carry the same captions; the keys, which show pictures
// there, carry none.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <array>

namespace {

struct Place {
    int x, y, width, height;
    const char16_t *caption;
};

constexpr std::array<Place, 29> Buttons{{
    {248, 48, 49, 17, u"برامجنا"}, {240, 24, 57, 17, u"ver 0.1"}, {40, 144, 41, 25, u""},
    {16, 24, 25, 17, u"X"},        {224, 288, 41, 25, u""},       {168, 448, 41, 25, u""},
    {216, 144, 41, 25, u""},       {56, 288, 41, 25, u""},        {56, 320, 41, 25, u""},
    {112, 288, 41, 25, u""},       {168, 288, 41, 25, u""},       {168, 320, 41, 25, u""},
    {224, 384, 41, 25, u""},       {224, 416, 41, 25, u""},       {224, 448, 41, 25, u""},
    {168, 352, 41, 25, u""},       {168, 384, 41, 25, u""},       {168, 416, 41, 25, u""},
    {112, 384, 41, 25, u""},       {112, 416, 41, 25, u""},       {56, 352, 41, 25, u""},
    {56, 384, 41, 25, u""},        {112, 352, 41, 25, u""},       {224, 320, 41, 25, u""},
    {224, 352, 41, 25, u""},       {56, 416, 41, 25, u""},        {112, 448, 41, 25, u""},
    {56, 448, 41, 25, u""},        {112, 320, 41, 25, u""},
}};

constexpr std::array<Place, 4> LineEdits{{
    {80, 192, 145, 53, u""},
    {24, 96, 81, 19, u""},
    {104, 144, 89, 19, u""},
    {192, 96, 81, 19, u""},
}};

constexpr Place LabelPlace{136, 96, 33, 33, u""};

} // namespace

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(316, 509);
    window.setWindowTitle(QStringLiteral("حاسبة Zendaric ver 0.1"));
    for (const Place &place : Buttons) {
        auto *button = new QPushButton(QString::fromUtf16(place.caption), &window);
        button->setGeometry(place.x, place.y, place.width, place.height);
    }
    for (const Place &place : LineEdits) {
        auto *edit = new QLineEdit(&window);
        edit->setGeometry(place.x, place.y, place.width, place.height);
    }
    auto *label = new QLabel(&window);
    label->setGeometry(LabelPlace.x, LabelPlace.y, LabelPlace.width, LabelPlace.height);
    new QTimer(&window);
    window.show();
    return QApplication::exec();
}
