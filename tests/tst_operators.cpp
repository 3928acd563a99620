// The ten operator buttons, and the message line with the timer that
// empties it.
#include "calculatorwindow.h"

#include <QElapsedTimer>

using namespace Qt::StringLiterals;

namespace {

const QString FirstNumberPrompt = u"أدخل رقماً في خانة العدد الأول "_s;
const QString TwoNumbersPrompt = u"أدخل رقماً في خانة العددين "_s;
const QString TwoNumbersPromptWide = u"أدخل رقماً في خانة العددين  "_s;
const QString Undefined = u"غير معرفة"_s;
const QString Pi = u"3.141592654"_s;

struct Operator {
    const char *code;
    bool oneOperand;
};
constexpr Operator Operators[] = {
    {"+", false},   {"-", false}, {"×", false}, {"÷", false},   {"أس", false},
    {"جذر", false}, {"x2", true}, {"x3", true}, {"جذر2", true}, {"جذر3", true},
};

void AddOperatorRows(const char *what) {
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("oneOperand");
    for (const Operator &op : Operators)
        QTest::addRow("%s %s", op.code, what) << QString::fromUtf8(op.code) << op.oneOperand;
}

void TypeIntoMessageLine(const CalculatorWindow &w, const QString &text) {
    QTest::mouseClick(w.box("Txt4"), Qt::LeftButton);
    QTest::keyClicks(w.box("Txt4"), text);
}

} // namespace

class OperatorsTest : public QObject {
    Q_OBJECT
private slots:
    void numberStoresCode_data();
    void numberStoresCode();
    void successLeavesResultMessageAndTimer_data();
    void successLeavesResultMessageAndTimer();
    void notANumberPostsPrompt_data();
    void notANumberPostsPrompt();
    void onlyTheNumericTestDecides_data();
    void onlyTheNumericTestDecides();
    void laterOperatorReplacesEarlier_data();
    void laterOperatorReplacesEarlier();

    void tickEmptiesMessageLine_data();
    void tickEmptiesMessageLine();
    void everyStoreRestartsTheCount_data();
    void everyStoreRestartsTheCount();
    void newerPromptReplacesOlder();
    void promptGoesByItselfAfterFourSeconds();
};

void OperatorsTest::numberStoresCode_data() { AddOperatorRows("stores its code"); }

void OperatorsTest::numberStoresCode() {
    QFETCH(QString, code);
    QFETCH(bool, oneOperand);
    CalculatorWindow w;
    Play(w, u"2 × 3 = =>2 12"_s); // a result carried into Txt2, then 12 into Txt1
    QCOMPARE(w.text("Txt2"), u"6"_s);
    QCOMPARE(w.text("Txt1"), u"12"_s);

    w.click(OperatorButton(code));
    QCOMPARE(w.caption(), code);
    QCOMPARE(w.text("Txt1"), u"12"_s);
    QCOMPARE(w.text("Txt2"), oneOperand ? QString() : u"6"_s);
    QCOMPARE(w.text("Txt4"), QString());

    // The code decides where the keypad goes next.
    w.press(u"5"_s);
    QCOMPARE(w.text("Txt1"), oneOperand ? u"125"_s : u"12"_s);
    QCOMPARE(w.text("Txt2"), oneOperand ? QString() : u"65"_s);
}

void OperatorsTest::successLeavesResultMessageAndTimer_data() {
    AddOperatorRows("leaves the result, the prompt and the timer");
}

void OperatorsTest::successLeavesResultMessageAndTimer() {
    QFETCH(QString, code);
    CalculatorWindow w;
    Play(w, u"6 × 7 = + pi"_s); // "+" on the emptied Txt1 posts the prompt
    QCOMPARE(w.text("Txt4"), FirstNumberPrompt);
    QCOMPARE(w.text("Txt3"), u"42"_s);
    QCOMPARE(w.text("Txt1"), Pi);
    QTest::qWait(30);
    const int before = w.timer()->RemainingTime();
    QVERIFY(before > 0);

    w.click(OperatorButton(code));
    QCOMPARE(w.caption(), code);
    QCOMPARE(w.text("Txt3"), u"42"_s);
    QCOMPARE(w.text("Txt4"), FirstNumberPrompt);
    QCOMPARE(w.timer()->Interval(), 4000);
    QVERIFY2(w.timer()->RemainingTime() <= before, "a successful press restarted the timer");
}

void OperatorsTest::notANumberPostsPrompt_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("oneOperand");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<int>("length");
    for (const Operator &op : Operators) {
        const QString code = QString::fromUtf8(op.code);
        const QString prompt = code == u"أس"_s    ? TwoNumbersPrompt
                               : code == u"جذر"_s ? TwoNumbersPromptWide
                                                  : FirstNumberPrompt;
        const char *which = prompt == TwoNumbersPrompt       ? "the two-number prompt"
                            : prompt == TwoNumbersPromptWide ? "the two-number prompt, two spaces"
                                                             : "the first-number prompt";
        QTest::addRow("%s posts %s%s", op.code, which, op.oneOperand ? ", Txt2 emptied" : "")
            << code << op.oneOperand << prompt
            << (prompt == TwoNumbersPrompt       ? 27
                : prompt == TwoNumbersPromptWide ? 28
                                                 : 31);
    }
}

void OperatorsTest::notANumberPostsPrompt() {
    QFETCH(QString, code);
    QFETCH(bool, oneOperand);
    QFETCH(QString, prompt);
    QFETCH(int, length);
    CalculatorWindow w;
    // An empty result carried into Txt1 leaves "+" pending with 5 in Txt2.
    Play(w, u"12 + 5 =>1"_s);
    QCOMPARE(w.text("Txt1"), QString());
    QCOMPARE(w.caption(), u"+"_s);
    QCOMPARE(w.timer()->Interval(), 0);

    w.click(OperatorButton(code));
    QCOMPARE(w.text("Txt4"), prompt);
    QCOMPARE(w.text("Txt4").size(), length);
    QCOMPARE(w.timer()->Interval(), 4000);
    const int remaining = w.timer()->RemainingTime();
    QVERIFY2(remaining > 0 && remaining <= 4000, qPrintable(QString::number(remaining)));
    QCOMPARE(w.caption(), u"+"_s);
    QCOMPARE(w.text("Txt1"), QString());
    QCOMPARE(w.text("Txt2"), oneOperand ? QString() : u"5"_s);
    QCOMPARE(w.text("Txt3"), QString());
}

void OperatorsTest::onlyTheNumericTestDecides_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("number");
    QTest::newRow("empty Txt1 at start is not a number") << QString() << false;
    QTest::newRow("Txt1 emptied by reset is not a number") << u"12 reset"_s << false;
    QTest::newRow("a lone point is not a number") << u"."_s << false;
    QTest::newRow("two points are not a number") << u"1.."_s << false;
    QTest::newRow("pi followed by a point is not a number") << u"pi ."_s << false;
    QTest::newRow("pi followed by a digit is a number") << u"pi 5"_s << true;
    QTest::newRow("0 is a number") << u"0"_s << true;
    QTest::newRow(".5 is a number") << u".5"_s << true;
    QTest::newRow("5. is a number") << u"5."_s << true;
    QTest::newRow("-7 carried up is a number") << u"5 - 12 = =>1"_s << true;
    QTest::newRow("1E+20 carried up is a number") << u"10 أس 20 = =>1"_s << true;
}

void OperatorsTest::onlyTheNumericTestDecides() {
    QFETCH(QString, steps);
    QFETCH(bool, number);
    CalculatorWindow w;
    Play(w, steps);
    w.click(OperatorButton(u"÷"_s));
    QCOMPARE(w.caption(), number ? u"÷"_s : QString());
    QCOMPARE(w.text("Txt4"), number ? QString() : FirstNumberPrompt);
}

void OperatorsTest::laterOperatorReplacesEarlier_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("txt2");
    QTest::addColumn<QString>("txt1After7");
    QTest::addColumn<QString>("txt2After7");
    QTest::newRow("12 + then × leaves × pending")
        << u"12 + ×"_s << u"×"_s << QString() << u"12"_s << u"7"_s;
    QTest::newRow("12 + 5 then ÷ keeps 5 in Txt2")
        << u"12 + 5 ÷"_s << u"÷"_s << u"5"_s << u"12"_s << u"57"_s;
    QTest::newRow("12 + 5 then x2 empties Txt2 and sends keys to Txt1")
        << u"12 + 5 x2"_s << u"x2"_s << QString() << u"127"_s << QString();
    QTest::newRow("the same button twice keeps its code")
        << u"12 + +"_s << u"+"_s << QString() << u"12"_s << u"7"_s;
    QTest::newRow("12 x2 then أس sends keys to Txt2")
        << u"12 x2 أس"_s << u"أس"_s << QString() << u"12"_s << u"7"_s;
}

void OperatorsTest::laterOperatorReplacesEarlier() {
    QFETCH(QString, steps);
    QFETCH(QString, caption);
    QFETCH(QString, txt2);
    QFETCH(QString, txt1After7);
    QFETCH(QString, txt2After7);
    CalculatorWindow w;
    Play(w, steps);
    QCOMPARE(w.caption(), caption);
    QCOMPARE(w.text("Txt1"), u"12"_s);
    QCOMPARE(w.text("Txt2"), txt2);
    QCOMPARE(w.text("Txt4"), QString());
    w.press(u"7"_s);
    QCOMPARE(w.text("Txt1"), txt1After7);
    QCOMPARE(w.text("Txt2"), txt2After7);
}

void OperatorsTest::tickEmptiesMessageLine_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("typed"); // typed by the user into the line afterwards
    QTest::addColumn<QString>("shown");
    QTest::newRow("the first-number prompt") << u"+"_s << QString() << FirstNumberPrompt;
    QTest::newRow("the two-number prompt") << u"أس"_s << QString() << TwoNumbersPrompt;
    QTest::newRow("the undefined message of 8 ÷ 0") << u"8 ÷ 0 ="_s << QString() << Undefined;
    QTest::newRow("text typed after an evaluation that showed nothing")
        << u"12 + 5 ="_s << u"abc"_s << u"abc"_s;
    QTest::newRow("a prompt with a pending operator and operands")
        << u"12 + 5 =>1 x3"_s << QString() << FirstNumberPrompt;
}

void OperatorsTest::tickEmptiesMessageLine() {
    QFETCH(QString, steps);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    CalculatorWindow w;
    Play(w, steps);
    if (!typed.isEmpty())
        TypeIntoMessageLine(w, typed);
    QCOMPARE(w.text("Txt4"), shown);
    QCOMPARE(w.timer()->Interval(), 4000);
    QVERIFY(w.timer()->RemainingTime() > 0);
    const QStringList others = {w.text("Txt1"), w.text("Txt2"), w.text("Txt3"), w.caption()};

    emit w.timer()->Tick();
    QCOMPARE(w.text("Txt4"), QString());
    QCOMPARE(w.timer()->Interval(), 4000);
    QVERIFY(w.timer()->RemainingTime() > 0);
    QCOMPARE((QStringList{w.text("Txt1"), w.text("Txt2"), w.text("Txt3"), w.caption()}), others);

    // The timer keeps going: what is typed later goes at the next tick too.
    TypeIntoMessageLine(w, u"x"_s);
    emit w.timer()->Tick();
    QCOMPARE(w.text("Txt4"), QString());
    QCOMPARE(w.ends, 0);
}

void OperatorsTest::everyStoreRestartsTheCount_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("a second prompt") << u"+"_s << u"جذر"_s;
    QTest::newRow("an evaluation after a prompt") << u"+"_s << u"="_s;
    QTest::newRow("a prompt after an evaluation") << u"12 + 5 ="_s << u"x2"_s;
}

void OperatorsTest::everyStoreRestartsTheCount() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    CalculatorWindow w;
    Play(w, first);
    QTest::qWait(50);
    const int before = w.timer()->RemainingTime();
    QVERIFY(before > 0 && before < 4000);
    Play(w, second);
    QCOMPARE(w.timer()->Interval(), 4000);
    QVERIFY2(
        w.timer()->RemainingTime() > before,
        qPrintable(u"%1 ms left before, %2 after"_s.arg(before).arg(w.timer()->RemainingTime())));
}

void OperatorsTest::newerPromptReplacesOlder() {
    CalculatorWindow w;
    Play(w, u"أس"_s);
    QCOMPARE(w.text("Txt4"), TwoNumbersPrompt);
    Play(w, u"جذر"_s);
    QCOMPARE(w.text("Txt4"), TwoNumbersPromptWide);
    Play(w, u"-"_s);
    QCOMPARE(w.text("Txt4"), FirstNumberPrompt);
    emit w.timer()->Tick();
    QCOMPARE(w.text("Txt4"), QString());
}

void OperatorsTest::promptGoesByItselfAfterFourSeconds() {
    CalculatorWindow w;
    QElapsedTimer clock;
    clock.start();
    w.click(OperatorButton(u"+"_s));
    QCOMPARE(w.text("Txt4"), FirstNumberPrompt);
    QTRY_COMPARE_WITH_TIMEOUT(w.text("Txt4"), QString(), 15000);
    // A timer never fires early, however slow the machine.
    QVERIFY2(clock.elapsed() >= 3900, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(w.caption(), QString());
    QCOMPARE(w.ends, 0);
}

QTEST_MAIN(OperatorsTest)
#include "tst_operators.moc"
