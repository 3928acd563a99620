// The web-page button, and rtcShell handing an address to the desktop's URL
// opener. A stand-in xdg-open, first on PATH, writes down how it was started.
#include "calculatorwindow.h"
#include "numeric.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString UrlHandler = u"RUNDLL32.EXE URL.DLL,FileProtocolHandler "_s;
const QString WebPage = u"https://example.org/"_s;

// 8 ÷ 0 = leaves its message, 12 + 3 = the result 15, then π + π: every box
// filled, an operator pending and the message timer running.
void EnterState(const CalculatorWindow &w) {
    Play(w, u"8 ÷ 0 = 12 + 3 = pi + pi"_s);
    QCOMPARE(w.text("Txt3"), u"15"_s);
    QCOMPARE(w.text("Txt4"), u"غير معرفة"_s);
    QCOMPARE(w.text("Txt2"), u"3.141592654"_s);
    QVERIFY(w.timer()->RemainingTime() >= 0);
}

} // namespace

class WebPageTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void clicksStartTheOpenerEachTime_data();
    void clicksStartTheOpenerEachTime();
    void clickDoesNotWaitForTheOpener();
    void withoutAnOpenerTheProgramGoesOn_data();
    void withoutAnOpenerTheProgramGoesOn();
    void addressReachesTheOpenerWhole_data();
    void addressReachesTheOpenerWhole();
    void otherCommandLinesAreRefused_data();
    void otherCommandLinesAreRefused();

private:
    // Puts `script`, or the stand-in, as xdg-open in a directory first on PATH.
    void installOpener(const QByteArray &script = {});
    // The arguments of each start of the stand-in so far.
    QList<QStringList> starts() const;
    QString path(const QString &name) const { return dir_->filePath(name); }

    QByteArray savedPath_;
    std::optional<QTemporaryDir> dir_;
};

void WebPageTest::init() {
    savedPath_ = qgetenv("PATH");
    dir_.emplace();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir(dir_->path()).mkdir(u"bin"_s));
    QVERIFY(QDir(dir_->path()).mkdir(u"bait"_s));
    qputenv("ZENDARIC_TEST_OPENER_LOG", QFile::encodeName(path(u"opener.log"_s)));
    qunsetenv("ZENDARIC_TEST_OPENER_HOLD");
}

void WebPageTest::cleanup() {
    qputenv("PATH", savedPath_);
    qunsetenv("ZENDARIC_TEST_OPENER_LOG");
    qunsetenv("ZENDARIC_TEST_OPENER_HOLD");
    dir_.reset();
}

void WebPageTest::installOpener(const QByteArray &script) {
    const QString opener = path(u"bin/xdg-open"_s);
    if (script.isEmpty()) {
        QVERIFY(QFile::copy(QStringLiteral(FAKE_OPENER), opener));
    } else {
        QFile file(opener);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(script);
    }
    QVERIFY(QFile::setPermissions(opener, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    qputenv("PATH", QFile::encodeName(path(u"bin"_s)) + ':' + savedPath_);
}

QList<QStringList> WebPageTest::starts() const {
    QFile log(path(u"opener.log"_s));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> starts;
    QStringList arguments;
    for (const QString &line : QString::fromUtf8(log.readAll()).split(u'\n')) {
        if (line == u"----"_s) {
            starts.append(arguments);
            arguments.clear();
        } else {
            arguments.append(line);
        }
    }
    return starts;
}

void WebPageTest::clicksStartTheOpenerEachTime_data() {
    QTest::addColumn<int>("clicks");
    QTest::newRow("one click starts the opener once") << 1;
    QTest::newRow("three clicks start it three times") << 3;
}

void WebPageTest::clicksStartTheOpenerEachTime() {
    QFETCH(int, clicks);
    installOpener();
    CalculatorWindow w;
    QVERIFY(w.exposed);
    EnterState(w);
    if (QTest::currentTestFailed())
        return;
    const State before = Capture(w);
    ModalBoxCloser boxes;

    for (int i = 0; i < clicks; ++i)
        w.click("Command25");
    CompareState(Capture(w), before);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(boxes.closed.isEmpty(), qPrintable(boxes.closed.join(u'\n')));
    QCOMPARE(w.ends, 0);

    QTRY_COMPARE(starts().size(), clicks);
    QTest::qWait(100); // room for a start too many
    const QList<QStringList> recorded = starts();
    QCOMPARE(recorded.size(), clicks);
    for (const QStringList &arguments : recorded)
        QCOMPARE(arguments, QStringList{WebPage});
}

void WebPageTest::clickDoesNotWaitForTheOpener() {
    installOpener();
    const QString release = path(u"release"_s);
    const QString finished = release + u".done"_s;
    qputenv("ZENDARIC_TEST_OPENER_HOLD", QFile::encodeName(release));
    // However the test ends, the held opener is let go and awaited.
    const auto letGo = qScopeGuard([&] {
        QFile(release).open(QIODevice::WriteOnly);
        (void)QTest::qWaitFor([&] { return QFile::exists(finished); }, 10000);
    });
    CalculatorWindow w;
    QVERIFY(w.exposed);
    ModalBoxCloser boxes;

    w.click("Command25");
    QTRY_COMPARE(starts().size(), 1);
    // The click is over while the opener still runs.
    QVERIFY(!QFile::exists(finished));
    QCOMPARE(w.ends, 0);
    QVERIFY2(boxes.closed.isEmpty(), qPrintable(boxes.closed.join(u'\n')));
}

void WebPageTest::withoutAnOpenerTheProgramGoesOn_data() {
    QTest::addColumn<QByteArray>("opener"); // empty: none on PATH
    QTest::newRow("no xdg-open on PATH") << QByteArray();
    QTest::newRow("an xdg-open that cannot start") << "#!/nonexistent/interpreter\n"_ba;
}

void WebPageTest::withoutAnOpenerTheProgramGoesOn() {
    QFETCH(QByteArray, opener);
    if (opener.isEmpty())
        qputenv("PATH", QFile::encodeName(path(u"bin"_s)));
    else
        installOpener(opener);
    CalculatorWindow w;
    QVERIFY(w.exposed);
    EnterState(w);
    if (QTest::currentTestFailed())
        return;
    const State before = Capture(w);
    ModalBoxCloser boxes;

    w.click("Command25");
    w.click("Command25");
    QTest::qWait(50); // for any box to show
    CompareState(Capture(w), before);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(boxes.closed.isEmpty(), qPrintable(boxes.closed.join(u'\n')));
    QCOMPARE(w.ends, 0);
    QVERIFY(w.form->isVisible());
}

void WebPageTest::addressReachesTheOpenerWhole_data() {
    // BAIT stands for a directory that must stay empty.
    QTest::addColumn<QString>("address");
    QTest::newRow("semicolon, $() and backticks run nothing")
        << u"https://example.org/?a=1;touch BAIT/pwned&b=$(touch BAIT/pwned2) `touch BAIT/pwned3` \"'"_s;
    QTest::newRow("pipe, redirection and a glob run nothing")
        << u"https://example.org/*?a=1|touch BAIT/pwned4 >BAIT/pwned5 <BAIT/x"_s;
    QTest::newRow("quotes and spaces stay in the one argument")
        << u"https://example.org/a b?q=\"x y\"&r='z' \\ \\\" $HOME"_s;
    QTest::newRow("Arabic letters arrive unchanged") << u"https://example.org/حاسبة?س=١٢"_s;
}

void WebPageTest::addressReachesTheOpenerWhole() {
    QFETCH(QString, address);
    const QString bait = path(u"bait"_s);
    address.replace(u"BAIT"_s, bait);
    installOpener();

    vb::rtcShell(UrlHandler + address, 1);
    QTRY_COMPARE(starts().size(), 1);
    QCOMPARE(starts().first(), QStringList{address});
    QTest::qWait(100); // room for anything that ran after the opener
    QCOMPARE(QDir(bait).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

void WebPageTest::otherCommandLinesAreRefused_data() {
    QTest::addColumn<QString>("commandLine");
    QTest::newRow("another program") << u"notepad.exe"_s;
    QTest::newRow("an empty command line") << QString();
    QTest::newRow("the address alone") << WebPage;
    QTest::newRow("no space before the address")
        << u"RUNDLL32.EXE URL.DLL,FileProtocolHandlerhttps://example.org/"_s;
    QTest::newRow("the handler after another command") << u"cmd /c "_s + UrlHandler + WebPage;
}

void WebPageTest::otherCommandLinesAreRefused() {
    QFETCH(QString, commandLine);
    installOpener();
    bool raised = false;
    try {
        vb::rtcShell(commandLine, 1);
    } catch (const vb::RuntimeError &error) {
        raised = true;
        QCOMPARE(static_cast<int>(error.code()), static_cast<int>(vb::ErrorCode::FileNotFound));
    }
    QVERIFY(raised);
    QTest::qWait(100); // room for a start that should not happen
    QCOMPARE(starts().size(), 0);
}

QTEST_MAIN(WebPageTest)
#include "tst_webpage.moc"
