// The window's layout: every control in its place with its kind and tab
// index, the tab chain, the window's fixed size and frame, the faces the
// fonts really render with, and where the boxes put their texts.
#include "calculatorwindow.h"

#include <QFontInfo>
#include <QImageReader>
#include <QTextLayout>

#include <algorithm>
#include <set>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

enum class Kind { Button, TextBox, Label, Timer, Line };

constexpr int NoTabStop = -1;

struct Control {
    const char *name;
    Kind kind;
    int x, y, width, height; // for a line: its two end points, x1, y1, x2, y2
    int tabIndex;
};

// All 43 controls in the order the window definition lists them, in pixels.
constexpr Control Controls[] = {
    {"Command25", Kind::Button, 248, 48, 49, 17, 33},
    {"Command24", Kind::Button, 240, 24, 57, 17, 32},
    {"Txt4", Kind::TextBox, 80, 192, 145, 53, 31},
    {"Command15", Kind::Button, 40, 144, 41, 25, 30},
    {"Command42", Kind::Button, 16, 24, 25, 17, 29},
    {"Timer1", Kind::Timer, 0, 0, 0, 0, NoTabStop},
    {"Txt2", Kind::TextBox, 24, 96, 81, 19, 1},
    {"Txt3", Kind::TextBox, 104, 144, 89, 19, 27},
    {"Txt1", Kind::TextBox, 192, 96, 81, 19, 2},
    {"Command39", Kind::Button, 224, 288, 41, 25, 26},
    {"Command35", Kind::Button, 168, 448, 41, 25, 25},
    {"Command34", Kind::Button, 216, 144, 41, 25, 24},
    {"Command23", Kind::Button, 56, 288, 41, 25, 23},
    {"Command22", Kind::Button, 56, 320, 41, 25, 22},
    {"Command21", Kind::Button, 112, 288, 41, 25, 21},
    {"Command20", Kind::Button, 168, 288, 41, 25, 20},
    {"Command19", Kind::Button, 168, 320, 41, 25, 19},
    {"Command18", Kind::Button, 224, 384, 41, 25, 18},
    {"Command17", Kind::Button, 224, 416, 41, 25, 17},
    {"Command16", Kind::Button, 224, 448, 41, 25, 16},
    {"Command14", Kind::Button, 168, 352, 41, 25, 15},
    {"Command13", Kind::Button, 168, 384, 41, 25, 14},
    {"Command12", Kind::Button, 168, 416, 41, 25, 13},
    {"Command11", Kind::Button, 112, 384, 41, 25, 12},
    {"Command10", Kind::Button, 112, 416, 41, 25, 11},
    {"Command9", Kind::Button, 56, 352, 41, 25, 10},
    {"Command8", Kind::Button, 56, 384, 41, 25, 9},
    {"Command7", Kind::Button, 112, 352, 41, 25, 8},
    {"Command6", Kind::Button, 224, 320, 41, 25, 7},
    {"Command5", Kind::Button, 224, 352, 41, 25, 6},
    {"Command4", Kind::Button, 56, 416, 41, 25, 5},
    {"Command3", Kind::Button, 112, 448, 41, 25, 4},
    {"Command2", Kind::Button, 56, 448, 41, 25, 3},
    {"Command1", Kind::Button, 112, 320, 41, 25, 0},
    {"Lin8", Kind::Line, 32, 120, 24, 128, NoTabStop},
    {"Lin7", Kind::Line, 32, 120, 40, 128, NoTabStop},
    {"Lin6", Kind::Line, 32, 152, 88, 152, NoTabStop},
    {"Lin5", Kind::Line, 32, 152, 32, 120, NoTabStop},
    {"Lin4", Kind::Line, 264, 120, 256, 128, NoTabStop},
    {"Lin3", Kind::Line, 264, 120, 272, 128, NoTabStop},
    {"Lin2", Kind::Line, 264, 152, 264, 120, NoTabStop},
    {"Lin1", Kind::Line, 208, 152, 264, 152, NoTabStop},
    {"Lbl1", Kind::Label, 136, 96, 33, 33, 28},
};

const char *KindName(Kind kind) {
    switch (kind) {
    case Kind::Button: return "button";
    case Kind::TextBox: return "text box";
    case Kind::Label: return "label";
    case Kind::Timer: return "timer";
    case Kind::Line: return "line";
    }
    return "";
}

// The controls that take the focus, by tab index.
std::vector<const char *> TabChain() {
    std::vector<const Control *> stops;
    for (const Control &control : Controls)
        if (control.tabIndex != NoTabStop && control.kind != Kind::Label)
            stops.push_back(&control);
    std::sort(stops.begin(), stops.end(),
              [](const Control *a, const Control *b) { return a->tabIndex < b->tabIndex; });
    std::vector<const char *> names;
    for (const Control *control : stops)
        names.push_back(control->name);
    return names;
}

QString FocusName() {
    QWidget *focus = QApplication::focusWidget();
    return focus ? focus->objectName() : u"(none)"_s;
}

// The families of the faces that really draw `text` in `font`, fallbacks
// included, in lower case as the font engines name them.
std::set<QString> FacesDrawing(const QString &text, const QFont &font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    std::set<QString> faces;
    for (const QGlyphRun &run : layout.glyphRuns())
        faces.insert(run.rawFont().familyName().toLower());
    return faces;
}

// Where the box draws its caret at `position`.
int CaretX(vb::TextBox *box, int position) {
    box->setCursorPosition(position);
    box->repaint(); // the line edit scrolls its text when it paints
    return box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void controls_data();
    void controls();
    void noOtherControls();
    void tabChain();
    void windowIsFixed();
    void windowIconIsTheIconFile();
    void linesShowHoweverLittleIsRepainted_data();
    void linesShowHoweverLittleIsRepainted();
    void buttonsHaveNoDefaultNorAccessKey();
    void fonts_data();
    void fonts();
    void textPlacement_data();
    void textPlacement();
};

void LayoutTest::controls_data() {
    QTest::addColumn<int>("row");
    for (int row = 0; row < int(std::size(Controls)); ++row)
        QTest::addRow("%s is a %s", Controls[row].name, KindName(Controls[row].kind)) << row;
}

void LayoutTest::controls() {
    QFETCH(int, row);
    const Control &c = Controls[row];
    CalculatorWindow w;
    QVERIFY(w.exposed);
    const QString name = QString::fromLatin1(c.name);
    const QRect rect(c.x, c.y, c.width, c.height);

    switch (c.kind) {
    case Kind::Button: {
        vb::CommandButton *button = w.button(c.name);
        QVERIFY(button);
        QCOMPARE(button->geometry(), rect);
        QCOMPARE(button->focusPolicy(), Qt::StrongFocus);
        break;
    }
    case Kind::TextBox: {
        vb::TextBox *box = w.box(c.name);
        QVERIFY(box);
        QCOMPARE(box->geometry(), rect);
        QCOMPARE(box->focusPolicy(), Qt::StrongFocus);
        break;
    }
    case Kind::Label: {
        vb::Label *label = w.label();
        QVERIFY(label);
        QCOMPARE(label->objectName(), name);
        QCOMPARE(label->geometry(), rect);
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        break;
    }
    case Kind::Timer: QVERIFY(w.form->findChild<vb::Timer *>(name)); break;
    case Kind::Line: {
        const auto lines = w.form->Lines();
        const auto line = std::find_if(lines.begin(), lines.end(), [&](const vb::LineControl &l) {
            return name == QLatin1String(l.name);
        });
        QVERIFY(line != lines.end());
        // Twips on the 120-twip grid, whole pixels at 15 twips each.
        for (int twips : {line->x1, line->y1, line->x2, line->y2})
            QCOMPARE(twips % 120, 0);
        QCOMPARE(QLine(line->x1 / vb::TwipsPerPixel, line->y1 / vb::TwipsPerPixel,
                       line->x2 / vb::TwipsPerPixel, line->y2 / vb::TwipsPerPixel),
                 QLine(c.x, c.y, c.width, c.height));
        break;
    }
    }
}

void LayoutTest::noOtherControls() {
    CalculatorWindow w;
    std::set<QString> named;
    for (const Control &c : Controls)
        named.insert(QString::fromLatin1(c.name));
    for (QWidget *child : w.form->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        QVERIFY2(named.count(child->objectName()), qPrintable(child->objectName()));
    QCOMPARE(w.form->findChildren<QWidget *>(Qt::FindDirectChildrenOnly).size(), 34);
    QCOMPARE(w.form->Lines().size(), 8u);
}

void LayoutTest::tabChain() {
    CalculatorWindow w;
    QVERIFY(w.exposed);
    const std::vector<const char *> chain = TabChain();
    QCOMPARE(chain.size(), 33u);
    QCOMPARE(FocusName(), u"Command1"_s);
    // Tab from each stop to the next, and from Command25 round to Command1;
    // Lbl1 holds index 28 and is passed over.
    for (size_t i = 1; i <= chain.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(FocusName(), QString::fromLatin1(chain[i % chain.size()]));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(FocusName(), u"Command25"_s);
    QTest::mouseClick(w.label(), Qt::LeftButton);
    QCOMPARE(FocusName(), u"Command25"_s);
}

void LayoutTest::windowIsFixed() {
    CalculatorWindow w;
    QVERIFY(w.exposed);
    QCOMPARE(w.form->windowTitle(), u"حاسبة Zendaric ver 0.1"_s);
    QCOMPARE(w.form->size(), QSize(316, 509));
    QCOMPARE(w.form->minimumSize(), QSize(316, 509));
    QCOMPARE(w.form->maximumSize(), QSize(316, 509));
    w.form->resize(400, 600);
    QCOMPARE(w.form->size(), QSize(316, 509));
    w.form->resize(200, 300);
    QCOMPARE(w.form->size(), QSize(316, 509));

    const Qt::WindowFlags flags = w.form->windowFlags();
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::FramelessWindowHint));
}

void LayoutTest::windowIconIsTheIconFile() {
    CalculatorWindow w;
    const QIcon icon = w.form->windowIcon();
    QImageReader file(QStringLiteral(ZENDARIC_ASSETS_DIR "/icon.ico"));
    QCOMPARE(file.imageCount(), 2);
    for (int i = 0; i < file.imageCount(); ++i) {
        QVERIFY(file.jumpToImage(i));
        const QImage drawn = file.read().convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(icon.availableSizes().contains(drawn.size()), qPrintable(file.errorString()));
        QCOMPARE(icon.pixmap(drawn.size()).toImage().convertToFormat(QImage::Format_ARGB32), drawn);
    }
    QCOMPARE(icon.availableSizes().size(), 2);
}

void LayoutTest::linesShowHoweverLittleIsRepainted_data() {
    QTest::addColumn<int>("line");
    CalculatorWindow w;
    const auto lines = w.form->Lines();
    for (int i = 0; i < int(lines.size()); ++i)
        QTest::addRow("%s", lines[i].name) << i;
}

void LayoutTest::linesShowHoweverLittleIsRepainted() {
    // A pressed key or a changed box repaints a small part of the form; a
    // line there must come out as in a repaint of the whole, end points too.
    QFETCH(int, line);
    CalculatorWindow w;
    vb::Form &form = *w.form;
    QImage whole(form.size(), QImage::Format_RGB32);
    form.render(&whole);
    const QLine drawn = form.Lines()[line].Pixels();
    const QRect around = QRect(drawn.p1(), drawn.p2()).normalized().adjusted(-1, -1, 1, 1);
    QImage part(1, 1, QImage::Format_RGB32);
    for (int y = around.top(); y <= around.bottom(); ++y)
        for (int x = around.left(); x <= around.right(); ++x) {
            part.fill(Qt::magenta);
            form.render(&part, QPoint(), QRegion(x, y, 1, 1));
            QVERIFY2(part.pixel(0, 0) == whole.pixel(x, y),
                     qPrintable(QStringLiteral("at %1, %2").arg(x).arg(y)));
        }
}

void LayoutTest::buttonsHaveNoDefaultNorAccessKey() {
    CalculatorWindow w;
    const auto buttons = w.form->findChildren<vb::CommandButton *>();
    QCOMPARE(buttons.size(), 29);
    for (vb::CommandButton *button : buttons) {
        QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));
        QVERIFY2(!button->autoDefault(), qPrintable(button->objectName()));
        QVERIFY2(!button->text().contains(u'&'), qPrintable(button->objectName()));
        QVERIFY2(button->shortcut().isEmpty(), qPrintable(button->objectName()));
    }
    QCOMPARE(w.button("Command42")->text(), u"X"_s);
    QCOMPARE(w.button("Command24")->text(), u"ver 0.1"_s);
    QCOMPARE(w.button("Command25")->text(), u"برامجنا"_s);
}

void LayoutTest::fonts_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("face");
    QTest::addColumn<QStringList>("fallbacks");
    QTest::addColumn<QSize>("room"); // what every text must fit into

    // A caption button's 2-pixel border leaves 4 pixels less each way.
    const QStringList dejaVu{u"DejaVu Sans"_s};
    QTest::newRow("X in DejaVu Sans Bold 11 px")
        << u"Command42"_s << QStringList{u"X"_s} << 11 << true << u"DejaVu Sans"_s << dejaVu
        << QSize(21, 13);
    QTest::newRow("ver 0.1 in DejaVu Sans Bold 11 px")
        << u"Command24"_s << QStringList{u"ver 0.1"_s} << 11 << true << u"DejaVu Sans"_s << dejaVu
        << QSize(53, 13);
    QTest::newRow("برامجنا in DejaVu Sans Bold 11 px")
        << u"Command25"_s << QStringList{u"برامجنا"_s} << 11 << true << u"DejaVu Sans"_s << dejaVu
        << QSize(45, 13);
    QTest::newRow("operator codes in Lbl1, 16 px bold")
        << u"Lbl1"_s
        << QStringList{u"+"_s, u"-"_s, u"×"_s, u"÷"_s, u"أس"_s, u"جذر"_s, u"x2"_s, u"x3"_s} << 16
        << true << u"DejaVu Sans"_s << dejaVu << QSize(33, 33);
    // These two are wider than Lbl1 at this size; the label draws them smaller.
    QTest::newRow("roots' codes in Lbl1, 16 px bold")
        << u"Lbl1"_s << QStringList{u"جذر2"_s, u"جذر3"_s} << 16 << true << u"DejaVu Sans"_s
        << dejaVu << QSize(-1, 33);
    // A text box's frame and margins leave 8 pixels less across, 4 down.
    const QStringList textBoxFaces{u"Noto Sans Arabic UI"_s, u"DejaVu Sans"_s};
    QTest::newRow("prompts show whole in Noto Sans Arabic UI 11 px")
        << u"Txt4"_s
        << QStringList{u"أدخل رقماً في خانة العدد الأول "_s, u"أدخل رقماً في خانة العددين  "_s,
                       u"غير معرفة"_s}
        << 11 << false << u"Noto Sans Arabic UI"_s << QStringList{u"Noto Sans Arabic UI"_s}
        << QSize(137, 49);
    QTest::newRow("pi shows whole in an operand box")
        << u"Txt1"_s << QStringList{u"3.141592654"_s} << 11 << false << u"Noto Sans Arabic UI"_s
        << textBoxFaces << QSize(73, 15);
    QTest::newRow("a result's letters come from DejaVu Sans")
        << u"Txt3"_s << QStringList{u"-1.23456789012346E+200"_s} << 11 << false
        << u"Noto Sans Arabic UI"_s << textBoxFaces << QSize(-1, 15);
}

void LayoutTest::fonts() {
    QFETCH(QString, control);
    QFETCH(QStringList, texts);
    QFETCH(int, pixels);
    QFETCH(bool, bold);
    QFETCH(QString, face);
    QFETCH(QStringList, fallbacks);
    QFETCH(QSize, room);
    CalculatorWindow w;
    QWidget *widget = w.form->findChild<QWidget *>(control);
    QVERIFY(widget);

    const QFont font = widget->font();
    const QFontInfo info(font);
    QCOMPARE(info.family(), face);
    QCOMPARE(info.pixelSize(), pixels);
    QCOMPARE(info.bold(), bold);
    const QFontMetrics metrics(font);
    QVERIFY2(metrics.height() <= room.height(), qPrintable(QString::number(metrics.height())));
    std::set<QString> allowed;
    for (const QString &family : fallbacks)
        allowed.insert(family.toLower());
    for (const QString &text : texts) {
        for (const QString &drawnBy : FacesDrawing(text, font))
            QVERIFY2(allowed.count(drawnBy), qPrintable(text + u" drawn by "_s + drawnBy));
        if (room.width() >= 0)
            QVERIFY2(metrics.horizontalAdvance(text) <= room.width(),
                     qPrintable(text + u": "_s + QString::number(metrics.horizontalAdvance(text))));
    }
}

void LayoutTest::textPlacement_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("rightToLeft");

    QTest::newRow("a prompt reads from the right edge of Txt4") << u"+"_s << u"Txt4"_s << true;
    QTest::newRow("a short message reads from the right edge of Txt4")
        << u"5 ÷ 0 ="_s << u"Txt4"_s << true;
    QTest::newRow("a digit stands at the right edge of Txt1") << u"5"_s << u"Txt1"_s << false;
    QTest::newRow("pi shows whole in Txt1") << u"pi"_s << u"Txt1"_s << false;
    QTest::newRow("the second operand ends at the right edge of Txt2")
        << u"5 + 12"_s << u"Txt2"_s << false;
    QTest::newRow("a result ends at the right edge of Txt3") << u"5 + 12 ="_s << u"Txt3"_s << false;
}

void LayoutTest::textPlacement() {
    QFETCH(QString, steps);
    QFETCH(QString, box);
    QFETCH(bool, rightToLeft);
    CalculatorWindow w;
    QVERIFY(w.exposed);
    Play(w, steps);
    vb::TextBox *target = w.box(qPrintable(box));
    const QString text = target->Text();
    QVERIFY(!text.isEmpty());

    const int start = CaretX(target, 0);
    const int end = CaretX(target, int(text.size()));
    // Unscrolled, the caret's two ends lie the text's width apart: it shows
    // whole.
    QVERIFY2(qAbs(qAbs(end - start) - target->fontMetrics().horizontalAdvance(text)) <= 1,
             qPrintable(QStringLiteral("ends at %1 and %2").arg(start).arg(end)));
    QCOMPARE(start > end, rightToLeft);
    const int right = rightToLeft ? start : end;
    // The frame and the line edit's margin take 7 pixels.
    QVERIFY2(right >= target->width() - 8 && right < target->width(),
             qPrintable(QString::number(right)));
}

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
