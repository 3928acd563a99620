// The two buttons that carry the result up, and the "0", ".", pi and reset
// keys.
#include "calculatorwindow.h"

using namespace Qt::StringLiterals;

namespace {

const QString Pi = u"3.141592654"_s;
const QString FirstNumberPrompt = u"أدخل رقماً في خانة العدد الأول "_s;

struct Boxes {
    QString txt1, txt2, txt3, caption;
};

void CheckBoxes(const CalculatorWindow &w, const Boxes &expected) {
    QCOMPARE(w.text("Txt1"), expected.txt1);
    QCOMPARE(w.text("Txt2"), expected.txt2);
    QCOMPARE(w.text("Txt3"), expected.txt3);
    QCOMPARE(w.caption(), expected.caption);
}

void AddBoxColumns() {
    QTest::addColumn<QString>("txt1");
    QTest::addColumn<QString>("txt2");
    QTest::addColumn<QString>("txt3");
    QTest::addColumn<QString>("caption");
}

Boxes FetchBoxes() {
    QFETCH(QString, txt1);
    QFETCH(QString, txt2);
    QFETCH(QString, txt3);
    QFETCH(QString, caption);
    return {txt1, txt2, txt3, caption};
}

} // namespace

class EntryKeysTest : public QObject {
    Q_OBJECT
private slots:
    void transfer_data();
    void transfer();
    void resultCarriedIntoTxt2FeedsTheSum();
    void zeroKey_data();
    void zeroKey();
    void zeroGuardJudgesTheWholeTextBeforeInsertion();
    void pointAndPi_data();
    void pointAndPi();
    void reset_data();
    void reset();
    void resetLeavesPromptAndTimer();
};

void EntryKeysTest::transfer_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("button");
    AddBoxColumns();
    const QString none;
    QTest::newRow("Command34 carries 17 into Txt1")
        << u"12 + 5 ="_s << u"Command34"_s << u"17"_s << none << none << none;
    QTest::newRow("Command15 carries 17 into Txt2")
        << u"12 + 5 ="_s << u"Command15"_s << none << u"17"_s << none << none;
    QTest::newRow("the result replaces pi in Txt1, not added to it")
        << u"6 × 7 = pi"_s << u"Command34"_s << u"42"_s << none << none << none;
    QTest::newRow("the result replaces pi in Txt2, the operator stays")
        << u"6 × 7 = pi + pi"_s << u"Command15"_s << Pi << u"42"_s << none << u"+"_s;
    QTest::newRow("an empty result empties Txt1")
        << u"12"_s << u"Command34"_s << none << none << none << none;
    QTest::newRow("an empty result empties Txt2, the operator stays")
        << u"12 + 5"_s << u"Command15"_s << u"12"_s << none << none << u"+"_s;
    QTest::newRow("a second click on Command34 empties Txt1 again")
        << u"6 × 7 = =>1"_s << u"Command34"_s << none << none << none << none;
    QTest::newRow("Command15 after Command34 finds the result gone")
        << u"6 × 7 = pi + pi =>1"_s << u"Command15"_s << u"42"_s << none << none << u"+"_s;
    QTest::newRow("Command34 after Command15 finds the result gone")
        << u"6 × 7 = pi + pi =>2"_s << u"Command34"_s << none << u"42"_s << none << u"+"_s;
    QTest::newRow("-7 is copied character for character")
        << u"5 - 12 ="_s << u"Command34"_s << u"-7"_s << none << none << none;
    QTest::newRow("an exponent form is copied character for character")
        << u"10 أس 20 ="_s << u"Command15"_s << none << u"1E+20"_s << none << none;
}

void EntryKeysTest::transfer() {
    QFETCH(QString, steps);
    QFETCH(QString, button);
    const Boxes expected = FetchBoxes();
    CalculatorWindow w;
    Play(w, steps);
    // The user's text in the message line shows whether the click writes it.
    QTest::mouseClick(w.box("Txt4"), Qt::LeftButton);
    QTest::keyClicks(w.box("Txt4"), u"abc"_s);
    const int interval = w.timer()->Interval();
    const int remaining = w.timer()->RemainingTime();

    w.click(qPrintable(button));
    CheckBoxes(w, expected);
    QCOMPARE(w.text("Txt4"), u"abc"_s);
    QCOMPARE(w.timer()->Interval(), interval);
    QVERIFY(w.timer()->RemainingTime() <= remaining);
}

void EntryKeysTest::resultCarriedIntoTxt2FeedsTheSum() {
    CalculatorWindow w;
    Play(w, u"12 + 5 = =>2 5"_s);
    CheckBoxes(w, {u"5"_s, u"17"_s, QString(), QString()});
    Play(w, u"+ ="_s);
    QCOMPARE(w.text("Txt3"), u"22"_s);
}

void EntryKeysTest::zeroKey_data() {
    QTest::addColumn<QString>("steps");
    AddBoxColumns();
    const QString none;
    QTest::newRow("0 on an empty Txt1 gives 0") << u"0"_s << u"0"_s << none << none << none;
    QTest::newRow("0 three times stays 0") << u"000"_s << u"0"_s << none << none << none;
    QTest::newRow("10 then 0 gives 100") << u"100"_s << u"100"_s << none << none << none;
    QTest::newRow("with + pending, 0 on a 0 in Txt2 stays 0")
        << u"12 + 00"_s << u"12"_s << u"0"_s << none << u"+"_s;
    QTest::newRow("Txt1 0, + then 0 empties Txt1")
        << u"0 + 0"_s << none << u"0"_s << none << u"+"_s;
    QTest::newRow("Txt1 0, × then 1 leaves Txt1 at 0")
        << u"0 × 1"_s << u"0"_s << u"1"_s << none << u"×"_s;
    QTest::newRow("Txt1 0, × then 10 empties Txt1 at the 0")
        << u"0 × 10"_s << none << u"10"_s << none << u"×"_s;
    QTest::newRow("a result 0 carried into Txt2, then 0 for Txt1 empties Txt2")
        << u"3 - 3 = =>2 0"_s << u"0"_s << none << none << none;
    QTest::newRow("a result 0 carried into Txt1, then 0 leaves one 0")
        << u"3 - 3 = =>1 0"_s << u"0"_s << none << none << none;
    QTest::newRow("0. then 0: the guard leaves a longer text alone")
        << u"0.0"_s << u"0.0"_s << none << none << none;
    QTest::newRow("with x2 pending, 0 goes to Txt1")
        << u"5 x2 0"_s << u"50"_s << none << none << u"x2"_s;
    QTest::newRow("0 clears the result on show")
        << u"6 × 7 = 0"_s << u"0"_s << none << none << none;
}

void EntryKeysTest::zeroKey() {
    QFETCH(QString, steps);
    const Boxes expected = FetchBoxes();
    CalculatorWindow w;
    Play(w, steps);
    CheckBoxes(w, expected);
}

void EntryKeysTest::zeroGuardJudgesTheWholeTextBeforeInsertion() {
    CalculatorWindow w;
    Play(w, u"05"_s);
    vb::TextBox *box = w.box("Txt1");
    QCOMPARE(box->Text(), u"05"_s);
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(box->selectedText(), u"5"_s);
    Play(w, u"0"_s);
    QCOMPARE(box->Text(), u"00"_s);
}

void EntryKeysTest::pointAndPi_data() {
    QTest::addColumn<QString>("steps");
    AddBoxColumns();
    const QString none;
    QTest::newRow(". twice on an empty Txt1 gives two points")
        << u".."_s << u".."_s << none << none << none;
    QTest::newRow(". leaves the result on show")
        << u"6 × 7 = ."_s << u"."_s << none << u"42"_s << none;
    QTest::newRow(". with + pending goes to Txt2")
        << u"12 + ."_s << u"12"_s << u"."_s << none << u"+"_s;
    QTest::newRow(". with x3 pending goes to Txt1")
        << u"12 x3 ."_s << u"12."_s << none << none << u"x3"_s;
    QTest::newRow("pi replaces 12") << u"12 pi"_s << Pi << none << none << none;
    QTest::newRow("pi twice changes nothing") << u"pi pi"_s << Pi << none << none << none;
    QTest::newRow("pi with x2 pending writes Txt1")
        << u"12 x2 pi"_s << Pi << none << none << u"x2"_s;
    QTest::newRow("pi with أس pending writes Txt2 and leaves Txt1")
        << u"12 أس pi"_s << u"12"_s << Pi << none << u"أس"_s;
    QTest::newRow("pi replaces the whole of Txt2")
        << u"12 + 5 pi"_s << u"12"_s << Pi << none << u"+"_s;
    QTest::newRow("pi leaves the result on show")
        << u"6 × 7 = pi"_s << Pi << none << u"42"_s << none;
}

void EntryKeysTest::pointAndPi() {
    QFETCH(QString, steps);
    const Boxes expected = FetchBoxes();
    CalculatorWindow w;
    Play(w, steps);
    CheckBoxes(w, expected);
    QCOMPARE(w.text("Txt4"), QString());
}

void EntryKeysTest::reset_data() {
    QTest::addColumn<QString>("steps");
    QTest::newRow("+ pending, both operands filled and a result on show") << u"6 × 7 = pi + pi"_s;
    QTest::newRow("x2 pending") << u"12 x2"_s;
    QTest::newRow("nothing entered yet") << QString();
}

void EntryKeysTest::reset() {
    QFETCH(QString, steps);
    CalculatorWindow w;
    Play(w, steps);
    const int interval = w.timer()->Interval();
    Play(w, u"reset"_s);
    CheckBoxes(w, {});
    QCOMPARE(w.timer()->Interval(), interval);
    // No operator is pending any more: the next digit goes into Txt1.
    Play(w, u"5"_s);
    CheckBoxes(w, {u"5"_s, QString(), QString(), QString()});
}

void EntryKeysTest::resetLeavesPromptAndTimer() {
    CalculatorWindow w;
    Play(w, u"6 × 7 = +"_s);
    QCOMPARE(w.text("Txt4"), FirstNumberPrompt);
    QTest::qWait(30);
    const int remaining = w.timer()->RemainingTime();
    QVERIFY(remaining > 0);
    Play(w, u"reset"_s);
    CheckBoxes(w, {});
    QCOMPARE(w.text("Txt4"), FirstNumberPrompt);
    QCOMPARE(w.timer()->Interval(), 4000);
    QVERIFY2(w.timer()->RemainingTime() <= remaining, "reset restarted the timer");
    emit w.timer()->Tick();
    QCOMPARE(w.text("Txt4"), QString());
}

QTEST_MAIN(EntryKeysTest)
#include "tst_entrykeys.moc"
