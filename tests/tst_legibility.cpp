// Every number and operator on show can be read whole: a long number is
// drawn smaller inside its box, and a long operator code inside Lbl1, while
// the texts themselves, the caret, the selection and the copy stay as they
// are.
#include "calculatorwindow.h"

#include <QClipboard>
#include <QFontInfo>
#include <QPainter>
#include <QStyleHints>

using namespace Qt::StringLiterals;

namespace {

QImage Look(QWidget *widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The pixels in which two pictures of one place differ.
QRect Difference(const QImage &a, const QImage &b, const QRect &within) {
    QRect found;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                found |= QRect(x, y, 1, 1);
    return found;
}

// The column where the box draws its caret at `position`. Qt's caret
// rectangle reaches 5 pixels before it and 4 after.
int CaretX(vb::TextBox *box, int position) {
    box->setCursorPosition(position);
    box->repaint(); // the line edit scrolls its text when it paints
    return box->inputMethodQuery(Qt::ImCursorRectangle).toRect().left() + 5;
}

// Inside the box's one-pixel frame.
QRect Inside(const QWidget *widget) { return widget->rect().adjusted(1, 1, -1, -1); }

// The whole text shows, unscrolled, inside the frame: the caret's places
// before the first and after the last character lie the text's width
// apart, both inside.
bool ShowsWhole(vb::TextBox *box) {
    const int caret = box->cursorPosition();
    const int start = CaretX(box, 0);
    const int end = CaretX(box, int(box->Text().size()));
    box->setCursorPosition(caret);
    const int width = box->fontMetrics().horizontalAdvance(box->Text());
    const QRect inside = Inside(box);
    return qAbs(end - start - width) <= 1 && inside.left() <= start && end <= inside.right();
}

int Pixels(const QWidget *widget) { return QFontInfo(widget->font()).pixelSize(); }

// The ink of `text` drawn plainly in `font`.
QSize PlainInk(const QString &text, const QFont &font) {
    QImage canvas(120, 60, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(30, 40), text);
    painter.end();
    QImage blank(canvas.size(), QImage::Format_RGB32);
    blank.fill(Qt::white);
    return Difference(canvas, blank, canvas.rect()).size();
}

} // namespace

class LegibilityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void numbers_data();
    void numbers();
    void sizeFollowsEveryChange_data();
    void sizeFollowsEveryChange();
    void backToTheOwnSizeLooksAsBefore();
    void caretInsertionInAShrunkText_data();
    void caretInsertionInAShrunkText();
    void caretBeforeAFittedTextLeavesTheFrame();
    void mouseSelectionInAShrunkText();
    void shrunkTextSelectsAndCopiesWhole();
    void messageLineKeepsItsSize();
    void operatorCodes_data();
    void operatorCodes();
};

void LegibilityTest::initTestCase() {
    // A steady caret: what is compared must not blink between the grabs.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
}

void LegibilityTest::numbers_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("whole");

    QTest::newRow("a short result keeps its size")
        << u"5 + 12 ="_s << u"Txt3"_s << u"17"_s << 11 << true;
    QTest::newRow("pi keeps its size in Txt1")
        << u"pi"_s << u"Txt1"_s << u"3.141592654"_s << 11 << true;
    QTest::newRow("15 characters: the root of 2")
        << u"2 جذر2 ="_s << u"Txt3"_s << u"1.4142135623731"_s << 10 << true;
    QTest::newRow("16 characters: 10 ÷ 3")
        << u"10 ÷ 3 ="_s << u"Txt3"_s << u"3.33333333333333"_s << 9 << true;
    QTest::newRow("16 characters carried into Txt1")
        << u"10 ÷ 3 = =>1"_s << u"Txt1"_s << u"3.33333333333333"_s << 8 << true;
    QTest::newRow("16 characters carried into Txt2")
        << u"10 ÷ 3 = =>2"_s << u"Txt2"_s << u"3.33333333333333"_s << 8 << true;
    QTest::newRow("17 characters: -7 ÷ 3 keeps its minus sign")
        << u"3 - 10 = =>1 ÷ 3 ="_s << u"Txt3"_s << u"-2.33333333333333"_s << 9 << true;
    QTest::newRow("19 characters: 9999999 أس 9")
        << u"9999999 أس 9 ="_s << u"Txt3"_s << u"9.9999910000036E+62"_s << 7 << true;
    QTest::newRow("22 characters: -7 ÷ 3 raised to 301")
        << u"3 - 10 = =>1 ÷ 3 = =>1 أس 301 ="_s << u"Txt3"_s << u"-5.76782896530181E+110"_s << 7
        << true;
    // Past the smallest size the box scrolls to the caret, at its own size.
    QTest::newRow("22 characters carried into Txt1 scroll")
        << u"3 - 10 = =>1 ÷ 3 = =>1 أس 301 = =>1"_s << u"Txt1"_s << u"-5.76782896530181E+110"_s
        << 11 << false;
    const QString typed = u"1234567890"_s.repeated(4);
    QTest::newRow("a 40-digit typed operand scrolls") << typed << u"Txt1"_s << typed << 11 << false;
}

void LegibilityTest::numbers() {
    QFETCH(QString, steps);
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(int, pixels);
    QFETCH(bool, whole);
    CalculatorWindow w;
    QVERIFY(w.exposed);
    vb::TextBox *target = w.box(qPrintable(box));
    const QFont own = target->font();
    const QImage empty = Look(target);
    Play(w, steps);
    QCOMPARE(target->Text(), text);
    QCOMPARE(Pixels(target), pixels);
    QCOMPARE(target->font().families(), own.families());
    QCOMPARE(target->geometry().size(), empty.size());

    const QRect ink = Difference(Look(target), empty, target->rect());
    QVERIFY(!ink.isEmpty());
    const QString where = QStringLiteral("ink at %1 to %2, rows %3 to %4")
                              .arg(ink.left())
                              .arg(ink.right())
                              .arg(ink.top())
                              .arg(ink.bottom());
    if (whole) {
        // A pixel clear of the frame at either end, or a minus sign there
        // would read as part of the frame.
        QVERIFY2(Inside(target).adjusted(1, 0, -1, 0).contains(ink), qPrintable(where));
        // Every character drawn: the ink spans the text's width.
        QVERIFY2(ink.width() >= target->fontMetrics().horizontalAdvance(text) - 3,
                 qPrintable(where));
        QVERIFY(ShowsWhole(target));
    } else {
        QVERIFY(!ShowsWhole(target));
        // The caret at the end stays in view.
        const int end = CaretX(target, int(text.size()));
        QVERIFY2(Inside(target).contains(QPoint(end, target->height() / 2)),
                 qPrintable(QString::number(end)));
    }
}

void LegibilityTest::sizeFollowsEveryChange_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QList<int>>("pixels"); // of Txt1, Txt2, Txt3

    using P = QList<int>;
    QTest::newRow("a result") << u"10 ÷ 3 ="_s << P{11, 11, 9};
    QTest::newRow("carried up, the result box is back to its size")
        << u"10 ÷ 3 = =>1"_s << P{8, 11, 11};
    QTest::newRow("a key typed after a shrunk operand") << u"10 ÷ 3 = =>1 7"_s << P{8, 11, 11};
    QTest::newRow("digits typed one by one") << u"1234567890123456"_s << P{8, 11, 11};
    QTest::newRow("digits typed past the smallest size")
        << u"123456789012345678901"_s << P{11, 11, 11};
    QTest::newRow("pi replaces a shrunk operand") << u"10 ÷ 3 = =>1 pi"_s << P{11, 11, 11};
    QTest::newRow("a digit empties the result box") << u"10 ÷ 3 = 5"_s << P{11, 11, 11};
    QTest::newRow("a one-operand key empties Txt2") << u"10 ÷ 3 = =>2 5 x2"_s << P{11, 11, 11};
    QTest::newRow("the equals key empties both operands") << u"10 ÷ 3 = =>2 5 ="_s << P{11, 11, 11};
    QTest::newRow("reset") << u"10 ÷ 3 = =>2 10 ÷ 3 = =>1 reset"_s << P{11, 11, 11};
}

void LegibilityTest::sizeFollowsEveryChange() {
    QFETCH(QString, steps);
    QFETCH(QList<int>, pixels);
    CalculatorWindow w;
    QVERIFY(w.exposed);
    Play(w, steps);
    const char *names[] = {"Txt1", "Txt2", "Txt3"};
    for (int i = 0; i < 3; ++i) {
        vb::TextBox *box = w.box(names[i]);
        QVERIFY2(Pixels(box) == pixels[i], qPrintable(QStringLiteral("%1 \"%2\" at %3 pixels")
                                                          .arg(QLatin1String(names[i]), box->Text())
                                                          .arg(Pixels(box))));
        if (Pixels(box) < 11)
            QVERIFY2(ShowsWhole(box), names[i]);
    }
}

void LegibilityTest::backToTheOwnSizeLooksAsBefore() {
    // After a shrunk text, a short one is drawn exactly as in a fresh box.
    QImage fresh;
    {
        CalculatorWindow w;
        QVERIFY(w.exposed);
        w.press(u"5"_s);
        fresh = Look(w.box("Txt1"));
    }
    CalculatorWindow w;
    QVERIFY(w.exposed);
    Play(w, u"10 ÷ 3 = =>1 reset 5"_s);
    QCOMPARE(Look(w.box("Txt1")), fresh);
}

void LegibilityTest::caretInsertionInAShrunkText_data() {
    QTest::addColumn<int>("at"); // where the user clicks, across the box
    QTest::newRow("near the start") << 12;
    QTest::newRow("in the middle") << 40;
    QTest::newRow("near the end") << 72;
}

void LegibilityTest::caretInsertionInAShrunkText() {
    QFETCH(int, at);
    CalculatorWindow w;
    QVERIFY(w.exposed);
    vb::TextBox *box = w.box("Txt1");
    Play(w, u"10 ÷ 3 = =>1"_s);
    const QString text = box->Text();
    QVERIFY(Pixels(box) < 11);
    const QImage unfocused = Look(box);
    const QRect ink = Difference(unfocused, Look(w.box("Txt2")), box->rect());

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(at, box->height() / 2));
    QVERIFY(box->hasFocus());
    const int position = box->cursorPosition();
    QVERIFY(position > 0 && position < text.size());
    // The locked box draws its caret where the click fell, between the
    // characters the position stands between: as far from the text's end
    // as the rest of the text is wide in the size drawn.
    const QRect caret =
        Difference(Look(box), unfocused, box->rect().adjusted(3, 3, -3, -3)); // not the focus frame
    QVERIFY(!caret.isEmpty());
    QCOMPARE(caret.width(), 1);
    QVERIFY2(qAbs(caret.x() - at) <= 3, qPrintable(QString::number(caret.x())));
    const qreal rest = QFontMetricsF(box->font()).horizontalAdvance(text.mid(position));
    QVERIFY2(qAbs(ink.right() + 1 - rest - caret.x()) <= 1.5,
             qPrintable(QStringLiteral("caret at %1, text ends at %2, %3 after the caret")
                            .arg(caret.x())
                            .arg(ink.right())
                            .arg(rest)));

    // The keys go in there, one after another, however the size changes.
    w.press(u"78"_s);
    QCOMPARE(box->Text(), text.left(position) + u"78"_s + text.mid(position));
    QCOMPARE(box->cursorPosition(), position + 2);
    QVERIFY(ShowsWhole(box));
}

void LegibilityTest::caretBeforeAFittedTextLeavesTheFrame() {
    // The fitted text starts at the frame's inside edge; the locked box's
    // caret before it must not cover the frame.
    CalculatorWindow w;
    QVERIFY(w.exposed);
    vb::TextBox *box = w.box("Txt3");
    Play(w, u"3 - 10 = =>1 ÷ 3 = =>1 أس 301 ="_s);
    QCOMPARE(Pixels(box), 7);
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(box->hasFocus());
    const QRect frame(0, 0, 1, box->height());
    box->setCursorPosition(1);
    const QImage afterFirst = Look(box);
    box->setCursorPosition(0);
    const QImage beforeFirst = Look(box);
    QVERIFY(beforeFirst != afterFirst);
    QCOMPARE(Difference(beforeFirst, afterFirst, frame), QRect());
}

void LegibilityTest::mouseSelectionInAShrunkText() {
    CalculatorWindow w;
    QVERIFY(w.exposed);
    vb::TextBox *box = w.box("Txt3");
    Play(w, u"3 - 10 = =>1 ÷ 3 = =>1 أس 301 ="_s);
    const QString text = box->Text();
    QCOMPARE(Pixels(box), 7);
    // From before the "E" to the end, dragged with the mouse.
    const int from = CaretX(box, int(text.indexOf(u'E')));
    const int to = CaretX(box, int(text.size()));
    box->setCursorPosition(0);
    const int y = box->height() / 2;
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(from, y));
    QTest::mouseMove(box, QPoint(to, y));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(to, y));
    QCOMPARE(box->selectedText(), u"E+110"_s);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"E+110"_s);
    QCOMPARE(box->Text(), text);
    QCOMPARE(Pixels(box), 7);
}

void LegibilityTest::shrunkTextSelectsAndCopiesWhole() {
    CalculatorWindow w;
    QVERIFY(w.exposed);
    for (const char *name : {"Txt1", "Txt3"}) {
        Play(w, u"reset 3 - 10 = =>1 ÷ 3 ="_s);
        if (name == QLatin1String("Txt1"))
            w.click("Command34");
        vb::TextBox *box = w.box(name);
        const QString text = box->Text();
        QCOMPARE(text, u"-2.33333333333333"_s);
        QVERIFY(Pixels(box) < 11);
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(box->selectedText(), text);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), text);
        QCOMPARE(box->Text(), text);
    }
}

void LegibilityTest::messageLineKeepsItsSize() {
    CalculatorWindow w;
    vb::TextBox *line = w.box("Txt4");
    const QString text = u"1234567890"_s.repeated(4);
    line->SetText(text);
    QCOMPARE(Pixels(line), 11);
    QCOMPARE(line->Text(), text);
}

void LegibilityTest::operatorCodes_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("ownSize");
    for (const QString &code :
         {u"+"_s, u"-"_s, u"×"_s, u"÷"_s, u"أس"_s, u"جذر"_s, u"x2"_s, u"x3"_s})
        QTest::newRow(qPrintable(code)) << code << true;
    for (const QString &code : {u"جذر2"_s, u"جذر3"_s})
        QTest::newRow(qPrintable(code)) << code << false;
}

void LegibilityTest::operatorCodes() {
    QFETCH(QString, code);
    QFETCH(bool, ownSize);
    CalculatorWindow w;
    QVERIFY(w.exposed);
    vb::Label *label = w.label();
    auto looks = [&] { return Look(w.form.get()).copy(label->geometry()); };
    const QImage empty = looks();
    w.press(u"5"_s);
    w.click(OperatorButton(code));
    QCOMPARE(w.caption(), code);
    QCOMPARE(Pixels(label), 16);

    // The whole code, a pixel clear of each edge of the 33 x 33 label.
    const QRect ink = Difference(looks(), empty, label->rect());
    const QString where = QStringLiteral("ink at %1 to %2, rows %3 to %4")
                              .arg(ink.left())
                              .arg(ink.right())
                              .arg(ink.top())
                              .arg(ink.bottom());
    QVERIFY2(label->rect().adjusted(1, 1, -1, -1).contains(ink), qPrintable(where));

    const QSize own = PlainInk(code, label->font());
    QFont smallest = label->font();
    smallest.setPixelSize(10);
    const QSize floor = PlainInk(code, smallest);
    if (ownSize) {
        QVERIFY2(qAbs(ink.width() - own.width()) <= 1 && qAbs(ink.height() - own.height()) <= 1,
                 qPrintable(where));
    } else {
        QVERIFY2(ink.width() < own.width() - 4, qPrintable(where));
        QVERIFY2(ink.width() >= floor.width() - 1 && ink.height() >= floor.height() - 1,
                 qPrintable(where));
    }
}

QTEST_MAIN(LegibilityTest)
#include "tst_legibility.moc"
