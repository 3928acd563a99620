// The runtime's controls and its error path, apart from any form.
#include "controls.h"
#include "form.h"
#include "numeric.h"
#include "services.h"

#include <QMessageBox>
#include <QtTest>

using namespace Qt::StringLiterals;

class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void selTextReplacesSelectionOrGoesAtCaret_data();
    void selTextReplacesSelectionOrGoesAtCaret();
    void selectionSurvivesLosingFocus();
    void timerIdleUntilIntervalSet();
    void timerStoreRestartsTheCount();
    void timerTicksRepeatAtItsInterval();
    void unhandledErrorShowsBoxThenEnds();
    void bitmapReadsPixelForPixel();
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

void ControlsTest::selectionSurvivesLosingFocus() {
    QWidget window;
    auto *box = new vb::TextBox(&window);
    auto *other = new QPushButton(&window);
    other->move(0, 40);
    box->SetLocked(true);
    box->SetText(u"123"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    box->setFocus();
    box->setSelection(1, 1);
    other->setFocus();
    QVERIFY(!box->hasFocus());
    box->SetSelText(u"9"_s);
    QCOMPARE(box->Text(), u"193"_s);
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

void ControlsTest::bitmapReadsPixelForPixel() {
    // An odd width pads every row; rows are stored bottom-up.
    QImage drawn(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            drawn.setPixel(x, y, qRgb(40 * x, 80 * y, 200 - 10 * x - 20 * y));
    QTemporaryDir dir;
    const QString path = dir.filePath(u"picture.bmp"_s);
    QVERIFY(drawn.save(path, "BMP"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().at(28), char(24)); // the layout the runtime reads itself
    const QImage read = vb::LoadPicture(path).toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(read, drawn);
    QVERIFY(vb::LoadPicture(dir.filePath(u"missing.bmp"_s)).isNull());
}

QTEST_MAIN(ControlsTest)
#include "tst_controls.moc"
