// Form1's bindings: each command button runs its own click procedure once,
// no button is left out, and the load and the timer's tick reach theirs.
#include "calculatorwindow.h"

#include <QTemporaryDir>

#include <algorithm>

using namespace Qt::StringLiterals;

using Procedure = void (Form1::*)();
Q_DECLARE_METATYPE(Procedure)

namespace {

struct Row {
    const char *button;
    Procedure procedure;
};

const Row Rows[] = {
    {"Command42", &Form1::Command42_Click}, {"Command24", &Form1::Command24_Click},
    {"Command25", &Form1::Command25_Click}, {"Command15", &Form1::Command15_Click},
    {"Command34", &Form1::Command34_Click}, {"Command4", &Form1::Command4_Click},
    {"Command10", &Form1::Command10_Click}, {"Command12", &Form1::Command12_Click},
    {"Command8", &Form1::Command8_Click},   {"Command11", &Form1::Command11_Click},
    {"Command13", &Form1::Command13_Click}, {"Command9", &Form1::Command9_Click},
    {"Command7", &Form1::Command7_Click},   {"Command14", &Form1::Command14_Click},
    {"Command2", &Form1::Command2_Click},   {"Command3", &Form1::Command3_Click},
    {"Command35", &Form1::Command35_Click}, {"Command39", &Form1::Command39_Click},
    {"Command17", &Form1::Command17_Click}, {"Command18", &Form1::Command18_Click},
    {"Command5", &Form1::Command5_Click},   {"Command6", &Form1::Command6_Click},
    {"Command22", &Form1::Command22_Click}, {"Command23", &Form1::Command23_Click},
    {"Command19", &Form1::Command19_Click}, {"Command1", &Form1::Command1_Click},
    {"Command20", &Form1::Command20_Click}, {"Command21", &Form1::Command21_Click},
    {"Command16", &Form1::Command16_Click},
};

// What a procedure leaves behind, from a state in which every key does
// something different: 6 × 7 pending beside the result 5.
struct Outcome {
    State state;
    int ends = 0;
    QStringList boxes;
    bool started = false;
};

bool Same(const Outcome &a, const Outcome &b) {
    const State &s = a.state, &t = b.state;
    return s.first == t.first && s.second == t.second && s.result == t.result &&
           s.message == t.message && s.op == t.op && s.interval == t.interval &&
           (s.remaining < 0) == (t.remaining < 0) && a.ends == b.ends && a.boxes == b.boxes;
}

QString Describe(const Outcome &o) {
    const State &s = o.state;
    return u"Txt1 \"%1\", Txt2 \"%2\", Txt3 \"%3\", Txt4 \"%4\", Lbl1 \"%5\", interval %6%7, "
           "%8 ends, boxes: %9"_s.arg(s.first, s.second, s.result, s.message, s.op)
               .arg(s.interval)
               .arg(s.remaining < 0 ? QString() : u" running"_s)
               .arg(o.ends)
               .arg(o.boxes.join(u" / "_s));
}

Outcome Run(const std::function<void(CalculatorWindow &)> &action) {
    ModalBoxCloser boxes;
    CalculatorWindow w;
    if (!w.form)
        return {};
    Play(w, u"6 × 7"_s);
    w.box("Txt3")->SetText(u"5"_s);
    w.box("Txt4")->SetText(u"abc"_s);
    action(w);
    return {Capture(w), w.ends, boxes.closed, true};
}

} // namespace

class BindingsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void eachButtonRunsItsOwnProcedure_data();
    void eachButtonRunsItsOwnProcedure();
    void everyButtonIsBound();
    void loadLocksTheOperandAndResultBoxes();
    void tickEmptiesTheMessageLine();

private:
    QTemporaryDir noPrograms_;
    QByteArray savedPath_;
};

void BindingsTest::initTestCase() {
    // The web-page button must find no opener to start.
    QVERIFY(noPrograms_.isValid());
    savedPath_ = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(noPrograms_.path()));
}

void BindingsTest::cleanupTestCase() { qputenv("PATH", savedPath_); }

void BindingsTest::eachButtonRunsItsOwnProcedure_data() {
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<Procedure>("procedure");
    for (const Row &row : Rows)
        QTest::newRow(row.button) << QByteArray(row.button) << row.procedure;
}

void BindingsTest::eachButtonRunsItsOwnProcedure() {
    QFETCH(QByteArray, button);
    QFETCH(Procedure, procedure);

    // The form's table binds the procedure once, to the member that holds
    // the button of that name.
    const auto clicks = Form1::Clicks();
    QCOMPARE(std::count_if(clicks.begin(), clicks.end(),
                           [procedure](const Form1::Click &c) { return c.procedure == procedure; }),
             1);
    const auto binding = std::find_if(clicks.begin(), clicks.end(), [procedure](const auto &c) {
        return c.procedure == procedure;
    });
    vb::Form host;
    Ui::Form1 ui;
    ui.setupUi(&host);
    QCOMPARE((ui.*binding->button)->objectName(), QString::fromLatin1(button));

    // A click on the real window does what the procedure does, once.
    const Outcome clicked = Run([&button](CalculatorWindow &w) { w.click(button.constData()); });
    const Outcome called = Run(
        [procedure](CalculatorWindow &w) { (static_cast<Form1 *>(w.form.get())->*procedure)(); });
    QVERIFY(clicked.started && called.started);
    QVERIFY2(Same(clicked, called),
             qPrintable(u"clicked: %1\ncalled:  %2"_s.arg(Describe(clicked), Describe(called))));
}

void BindingsTest::everyButtonIsBound() {
    vb::Form host;
    Ui::Form1 ui;
    ui.setupUi(&host);
    QStringList buttons;
    for (const auto *button : host.findChildren<vb::CommandButton *>())
        buttons << button->objectName();
    QStringList bound;
    for (const Form1::Click &click : Form1::Clicks())
        bound << (ui.*click.button)->objectName();
    QStringList listed;
    for (const Row &row : Rows)
        listed << QString::fromLatin1(row.button);
    buttons.sort();
    bound.sort();
    listed.sort();
    QCOMPARE(bound, buttons);
    QCOMPARE(listed, buttons);
}

void BindingsTest::loadLocksTheOperandAndResultBoxes() {
    CalculatorWindow w;
    QVERIFY(w.form);
    for (const char *name : {"Txt1", "Txt2", "Txt3"})
        QVERIFY2(w.box(name)->Locked(), name);
    QVERIFY(!w.box("Txt4")->Locked());
}

void BindingsTest::tickEmptiesTheMessageLine() {
    CalculatorWindow w;
    QVERIFY(w.form);
    w.box("Txt4")->SetText(u"abc"_s);
    emit w.timer()->Tick();
    QCOMPARE(w.text("Txt4"), QString());
}

QTEST_MAIN(BindingsTest)
#include "tst_bindings.moc"
