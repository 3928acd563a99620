// The runtime's controls and its error path, apart from any form.
#include "controls.h"
#include "form.h"
#include "numeric.h"
#include "pictures.h"
#include "services.h"

#include <QMessageBox>
#include <QScopeGuard>
#include <QStyleHints>
#include <QtTest>

#include <utility>

using namespace Qt::StringLiterals;

class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void selTextReplacesSelectionOrGoesAtCaret_data();
    void selTextReplacesSelectionOrGoesAtCaret();
    void selectionSurvivesLosingFocus_data();
    void selectionSurvivesLosingFocus();
    void lockedBoxBlinksItsCaret_data();
    void lockedBoxBlinksItsCaret();
    void timerIdleUntilIntervalSet();
    void timerStoreRestartsTheCount();
    void timerTicksRepeatAtItsInterval();
    void unhandledErrorShowsBoxThenEnds();
    void closingTheWindowEnds();
    void bakedPicturesReadBackPixelForPixel();
    void bakedPicturesRejectDamage_data();
    void bakedPicturesRejectDamage();
};

void ControlsTest::initTestCase() {
    if (qEnvironmentVariableIsSet("ZENDARIC_EXPECT_ARABIC_LOCALE"))
        QVERIFY(QLocale::system().decimalPoint() != u"."_s);
}

void ControlsTest::selTextReplacesSelectionOrGoesAtCaret_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");
    QTest::newRow("empty box") << QString() << 0 << 0 << u"7"_s << 1;
    QTest::newRow("caret at start") << u"12"_s << 0 << 0 << u"712"_s << 1;
    QTest::newRow("caret in middle") << u"12"_s << 1 << 0 << u"172"_s << 2;
    QTest::newRow("selection replaced") << u"123"_s << 1 << 1 << u"173"_s << 2;
    QTest::newRow("all replaced") << u"123"_s << 0 << 3 << u"7"_s << 1;
}

void ControlsTest::selTextReplacesSelectionOrGoesAtCaret() {
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, expected);
    QFETCH(int, caret);
    vb::TextBox box;
    box.SetLocked(true);
    box.SetText(text);
    if (length > 0)
        box.setSelection(start, length);
    else
        box.setCursorPosition(start);
    box.SetSelText(u"7"_s);
    QCOMPARE(box.Text(), expected);
    QCOMPARE(box.cursorPosition(), caret);
    QVERIFY(!box.hasSelectedText());
}

void ControlsTest::selectionSurvivesLosingFocus_data() {
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::newRow("dragged rightwards") << 1 << 4;
    QTest::newRow("dragged leftwards") << 4 << 1;
}

void ControlsTest::selectionSurvivesLosingFocus() {
    // A click on a keypad button takes the focus; the selection stays for
    // the next key to replace, and the caret at the end the user dragged
    // to, so that Shift and an arrow go on from there.
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QWidget window;
    auto *box = new vb::TextBox(&window);
    auto *other = new QPushButton(&window);
    other->move(0, 40);
    box->SetLocked(true);
    box->SetText(u"12345"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    box->setFocus();
    box->setSelection(anchor, caret - anchor);
    QCOMPARE(box->cursorPosition(), caret);
    other->setFocus();
    QVERIFY(!box->hasFocus());
    QCOMPARE(box->selectionStart(), 1);
    QCOMPARE(box->selectionLength(), 3);
    QCOMPARE(box->cursorPosition(), caret);
    box->SetSelText(u"9"_s);
    QCOMPARE(box->Text(), u"195"_s);
}

namespace {

// The columns in which two pictures of the same size differ, and the
// number of differing pixels.
QList<int> ChangedColumns(const QImage &a, const QImage &b, int *pixels) {
    QList<int> columns;
    *pixels = 0;
    for (int x = 0; x < a.width(); ++x) {
        bool changed = false;
        for (int y = 0; y < a.height(); ++y) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                changed = true;
                ++*pixels;
            }
        }
        if (changed)
            columns << x;
    }
    return columns;
}

// The first and last column within `area`, inside the frame, that holds a
// dark pixel.
std::pair<int, int> InkedColumns(const QImage &image, const QRect &area) {
    int first = -1, last = -1;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (qGray(image.pixel(x, y)) < 128) {
                if (first < 0)
                    first = x;
                last = x;
            }
    return {first, last};
}

} // namespace

void ControlsTest::lockedBoxBlinksItsCaret_data() {
    QTest::addColumn<int>("position");
    QTest::newRow("caret after the text") << 2;
    QTest::newRow("caret before the text") << 0;
}

void ControlsTest::lockedBoxBlinksItsCaret() {
    // Qt draws no caret in a read-only line edit; a locked box draws its
    // own, one pixel wide, the text's colour, and blinks it.
    QFETCH(int, position);
    QStyleHints *hints = QGuiApplication::styleHints();
    const int flash = hints->cursorFlashTime();
    hints->setCursorFlashTime(200);
    const auto restore = qScopeGuard([hints, flash] { hints->setCursorFlashTime(flash); });
    QWidget window;
    window.resize(120, 40);
    vb::TextBox box(&window);
    box.setGeometry(10, 10, 81, 19);
    box.SetLocked(true);
    box.SetText(u"12"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    box.setFocus();
    QTRY_VERIFY(box.hasFocus());
    box.setCursorPosition(position);
    QVERIFY(!box.hasSelectedText());

    auto look = [&box] { return box.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    // Two pictures that differ, the caret shown in one of them, then the
    // first again: it blinks on.
    const QImage first = look();
    QImage second;
    QVERIFY2(QTest::qWaitFor([&] { return (second = look()) != first; }, 5000),
             "the box looks the same all along");
    QVERIFY2(QTest::qWaitFor([&] { return look() == first; }, 5000), "it blinked only once");

    const QRgb ink = box.palette().color(QPalette::Text).rgb();
    int pixels = 0;
    const QList<int> columns = ChangedColumns(first, second, &pixels);
    QCOMPARE(columns.size(), 1);
    const int column = columns.first();
    const bool firstShows = first.pixel(column, box.height() / 2) == ink;
    const QImage &shown = firstShows ? first : second;
    const QImage &hidden = firstShows ? second : first;
    // A whole line's height, in the text's colour.
    QVERIFY2(pixels >= box.fontMetrics().ascent(), qPrintable(QString::number(pixels)));
    for (int y = 0; y < shown.height(); ++y)
        if (shown.pixel(column, y) != hidden.pixel(column, y))
            QCOMPARE(shown.pixel(column, y), ink);
    // Inside the frame: the face's line is taller than the box's inside.
    for (int y : {0, 1, shown.height() - 2, shown.height() - 1})
        QVERIFY2(shown.pixel(column, y) == hidden.pixel(column, y),
                 qPrintable(u"the caret covers the frame in row %1"_s.arg(y)));
    // Beside the digits, on the side the caret is.
    const auto [left, right] = InkedColumns(hidden, box.rect().adjusted(3, 3, -3, -3));
    QVERIFY(left >= 0);
    if (position == 0)
        QVERIFY2(column < left, qPrintable(u"caret at %1, text from %2"_s.arg(column).arg(left)));
    else
        QVERIFY2(column > right, qPrintable(u"caret at %1, text to %2"_s.arg(column).arg(right)));
}

void ControlsTest::timerIdleUntilIntervalSet() {
    vb::Timer timer;
    QSignalSpy ticks(&timer, &vb::Timer::Tick);
    QCOMPARE(timer.Interval(), 0);
    QCOMPARE(timer.RemainingTime(), -1);
    timer.SetInterval(4000);
    QVERIFY(timer.RemainingTime() > 3900);
    timer.SetInterval(0);
    QCOMPARE(timer.RemainingTime(), -1);
    QTest::qWait(20);
    QCOMPARE(ticks.size(), 0);
}

void ControlsTest::timerStoreRestartsTheCount() {
    vb::Timer timer;
    timer.SetInterval(4000);
    QTest::qWait(300);
    QVERIFY(timer.RemainingTime() <= 3750);
    timer.SetInterval(4000);
    QVERIFY(timer.RemainingTime() > 3900);
}

void ControlsTest::timerTicksRepeatAtItsInterval() {
    vb::Timer timer;
    QSignalSpy ticks(&timer, &vb::Timer::Tick);
    timer.SetInterval(20);
    QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 3, 5000);
}

void ControlsTest::unhandledErrorShowsBoxThenEnds() {
    int ends = 0;
    vb::SetEndHandler([&ends] { ++ends; });
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        shown = box->text();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    bool afterThrow = false;
    vb::Form::Run([&afterThrow] {
        throw vb::RuntimeError(vb::ErrorCode::Overflow, "Overflow");
        afterThrow = true;
    });
    vb::SetEndHandler(nullptr);
    QVERIFY(!afterThrow);
    QVERIFY2(shown.contains(u"6"_s) && shown.contains(u"Overflow"_s), qPrintable(shown));
    QCOMPARE(ends, 1);
}

void ControlsTest::closingTheWindowEnds() {
    // The program ends through vbaEnd, not only because Qt quits after its
    // last window: here another window stays, and the test's end handler
    // stands in for the real end.
    int ends = 0;
    vb::SetEndHandler([&ends] { ++ends; });
    const auto restore = qScopeGuard([] { vb::SetEndHandler(nullptr); });
    QWidget other;
    other.show();
    vb::Form form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.close());
    QCOMPARE(ends, 1);
    QVERIFY(!form.isVisible());
}

namespace {

QImage Drawn(int width, int height, QImage::Format format) {
    QImage drawn(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            drawn.setPixel(x, y, qRgba(40 * x, 80 * y, 200 - 10 * x - 20 * y, 255 - 30 * x));
    return drawn;
}

} // namespace

void ControlsTest::bakedPicturesReadBackPixelForPixel() {
    // An odd width, a picture of two images (an icon's sizes), and one with
    // see-through pixels, which keeps them.
    const QImage opaque = Drawn(5, 3, QImage::Format_RGB888);
    const QImage seeThrough = Drawn(4, 2, QImage::Format_ARGB32);
    const QByteArray baked = vb::BakePictures({opaque, seeThrough});
    const auto *data = reinterpret_cast<const uchar *>(baked.constData());
    const QList<QImage> read = vb::ReadPictures(data, baked.size());
    QCOMPARE(read.size(), 2);
    QCOMPARE(read[0].format(), QImage::Format_RGB32);
    QCOMPARE(read[0], opaque.convertToFormat(QImage::Format_RGB32));
    QCOMPARE(read[1], seeThrough.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    // Painting reads the bytes in place: nothing was copied.
    QCOMPARE(read[0].constBits(), data + 16);
}

void ControlsTest::bakedPicturesRejectDamage_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("keep");
    const QByteArray none;
    QTest::newRow("nothing baked") << 0 << none << 0;
    QTest::newRow("header cut short") << 0 << none << 10;
    QTest::newRow("pixels cut short") << 0 << none << 16 + 5 * 3 * 4 - 1;
    QTest::newRow("second image cut short") << 0 << none << 16 + 5 * 3 * 4 + 3;
    QTest::newRow("wrong magic") << 0 << QByteArray("PNG\x89") << -1;
    QTest::newRow("no width") << 4 << QByteArray(4, '\0') << -1;
    QTest::newRow("too tall") << 8 << QByteArray("\xff\xff\xff\x7f", 4) << -1;
    QTest::newRow("24-bit format") << 12 << QByteArray("\x0d\0\0\0", 4) << -1;
    QTest::newRow("no format at all") << 12 << QByteArray("\xff\xff\xff\xff", 4) << -1;
}

void ControlsTest::bakedPicturesRejectDamage() {
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(int, keep);
    QByteArray baked = vb::BakePictures({Drawn(5, 3, QImage::Format_RGB32)});
    baked += vb::BakePictures({Drawn(2, 2, QImage::Format_RGB32)});
    baked.replace(offset, bytes.size(), bytes);
    if (keep >= 0)
        baked.truncate(keep);
    QVERIFY(vb::ReadPictures(reinterpret_cast<const uchar *>(baked.constData()), baked.size())
                .isEmpty());
}

QTEST_MAIN(ControlsTest)
#include "tst_controls.moc"
