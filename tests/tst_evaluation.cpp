// The "=" key: the ten operations, what it skips, the guarded division by
// "0", and arithmetic errors answered in the message line.
#include "calculatorwindow.h"

using namespace Qt::StringLiterals;

namespace {

const QString Undefined = u"غير معرفة"_s;
const QString Typed = u"abc"_s; // the user's own text in the message line

// 1E+308 plus this text, or minus it from -1E+308, lies past the largest
// double. The keypad types it; no shorter calculation gives such an operand.
const QString Nines308 = u"9"_s.repeated(308);

void CheckTail(const CalculatorWindow &w) {
    QCOMPARE(w.text("Txt1"), QString());
    QCOMPARE(w.text("Txt2"), QString());
    QCOMPARE(w.caption(), QString());
    QCOMPARE(w.timer()->Interval(), 4000);
    const int remaining = w.timer()->RemainingTime();
    QVERIFY2(remaining > 0 && remaining <= 4000, qPrintable(QString::number(remaining)));
}

} // namespace

class EvaluationTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void workedExamples_data();
    void workedExamples();
    void arithmeticErrorIsUndefined_data();
    void arithmeticErrorIsUndefined();
    void negativeResultFeedsTheNextCalculation();
};

void EvaluationTest::initTestCase() {
    // Run a second time where the system's decimal mark is not ".": the
    // results must read the same.
    if (qEnvironmentVariableIsSet("ZENDARIC_EXPECT_ARABIC_LOCALE"))
        QVERIFY2(QLocale::system().decimalPoint() != u"."_s, qPrintable(QLocale::system().name()));
}

void EvaluationTest::workedExamples_data() {
    QTest::addColumn<QString>("steps"); // clicked before "="
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("message");

    QTest::newRow("12 + 5 is 17") << u"12 + 5"_s << u"17"_s << Typed;
    QTest::newRow("12 - 5 is 7") << u"12 - 5"_s << u"7"_s << Typed;
    QTest::newRow("5 - 12 is -7") << u"5 - 12"_s << u"-7"_s << Typed;
    QTest::newRow("6 × 7 is 42") << u"6 × 7"_s << u"42"_s << Typed;
    QTest::newRow("8 ÷ 2 is 4") << u"8 ÷ 2"_s << u"4"_s << Typed;
    QTest::newRow("12 x2 is 144, the 5 typed before emptied")
        << u"12 + 5 x2"_s << u"144"_s << Typed;
    QTest::newRow("3 x3 is 27") << u"3 x3"_s << u"27"_s << Typed;
    QTest::newRow("2 أس 8 is 256") << u"2 أس 8"_s << u"256"_s << Typed;
    QTest::newRow("144 جذر2 is 12") << u"144 جذر2"_s << u"12"_s << Typed;
    QTest::newRow("8 جذر3 is 2") << u"8 جذر3"_s << u"2"_s << Typed;
    QTest::newRow("16 جذر 2 is 4") << u"16 جذر 2"_s << u"4"_s << Typed;
    QTest::newRow("8 ÷ 0 shows undefined") << u"8 ÷ 0"_s << QString() << Undefined;
    QTest::newRow("12 with no operator gives nothing") << u"12"_s << QString() << Typed;
    QTest::newRow("12 + with Txt2 empty gives nothing") << u"12 +"_s << QString() << Typed;

    // The result on show stays where no operation runs; only pi and "."
    // type without clearing it.
    QTest::newRow("no operator keeps the result on show") << u"6 × 7 = pi"_s << u"42"_s << Typed;
    QTest::newRow("+ with Txt2 empty keeps the result on show")
        << u"6 × 7 = pi +"_s << u"42"_s << Typed;
    QTest::newRow("+ with a lone point in Txt2 keeps the result on show")
        << u"6 × 7 = pi + ."_s << u"42"_s << Typed;
    QTest::newRow("a second = finds no operator and keeps 42") << u"6 × 7 ="_s << u"42"_s << Typed;

    QTest::newRow("x2 ignores a result carried into Txt2")
        << u"2 × 3 = pi x2 =>2"_s << u"9.86960440366676"_s << Typed;
    QTest::newRow("64 جذر3 is just below 4 and shows 4") << u"64 جذر3"_s << u"4"_s << Typed;
    QTest::newRow("1000 جذر3 is just below 10 and shows 10") << u"1000 جذر3"_s << u"10"_s << Typed;
    QTest::newRow("2 أس 0.5 shows 15 digits") << u"2 أس 0.5"_s << u"1.4142135623731"_s << Typed;
    QTest::newRow("0.1 + 0.2 shows 0.3") << u"0.1 + 0.2"_s << u"0.3"_s << Typed;
    QTest::newRow("3 - 3 is 0") << u"3 - 3"_s << u"0"_s << Typed;
    QTest::newRow("8 ÷ 0.5 is 16") << u"8 ÷ 0.5"_s << u"16"_s << Typed;
    QTest::newRow("16 جذر 0.5 is 256") << u"16 جذر 0.5"_s << u"256"_s << Typed;
    QTest::newRow("10 أس 20 shows an exponent form") << u"10 أس 20"_s << u"1E+20"_s << Typed;
    QTest::newRow("1E+20 carried up ÷ 4 is 2.5E+19")
        << u"10 أس 20 = =>1 ÷ 4"_s << u"2.5E+19"_s << Typed;
    QTest::newRow("-7 carried up, x2 is 49") << u"5 - 12 = =>1 x2"_s << u"49"_s << Typed;
    QTest::newRow("-7 carried up, أس 3 is -343") << u"5 - 12 = =>1 أس 3"_s << u"-343"_s << Typed;
    QTest::newRow("-7 carried up, جذر 0.5 is 49, a whole power")
        << u"5 - 12 = =>1 جذر 0.5"_s << u"49"_s << Typed;
    QTest::newRow("-7 carried into Txt2: 5 - -7 is 12")
        << u"5 - 12 = =>2 5 -"_s << u"12"_s << Typed;

    QTest::newRow("÷ 0 with Txt1 emptied still shows undefined")
        << u"8 ÷ 0 =>1"_s << QString() << Undefined;
    QTest::newRow("0 ÷ 0: the guard empties Txt1, still undefined")
        << u"0 ÷ 0"_s << QString() << Undefined;
    QTest::newRow("0 + 0: the guard empties Txt1, the sum is skipped")
        << u"0 + 0"_s << QString() << Typed;
}

void EvaluationTest::workedExamples() {
    QFETCH(QString, steps);
    QFETCH(QString, result);
    QFETCH(QString, message);
    ModalBoxCloser boxes;
    CalculatorWindow w;
    Play(w, steps);
    QTest::mouseClick(w.box("Txt4"), Qt::LeftButton);
    QTest::keyClicks(w.box("Txt4"), Typed);

    w.click("Command16");
    QCOMPARE(w.text("Txt3"), result);
    QCOMPARE(w.text("Txt4"), message);
    CheckTail(w);
    QCOMPARE(w.ends, 0);
    QVERIFY2(boxes.closed.isEmpty(), qPrintable(boxes.closed.join(u" / "_s)));
}

void EvaluationTest::arithmeticErrorIsUndefined_data() {
    QTest::addColumn<QString>("steps"); // clicked before "="

    QTest::newRow("÷ by the text 0, the guarded case") << u"8 ÷ 0"_s;

    QTest::newRow("+ past the largest double") << u"10 أس 308 = =>1 + "_s + Nines308;
    QTest::newRow("- past the largest double") << u"10 أس 308 = =>2 0 - = =>1 - "_s + Nines308;
    QTest::newRow("× past the largest double") << u"10 أس 308 = =>1 × 10"_s;

    QTest::newRow("÷ by 0.0") << u"8 ÷ 0.0"_s;
    QTest::newRow("÷ by .0") << u"8 ÷ .0"_s;
    QTest::newRow("0.0 ÷ .0") << u"0.0 ÷ .0"_s;
    QTest::newRow("÷ past the largest double") << u"10 أس 308 = =>1 ÷ 0.1"_s;

    QTest::newRow("x2 past the largest double") << u"10 أس 200 = =>1 x2"_s;
    QTest::newRow("x3 past the largest double") << u"10 أس 200 = =>1 x3"_s;

    QTest::newRow("أس: a negative number to a fractional power") << u"5 - 12 = =>1 أس 0.5"_s;
    QTest::newRow("أس: zero to a negative power") << u"5 - 12 = =>2 0 أس"_s;
    QTest::newRow("أس past the largest double") << u"10 أس 309"_s;

    QTest::newRow("جذر2 of a negative number") << u"5 - 12 = =>1 جذر2"_s;
    QTest::newRow("جذر3 of a negative number") << u"5 - 12 = =>1 جذر3"_s;

    QTest::newRow("جذر of degree 0, the text 0 unguarded") << u"16 جذر 0"_s;
    QTest::newRow("جذر of degree 0.0") << u"16 جذر 0.0"_s;
    QTest::newRow("جذر of a negative number, degree 2") << u"5 - 12 = =>1 جذر 2"_s;
    QTest::newRow("جذر of zero, a negative degree") << u"5 - 12 = =>2 0 جذر"_s;
    QTest::newRow("جذر: the power past the largest double") << u"10 أس 200 = =>1 جذر 0.5"_s;
    QTest::newRow("جذر: 1 over a degree of 1E-309 past the largest double")
        << u"16 جذر ."_s + u"0"_s.repeated(308) + u"1"_s;
}

void EvaluationTest::arithmeticErrorIsUndefined() {
    QFETCH(QString, steps);
    ModalBoxCloser boxes;
    CalculatorWindow w;
    Play(w, steps);
    QVERIFY(!w.caption().isEmpty());
    // Every key that types an operand clears the result box, so a result on
    // show beside these operands is put there directly: it must survive.
    w.box("Txt3")->SetText(u"42"_s);

    w.click("Command16");
    QVERIFY2(boxes.closed.isEmpty(), qPrintable(boxes.closed.join(u" / "_s)));
    QCOMPARE(w.ends, 0);
    QCOMPARE(w.text("Txt4"), Undefined);
    QCOMPARE(w.text("Txt3"), u"42"_s);
    CheckTail(w);

    // The program goes on: the message goes at the next tick, and the next
    // calculation works.
    emit w.timer()->Tick();
    QCOMPARE(w.text("Txt4"), QString());
    Play(w, u"12 + 5 ="_s);
    QCOMPARE(w.text("Txt3"), u"17"_s);
    QCOMPARE(w.ends, 0);
}

void EvaluationTest::negativeResultFeedsTheNextCalculation() {
    ModalBoxCloser boxes;
    CalculatorWindow w;
    Play(w, u"5 - 12 ="_s);
    QCOMPARE(w.text("Txt3"), u"-7"_s);
    Play(w, u"=>1"_s);
    QCOMPARE(w.text("Txt1"), u"-7"_s);
    QCOMPARE(w.text("Txt3"), QString());
    Play(w, u"x2 ="_s);
    QCOMPARE(w.text("Txt3"), u"49"_s);
    Play(w, u"=>1 جذر2 ="_s);
    QCOMPARE(w.text("Txt3"), u"7"_s);
    CheckTail(w);
    QCOMPARE(w.ends, 0);
    QVERIFY2(boxes.closed.isEmpty(), qPrintable(boxes.closed.join(u" / "_s)));
}

QTEST_MAIN(EvaluationTest)
#include "tst_evaluation.moc"
