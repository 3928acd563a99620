// The window on a real X server: the size and frame hints the server holds,
// and a screenshot of what it shows, kept as a PNG for people to look at and
// checked where the arrows must show and where the buttons hide them.
#include "calculatorwindow.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QWindow>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Runs one of the X utilities on the window and returns what it prints.
QString XTool(const QString &program, QStringList arguments) {
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForStarted() || !tool.waitForFinished(10000) ||
        tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

QString Match(const QString &text, const QString &pattern) {
    return QRegularExpression(pattern).match(text).captured(1);
}

// The drawn picture behind a resource the window shows, read from assets/
// with Qt's own readers: what the window shows must be that, pixel for pixel.
QImage Asset(const QString &resource) {
    const QDir assets(QStringLiteral(ZENDARIC_ASSETS_DIR));
    const QStringList files = assets.entryList({QFileInfo(resource).fileName() + u".*"_s});
    if (files.size() != 1)
        return {};
    return QImage(assets.filePath(files.first())).convertToFormat(QImage::Format_RGB32);
}

// The bits of _MOTIF_WM_HINTS, through which the window asks for its frame.
constexpr unsigned MotifFunctions = 1, MotifDecorations = 2;
constexpr unsigned MotifAll = 1, MotifMinimize = 8, MotifMaximize = 16, MotifClose = 32;
constexpr unsigned MotifDecorateAll = 1, MotifDecorateTitle = 8, MotifDecorateMaximize = 64;

enum class Seen { Line, Untouched };

struct PixelRow {
    const char *what;
    Seen seen;
    QLine pixels; // a horizontal, vertical or diagonal run, both ends in
};

// Pixels of the client area. "Untouched" pixels look the same with and
// without the lines: a button stands over them, or no line runs there.
constexpr PixelRow Pixels[] = {
    {"Lin6 shows left of Command15", Seen::Line, {32, 152, 39, 152}},
    {"Command15 hides Lin6", Seen::Untouched, {40, 152, 80, 152}},
    {"Lin6 shows right of Command15", Seen::Line, {81, 152, 87, 152}},
    {"Lin6 stops short of Txt3", Seen::Untouched, {88, 152, 103, 152}},
    {"Lin5 is the left shaft", Seen::Line, {32, 121, 32, 151}},
    {"Lin7 and Lin8 meet at the left tip", Seen::Line, {32, 120, 32, 120}},
    {"Lin7 slants down to the right", Seen::Line, {33, 121, 39, 127}},
    {"Lin8 slants down to the left", Seen::Line, {31, 121, 25, 127}},
    {"Lin7 leaves its last point out", Seen::Untouched, {40, 128, 40, 128}},
    {"Lin8 leaves its last point out", Seen::Untouched, {24, 128, 24, 128}},
    {"the left tip stands clear of Txt2", Seen::Untouched, {32, 115, 32, 119}},
    {"Lin1 starts clear of Txt3", Seen::Untouched, {193, 152, 207, 152}},
    {"Lin1 shows left of Command34", Seen::Line, {208, 152, 215, 152}},
    {"Command34 hides Lin1", Seen::Untouched, {216, 152, 256, 152}},
    {"Lin1 shows right of Command34", Seen::Line, {257, 152, 263, 152}},
    {"Lin2 is the right shaft", Seen::Line, {264, 121, 264, 152}},
    {"Lin3 and Lin4 meet at the right tip", Seen::Line, {264, 120, 264, 120}},
    {"Lin3 slants down to the right", Seen::Line, {265, 121, 271, 127}},
    {"Lin4 slants down to the left", Seen::Line, {263, 121, 257, 127}},
    {"Lin3 leaves its last point out", Seen::Untouched, {272, 128, 272, 128}},
    {"Lin4 leaves its last point out", Seen::Untouched, {256, 128, 256, 128}},
    {"the right tip stands clear of Txt1", Seen::Untouched, {264, 115, 264, 119}},
};

int Sign(int value) { return (value > 0) - (value < 0); }

std::vector<QPoint> PointsOf(QLine run) {
    std::vector<QPoint> points;
    const QPoint step(Sign(run.dx()), Sign(run.dy()));
    for (QPoint at = run.p1();; at += step) {
        points.push_back(at);
        if (at == run.p2())
            break;
    }
    return points;
}

} // namespace

class ScreenshotTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void clientAreaAsTheServerHoldsIt();
    void frameHints();
    void arrows_data();
    void arrows();
    void skinFromTheTopLeftCorner();
    void titleStandsClearOfEveryControl();
    void everyButtonShowsItsFace();
    void longNumbersSheet();

private:
    QImage Shot() const;

    std::unique_ptr<CalculatorWindow> window_;
    QImage withLines_;
    QImage withoutLines_;
};

QImage ScreenshotTest::Shot() const {
    vb::Form &form = *window_->form;
    form.repaint();
    QCoreApplication::processEvents();
    return form.screen()->grabWindow(form.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

void ScreenshotTest::initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), u"xcb"_s);
    window_ = std::make_unique<CalculatorWindow>();
    QVERIFY(window_->exposed);
    // What people look at: a prompt in the message line, an operation
    // under way and a result longer than its box.
    window_->click("Command17"); // "+" with no first number asks for one
    window_->press(u"12"_s);
    window_->click("Command23");
    window_->press(u"345"_s);
    window_->box("Txt3")->SetText(u"-1.23456789012346E+200"_s);
    QCOMPARE(window_->text("Txt4"), u"أدخل رقماً في خانة العدد الأول "_s);

    withLines_ = Shot();
    QCOMPARE(withLines_.size(), QSize(316, 509));
    const QString path = QDir(QStringLiteral(SCREENSHOT_DIR)).filePath(u"Form1.png"_s);
    QVERIFY(withLines_.save(path));
    qInfo("screenshot: %s", qPrintable(path));

    vb::Form &form = *window_->form;
    const auto lines = form.Lines();
    form.SetLines({});
    withoutLines_ = Shot();
    form.SetLines(lines);
}

void ScreenshotTest::cleanupTestCase() { window_.reset(); }

void ScreenshotTest::clientAreaAsTheServerHoldsIt() {
    vb::Form &form = *window_->form;
    QCOMPARE(form.windowHandle()->geometry().size(), QSize(316, 509));
    const QString id = QString::number(form.winId());
    const QString info = XTool(u"xwininfo"_s, {u"-id"_s, id});
    QVERIFY2(!info.isEmpty(), "xwininfo failed");
    QCOMPARE(Match(info, uR"(Width: (\d+))"_s), u"316"_s);
    QCOMPARE(Match(info, uR"(Height: (\d+))"_s), u"509"_s);

    // Minimum and maximum size alike: no window manager lets the user
    // resize the window.
    const QString hints = XTool(u"xprop"_s, {u"-id"_s, id, u"WM_NORMAL_HINTS"_s});
    QVERIFY2(!hints.isEmpty(), "xprop failed");
    QCOMPARE(Match(hints, uR"(minimum size: (\d+ by \d+))"_s), u"316 by 509"_s);
    QCOMPARE(Match(hints, uR"(maximum size: (\d+ by \d+))"_s), u"316 by 509"_s);
    // No place of its own: the window manager puts the window where it likes.
    QVERIFY2(!hints.contains(u"location"_s), qPrintable(hints));
}

void ScreenshotTest::frameHints() {
    const QString id = QString::number(window_->form->winId());
    const QString motif = XTool(u"xprop"_s, {u"-id"_s, id, u"_MOTIF_WM_HINTS"_s});
    const QStringList values = motif.section(u'=', 1).split(u',', Qt::SkipEmptyParts);
    QVERIFY2(values.size() >= 3, qPrintable(motif));
    bool ok = false;
    const unsigned flags = values[0].trimmed().toUInt(&ok, 0);
    QVERIFY(ok);
    const unsigned functions = values[1].trimmed().toUInt(&ok, 0);
    QVERIFY(ok);
    const unsigned decorations = values[2].trimmed().toUInt(&ok, 0);
    QVERIFY(ok);

    // A title bar with a close and a minimise box and no maximise box. Qt
    // offers the resize function all the same; the equal size limits above
    // are what keep the size.
    QVERIFY(flags & MotifFunctions);
    QVERIFY(functions & MotifClose);
    QVERIFY(functions & MotifMinimize);
    QVERIFY(!(functions & (MotifAll | MotifMaximize)));
    QVERIFY(flags & MotifDecorations);
    QVERIFY(decorations & MotifDecorateTitle);
    QVERIFY(!(decorations & (MotifDecorateAll | MotifDecorateMaximize)));
}

void ScreenshotTest::arrows_data() {
    QTest::addColumn<int>("row");
    for (int row = 0; row < int(std::size(Pixels)); ++row)
        QTest::newRow(Pixels[row].what) << row;
}

void ScreenshotTest::arrows() {
    QFETCH(int, row);
    const PixelRow &expected = Pixels[row];
    const QRgb black = qRgb(0, 0, 0);
    for (QPoint at : PointsOf(expected.pixels)) {
        const QRgb with = withLines_.pixel(at);
        const QRgb without = withoutLines_.pixel(at);
        const QString where = QStringLiteral("at %1, %2").arg(at.x()).arg(at.y());
        if (expected.seen == Seen::Line) {
            QVERIFY2(with == black, qPrintable(where + u": no black line"_s));
            QVERIFY2(without != black, qPrintable(where + u": the line does not stand out"_s));
        } else {
            QVERIFY2(with == without, qPrintable(where + u": a line shows"_s));
        }
    }
}

void ScreenshotTest::skinFromTheTopLeftCorner() {
    const QImage skin = Asset(window_->form->picture());
    QCOMPARE(skin.size(), QSize(316, 512));
    // Where no control stands, the window shows the skin pixel for pixel.
    const QRect open[] = {
        {0, 0, 316, 24}, {0, 0, 16, 509}, {297, 70, 19, 439}, {0, 474, 316, 35}, {0, 250, 316, 38}};
    for (const QRect &area : open)
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                QVERIFY2(withoutLines_.pixel(x, y) == skin.pixel(x, y),
                         qPrintable(QStringLiteral("at %1, %2").arg(x).arg(y)));
}

void ScreenshotTest::titleStandsClearOfEveryControl() {
    const QRect title(63, 42, 177, 27);
    for (QWidget *control : window_->form->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        QVERIFY2(!control->geometry().intersects(title), qPrintable(control->objectName()));
    const QImage skin = Asset(window_->form->picture());
    int black = 0;
    for (int y = title.top(); y <= title.bottom(); ++y)
        for (int x = title.left(); x <= title.right(); ++x) {
            QVERIFY(withLines_.pixel(x, y) == skin.pixel(x, y));
            black += withLines_.pixel(x, y) == qRgb(0, 0, 0);
        }
    QVERIFY2(black > 500, "the title does not show");
}

void ScreenshotTest::everyButtonShowsItsFace() {
    const auto buttons = window_->form->findChildren<vb::CommandButton *>();
    int faces = 0;
    for (vb::CommandButton *button : buttons) {
        if (button->picture().isEmpty())
            continue;
        ++faces;
        const QImage face = Asset(button->picture());
        QCOMPARE(face.size(), QSize(46, 26));
        // The face is centred: two columns cut on the left, three on the
        // right, and its bottom row. Inside the button's own border, every
        // pixel is the face's.
        const QPoint origin = button->geometry().topLeft() + QPoint(-2, 0);
        const QRect inside = button->geometry().adjusted(2, 2, -2, -2);
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                QVERIFY2(
                    withoutLines_.pixel(x, y) == face.pixel(QPoint(x, y) - origin),
                    qPrintable(
                        QStringLiteral("%1 at %2, %3").arg(button->objectName()).arg(x).arg(y)));
    }
    QCOMPARE(faces, 26);
}

void ScreenshotTest::longNumbersSheet() {
    // A second picture for people, with the longest texts the boxes and the
    // label show: a 22-character result, results carried up, a root code.
    window_->click("Command39");
    Play(*window_, u"3 - 10 = =>1 ÷ 3 = =>1 أس 301 ="_s);
    QCOMPARE(window_->text("Txt3"), u"-5.76782896530181E+110"_s);
    window_->box("Txt1")->SetText(u"3.33333333333333"_s);
    window_->box("Txt2")->SetText(u"22637808993.9672"_s);
    window_->label()->SetCaption(u"جذر3"_s);
    const QImage sheet = Shot();
    QCOMPARE(sheet.size(), QSize(316, 509));
    const QString path = QDir(QStringLiteral(SCREENSHOT_DIR)).filePath(u"Form1-long-numbers.png"_s);
    QVERIFY(sheet.save(path));
    qInfo("long numbers: %s", qPrintable(path));
    // On the server too, each text stays off the frames of its box.
    for (const char *name : {"Txt1", "Txt2", "Txt3"}) {
        const QRect box = window_->box(name)->geometry();
        const QImage empty = withoutLines_.copy(box);
        for (int y = 0; y < box.height(); ++y)
            for (int x : {0, box.width() - 1})
                QVERIFY2(
                    sheet.pixel(box.topLeft() + QPoint(x, y)) == empty.pixel(x, y),
                    qPrintable(
                        QStringLiteral("%1 at %2, %3").arg(QLatin1String(name)).arg(x).arg(y)));
    }
}

QTEST_MAIN(ScreenshotTest)
#include "tst_screenshot.moc"
