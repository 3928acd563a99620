// The runtime's numbers: which texts count as numbers, what they convert to,
// how results show, and which arithmetic raises which error. Run once under C
// and once under an Arabic locale whose decimal mark is not ".": the results
// must not change.
#include "numeric.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

#include <bit>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>

using vb::ErrorCode;
using vb::Variant;

Q_DECLARE_METATYPE(vb::Variant)
Q_DECLARE_METATYPE(vb::ErrorCode)

namespace {

enum class Operation { Mul, Sub, Div, Pow, Sqr, R8Str, FPException, NumberToText };

double run(Operation operation, const Variant &left, const Variant &right) {
    switch (operation) {
    case Operation::Mul: return vb::vbaVarMul(left, right);
    case Operation::Sub: return vb::vbaVarSub(left, right);
    case Operation::Div: return vb::vbaVarDiv(left, right);
    case Operation::Pow: return vb::vbaVarPow(left, right);
    case Operation::Sqr: return vb::rtcSqr(vb::vbaR8Var(left));
    case Operation::R8Str: return vb::vbaR8Str(std::get<QString>(left));
    case Operation::FPException: vb::vbaFPException();
    case Operation::NumberToText: return vb::NumberToText(std::get<double>(left)).size();
    }
    return 0.0;
}

QString repeated(char digit, int count) { return QString(count, QLatin1Char(digit)); }

QString bitsOf(double value) {
    return QStringLiteral("0x%1").arg(std::bit_cast<quint64>(value), 16, 16, QLatin1Char('0'));
}

// Doubles are compared exactly; the message shows every digit.
QString differs(double actual, double expected) {
    return QStringLiteral("got %1, expected %2").arg(actual, 0, 'g', 17).arg(expected, 0, 'g', 17);
}

// Empty when `value` shows as a text that passes the numeric test, reads back
// as the value it shows, and shows the same again; otherwise what went wrong.
QString roundTripFault(double value) {
    const QString text = vb::NumberToText(value);
    if (vb::rtcIsNumeric(text) != vb::True)
        return QStringLiteral("%1 shows as \"%2\", which fails the numeric test")
            .arg(bitsOf(value), text);
    const double back = vb::vbaR8Str(text);
    if (!std::isfinite(back) || std::abs(back - value) > std::abs(value) * 1e-14)
        return QStringLiteral("%1 shows as \"%2\", which reads back as %3")
            .arg(bitsOf(value), text, bitsOf(back));
    const QString again = vb::NumberToText(back);
    if (again != text)
        return QStringLiteral("%1 shows as \"%2\", read back it shows as \"%3\"")
            .arg(bitsOf(value), text, again);
    return {};
}

} // namespace

Q_DECLARE_METATYPE(Operation)

class TestNumeric : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void numericTest_data();
    void numericTest();
    void textToNumber_data();
    void textToNumber();
    void numberToText_data();
    void numberToText();
    void resultValueAsText_data();
    void resultValueAsText();
    void everyShownNumberReadsBack();
    void arithmeticResults_data();
    void arithmeticResults();
    void arithmeticErrors_data();
    void arithmeticErrors();
    void textComparison_data();
    void textComparison();
};

void TestNumeric::initTestCase() {
    if (qEnvironmentVariableIsEmpty("ZENDARIC_EXPECT_ARABIC_LOCALE"))
        return;
    // As the application does at start-up; the tables below must not notice.
    std::setlocale(LC_ALL, "");
    QVERIFY2(QLocale::system().decimalPoint() != QLatin1String("."),
             qPrintable(QStringLiteral("locale %1 uses \".\" as its decimal mark")
                            .arg(QLocale::system().name())));
}

void TestNumeric::numericTest_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");

    QTest::newRow("empty box is not a number") << "" << false;
    QTest::newRow("a lone point is not a number") << "." << false;
    QTest::newRow("two points: 1..2") << "1..2" << false;
    QTest::newRow("two separate points: 1.2.3") << "1.2.3" << false;
    QTest::newRow("leading zero: 05") << "05" << true;
    QTest::newRow("many leading zeros: 000.5") << "000.5" << true;
    QTest::newRow("no integer part: .5") << ".5" << true;
    QTest::newRow("no fraction part: 5.") << "5." << true;
    QTest::newRow("negative: -7") << "-7" << true;
    QTest::newRow("explicit plus: +7") << "+7" << true;
    QTest::newRow("negative fraction: -.5") << "-.5" << true;
    QTest::newRow("negative zero: -0") << "-0" << true;
    QTest::newRow("pi text: 3.141592654") << "3.141592654" << true;
    QTest::newRow("exponent: 1E+20") << "1E+20" << true;
    QTest::newRow("negative exponent: 1.5E-05") << "1.5E-05" << true;
    QTest::newRow("lower-case exponent: 1e5") << "1e5" << true;
    QTest::newRow("exponent after point: 1.E5") << "1.E5" << true;
    QTest::newRow("largest double: 1.7976931348623157E+308") << "1.7976931348623157E+308" << true;
    QTest::newRow("exponent without mantissa: E5") << "E5" << false;
    QTest::newRow("point and exponent only: .E5") << ".E5" << false;
    QTest::newRow("exponent without digits: 1E") << "1E" << false;
    QTest::newRow("signed exponent without digits: 1E+") << "1E+" << false;
    QTest::newRow("fractional exponent: 1E5.5") << "1E5.5" << false;
    QTest::newRow("double exponent sign: 1E--5") << "1E--5" << false;
    QTest::newRow("lone minus") << "-" << false;
    QTest::newRow("double sign: +-5") << "+-5" << false;
    QTest::newRow("trailing sign: 5-") << "5-" << false;
    QTest::newRow("leading space") << " 5" << false;
    QTest::newRow("trailing space") << "5 " << false;
    QTest::newRow("leading tab") << "\t5" << false;
    QTest::newRow("space inside: 1 000") << "1 000" << false;
    QTest::newRow("comma as decimal mark: 1,5") << "1,5" << false;
    QTest::newRow("Arabic decimal mark: 1\u066B5") << QStringLiteral(u"1\u066B5") << false;
    QTest::newRow("Arabic-Indic five") << QStringLiteral(u"\u0665") << false;
    QTest::newRow("Arabic-Indic twelve") << QStringLiteral(u"\u0661\u0662") << false;
    QTest::newRow("full-width five") << QStringLiteral(u"\uFF15") << false;
    QTest::newRow("hexadecimal: 0x10") << "0x10" << false;
    QTest::newRow("infinity word") << "Inf" << false;
    QTest::newRow("not-a-number word") << "NaN" << false;
    QTest::newRow("word") << "abc" << false;
    QTest::newRow("400-digit number overflows") << "1" + repeated('0', 399) << false;
    QTest::newRow("1E+400 overflows") << "1E+400" << false;
    QTest::newRow("rounds past the largest double: 1.7976931348623159E+308")
        << "1.7976931348623159E+308" << false;
    QTest::newRow("15-digit largest double rounds past it: 1.79769313486232E+308")
        << "1.79769313486232E+308" << false;
    QTest::newRow("huge exponent: 1E+99999999999999999999") << "1E+99999999999999999999" << false;
    QTest::newRow("1E-400 is too small, so zero") << "1E-400" << true;
    QTest::newRow("huge negative exponent is zero: 1E-99999999999999999999")
        << "1E-99999999999999999999" << true;
    QTest::newRow("zero with huge exponent: 0E+99999999999") << "0E+99999999999" << true;
    QTest::newRow("400 digits scaled back by E-400") << "1" + repeated('0', 400) + "E-400" << true;
    QTest::newRow("400 leading fraction zeros scaled up by E+401")
        << "0." + repeated('0', 400) + "1E+401" << true;
}

void TestNumeric::numericTest() {
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QCOMPARE(vb::rtcIsNumeric(text), numeric ? vb::True : vb::False);
}

void TestNumeric::textToNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    const double denormMin = std::numeric_limits<double>::denorm_min();
    QTest::newRow("pi text") << "3.141592654" << 3.141592654;
    QTest::newRow("leading zero: 05") << "05" << 5.0;
    QTest::newRow("many leading zeros: 000.5") << "000.5" << 0.5;
    QTest::newRow(".5") << ".5" << 0.5;
    QTest::newRow("5.") << "5." << 5.0;
    QTest::newRow("+7") << "+7" << 7.0;
    QTest::newRow("-7") << "-7" << -7.0;
    QTest::newRow("1e5") << "1e5" << 1e5;
    QTest::newRow("1E+20") << "1E+20" << 1e20;
    QTest::newRow("1.5E-05") << "1.5E-05" << 1.5e-5;
    QTest::newRow("0.1 is the double nearest to it") << "0.1" << 0.1;
    QTest::newRow("0.30000000000000004 is 0.1 + 0.2") << "0.30000000000000004" << 0.1 + 0.2;
    QTest::newRow("2^53 + 1 rounds to even") << "9007199254740993" << 9007199254740992.0;
    QTest::newRow("2^53 + 1 and more rounds up")
        << "9007199254740993." + repeated('0', 900) + "1" << 9007199254740994.0;
    QTest::newRow("2^53 + 1 and trailing zeros rounds to even")
        << "9007199254740993." + repeated('0', 900) << 9007199254740992.0;
    QTest::newRow("largest double") << "1.7976931348623157E+308" << DBL_MAX;
    QTest::newRow("just above the largest double rounds to it")
        << "1.7976931348623158E+308" << DBL_MAX;
    QTest::newRow("smallest normal double") << "2.2250738585072014E-308" << DBL_MIN;
    QTest::newRow("smallest denormal") << "4.94065645841247E-324" << denormMin;
    QTest::newRow("3E-324 rounds to the smallest denormal") << "3E-324" << denormMin;
    QTest::newRow("2E-324 rounds to zero") << "2E-324" << 0.0;
    QTest::newRow("1E-400 is zero") << "1E-400" << 0.0;
    QTest::newRow("huge negative exponent is zero") << "1E-99999999999999999999" << 0.0;
    QTest::newRow("zero with huge exponent") << "0E+99999999999" << 0.0;
    QTest::newRow("-0 keeps its sign") << "-0" << -0.0;
    QTest::newRow("-1E-400 is zero with its sign") << "-1E-400" << -0.0;
    QTest::newRow("400 digits scaled back by E-400") << "1" + repeated('0', 400) + "E-400" << 1.0;
    QTest::newRow("400 leading fraction zeros scaled up by E+401")
        << "0." + repeated('0', 400) + "1E+401" << 1.0;
}

void TestNumeric::textToNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    const double converted = vb::vbaR8Str(text);
    QVERIFY2(converted == value, qPrintable(differs(converted, value)));
    QCOMPARE(std::signbit(converted), std::signbit(value));
    const double viaVariant = vb::vbaR8Var(Variant(text));
    QVERIFY2(viaVariant == value, qPrintable(differs(viaVariant, value)));
}

void TestNumeric::numberToText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("17") << 17.0 << "17";
    QTest::newRow("-7") << -7.0 << "-7";
    QTest::newRow("negative zero shows 0") << -0.0 << "0";
    QTest::newRow("0.5") << 0.5 << "0.5";
    QTest::newRow("pi text shows as typed") << 3.141592654 << "3.141592654";
    QTest::newRow("0.1 + 0.2 shows 0.3") << 0.1 + 0.2 << "0.3";
    QTest::newRow("cube root of 64 shows 4") << std::pow(64.0, 1.0 / 3.0) << "4";
    QTest::newRow("cube root of 1000 shows 10") << std::pow(1000.0, 1.0 / 3.0) << "10";
    QTest::newRow("1/3 shows 15 digits") << 1.0 / 3.0 << "0.333333333333333";
    QTest::newRow("2/3 rounds the 15th digit") << 2.0 / 3.0 << "0.666666666666667";
    QTest::newRow("123456789012345 in full") << 123456789012345.0 << "123456789012345";
    QTest::newRow("999999999999999 in full") << 999999999999999.0 << "999999999999999";
    QTest::newRow("1E+15 in exponent form") << 1e15 << "1E+15";
    QTest::newRow("16 digits round to 15") << 1234567890123456.0 << "1.23456789012346E+15";
    QTest::newRow("2^53") << 9007199254740992.0 << "9.00719925474099E+15";
    QTest::newRow("1E+100") << 1e100 << "1E+100";
    QTest::newRow("-1.23456789012346E+200") << -1.23456789012345678e200 << "-1.23456789012346E+200";
    QTest::newRow("1E+300 times 1E+8") << 1e300 * 1e8 << "1E+308";
    QTest::newRow("0.0001 in full") << 0.0001 << "0.0001";
    QTest::newRow("1E-05 in exponent form") << 1e-5 << "1E-05";
    QTest::newRow("1.5E-07") << 1.5e-7 << "1.5E-07";
    QTest::newRow("just below the largest double keeps 15 digits")
        << 1.79769313486231e308 << "1.79769313486231E+308";
    QTest::newRow("largest double in shortest exact form") << DBL_MAX << "1.7976931348623157E+308";
    QTest::newRow("most negative double") << -DBL_MAX << "-1.7976931348623157E+308";
    QTest::newRow("smallest normal double") << DBL_MIN << "2.2250738585072E-308";
    QTest::newRow("smallest denormal")
        << std::numeric_limits<double>::denorm_min() << "4.94065645841247E-324";
}

void TestNumeric::numberToText() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(vb::NumberToText(value), text);
    QCOMPARE(vb::vbaStrVarVal(Variant(value)), text);
    QCOMPARE(vb::rtcIsNumeric(text), vb::True);
}

void TestNumeric::resultValueAsText_data() {
    QTest::addColumn<Variant>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("old result text comes back unchanged")
        << Variant(QStringLiteral("1.50")) << "1.50";
    QTest::newRow("empty old result stays empty") << Variant(QString()) << "";
    QTest::newRow("non-number text is kept") << Variant(QStringLiteral("abc")) << "abc";
    QTest::newRow("whole number") << Variant(17) << "17";
    QTest::newRow("negative whole number") << Variant(-7) << "-7";
    QTest::newRow("double") << Variant(1e15) << "1E+15";
}

void TestNumeric::resultValueAsText() {
    QFETCH(Variant, value);
    QFETCH(QString, text);
    QCOMPARE(vb::vbaStrVarVal(value), text);
}

void TestNumeric::everyShownNumberReadsBack() {
    // A failure prints its seed; ZENDARIC_NUMERIC_SEED replays it.
    bool given = false;
    quint32 seed = qEnvironmentVariable("ZENDARIC_NUMERIC_SEED").toUInt(&given);
    if (!given)
        seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    constexpr int kSamples = 200000;
    for (int i = 0; i < kSamples; ++i) {
        double value = 0.0;
        switch (i % 4) {
        case 0: // any finite bit pattern, denormals included
            do {
                value = std::bit_cast<double>(random.generate64());
            } while (!std::isfinite(value));
            break;
        case 1: // a random magnitude across the whole range
            value = std::ldexp(random.generateDouble() + 0.5, random.bounded(-1075, 1024));
            break;
        case 2: // a whole number, as most results are
            value = double(qint64(random.generate64()) >> random.bounded(0, 63));
            break;
        case 3: // near the largest double, where 15 digits overflow
            value =
                DBL_MAX - std::ldexp(double(random.bounded(1 << 20)), DBL_MAX_EXP - DBL_MANT_DIG);
            break;
        }
        if (!std::isfinite(value))
            continue;
        if (random.bounded(2))
            value = -value;
        const QString fault = roundTripFault(value);
        if (!fault.isEmpty())
            QVERIFY2(false, qPrintable(QStringLiteral("ZENDARIC_NUMERIC_SEED=%1 replays this: %2")
                                           .arg(seed)
                                           .arg(fault)));
    }
}

void TestNumeric::arithmeticResults_data() {
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<Variant>("left");
    QTest::addColumn<Variant>("right");
    QTest::addColumn<double>("result");

    const auto text = [](const char *t) { return Variant(QString::fromLatin1(t)); };
    QTest::newRow("6 × 7 is 42") << Operation::Mul << text("6") << text("7") << 42.0;
    QTest::newRow("12 - 5 is 7") << Operation::Sub << text("12") << text("5") << 7.0;
    QTest::newRow("5 - 12 is -7") << Operation::Sub << text("5") << text("12") << -7.0;
    QTest::newRow("8 ÷ 2 is 4") << Operation::Div << text("8") << text("2") << 4.0;
    QTest::newRow("1 ÷ 3 is the nearest double")
        << Operation::Div << Variant(1) << text("3") << 1.0 / 3.0;
    QTest::newRow("12 squared is 144") << Operation::Pow << text("12") << Variant(2) << 144.0;
    QTest::newRow("-7 squared is 49") << Operation::Pow << text("-7") << Variant(2) << 49.0;
    QTest::newRow("-8 cubed is -512") << Operation::Pow << text("-8") << Variant(3) << -512.0;
    QTest::newRow("2 ^ 8 is 256") << Operation::Pow << text("2") << text("8") << 256.0;
    QTest::newRow("2 ^ -1 is 0.5") << Operation::Pow << text("2") << text("-1") << 0.5;
    QTest::newRow("-2 ^ -1 is -0.5") << Operation::Pow << text("-2") << text("-1") << -0.5;
    QTest::newRow("0 ^ 0 is 1") << Operation::Pow << text("0") << text("0") << 1.0;
    QTest::newRow("0 ^ 2 is 0") << Operation::Pow << text("0") << text("2") << 0.0;
    QTest::newRow("cube root of 8 is exactly 2")
        << Operation::Pow << text("8") << Variant(1.0 / 3.0) << 2.0;
    QTest::newRow("cube root of 64 is just below 4")
        << Operation::Pow << text("64") << Variant(1.0 / 3.0) << std::nextafter(4.0, 0.0);
    QTest::newRow("root of degree 2 of 16 is 4")
        << Operation::Pow << text("16") << Variant(vb::vbaVarDiv(Variant(1), text("2"))) << 4.0;
    QTest::newRow("square root of 144 is 12") << Operation::Sqr << text("144") << Variant() << 12.0;
    QTest::newRow("square root of -0 is 0") << Operation::Sqr << text("-0") << Variant() << 0.0;
    QTest::newRow("square root of -1E-400 is of zero, no error")
        << Operation::Sqr << text("-1E-400") << Variant() << 0.0;
    QTest::newRow("1E-200 × 1E-200 underflows to 0 without error")
        << Operation::Mul << text("1E-200") << text("1E-200") << 0.0;
    QTest::newRow("1E-300 ÷ 1E+300 underflows to 0 without error")
        << Operation::Div << text("1E-300") << text("1E+300") << 0.0;
    QTest::newRow("1E-200 ^ 2 underflows to 0 without error")
        << Operation::Pow << text("1E-200") << Variant(2) << 0.0;
    QTest::newRow("largest double - -0 stays finite")
        << Operation::Sub << text("1.7976931348623157E+308") << text("-0") << DBL_MAX;
}

void TestNumeric::arithmeticResults() {
    QFETCH(Operation, operation);
    QFETCH(Variant, left);
    QFETCH(Variant, right);
    QFETCH(double, result);
    try {
        const double actual = run(operation, left, right);
        QVERIFY2(actual == result, qPrintable(differs(actual, result)));
    } catch (const vb::RuntimeError &error) {
        QFAIL(qPrintable(QStringLiteral("raised error %1 (%2)")
                             .arg(int(error.code()))
                             .arg(QString::fromUtf8(error.what()))));
    }
}

void TestNumeric::arithmeticErrors_data() {
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<Variant>("left");
    QTest::addColumn<Variant>("right");
    QTest::addColumn<ErrorCode>("code");
    QTest::addColumn<QString>("message");

    const auto text = [](const char *t) { return Variant(QString::fromLatin1(t)); };
    const QString overflow = "Overflow", byZero = "Division by zero",
                  invalid = "Invalid procedure call or argument", mismatch = "Type mismatch";
    QTest::newRow("1E+200 × 1E+200 overflows")
        << Operation::Mul << text("1E+200") << text("1E+200") << ErrorCode::Overflow << overflow;
    QTest::newRow("-1E+308 - 1E+308 overflows")
        << Operation::Sub << text("-1E+308") << text("1E+308") << ErrorCode::Overflow << overflow;
    QTest::newRow("1E+300 ÷ 1E-10 overflows")
        << Operation::Div << text("1E+300") << text("1E-10") << ErrorCode::Overflow << overflow;
    QTest::newRow("8 ÷ 0.0 divides by zero")
        << Operation::Div << text("8") << text("0.0") << ErrorCode::DivisionByZero << byZero;
    QTest::newRow("8 ÷ .0 divides by zero")
        << Operation::Div << text("8") << text(".0") << ErrorCode::DivisionByZero << byZero;
    QTest::newRow("8 ÷ -0 divides by zero")
        << Operation::Div << text("8") << text("-0") << ErrorCode::DivisionByZero << byZero;
    QTest::newRow("0 ÷ 0.0 divides by zero")
        << Operation::Div << text("0") << text("0.0") << ErrorCode::DivisionByZero << byZero;
    QTest::newRow("root of degree 0: 1 ÷ 0 divides by zero")
        << Operation::Div << Variant(1) << text("0") << ErrorCode::DivisionByZero << byZero;
    QTest::newRow("1E+200 squared overflows")
        << Operation::Pow << text("1E+200") << Variant(2) << ErrorCode::Overflow << overflow;
    QTest::newRow("1E+150 cubed overflows")
        << Operation::Pow << text("1E+150") << Variant(3) << ErrorCode::Overflow << overflow;
    QTest::newRow("10 ^ 400 overflows")
        << Operation::Pow << text("10") << text("400") << ErrorCode::Overflow << overflow;
    QTest::newRow("cube root of -8 has no real value")
        << Operation::Pow << text("-8") << Variant(1.0 / 3.0) << ErrorCode::InvalidProcedureCall
        << invalid;
    QTest::newRow("-7 ^ 0.5 has no real value") << Operation::Pow << text("-7") << text("0.5")
                                                << ErrorCode::InvalidProcedureCall << invalid;
    QTest::newRow("0 ^ -1 divides by zero")
        << Operation::Pow << text("0") << text("-1") << ErrorCode::DivisionByZero << byZero;
    QTest::newRow("0 ^ -0.5 divides by zero")
        << Operation::Pow << text("0") << text("-0.5") << ErrorCode::DivisionByZero << byZero;
    QTest::newRow("square root of -1 has no real value")
        << Operation::Sqr << text("-1") << Variant() << ErrorCode::InvalidProcedureCall << invalid;
    QTest::newRow("floating-point error of a sum is an overflow")
        << Operation::FPException << Variant() << Variant() << ErrorCode::Overflow << overflow;
    QTest::newRow("empty text does not convert")
        << Operation::R8Str << text("") << Variant() << ErrorCode::InvalidProcedureCall << mismatch;
    QTest::newRow("word does not convert") << Operation::R8Str << text("abc") << Variant()
                                           << ErrorCode::InvalidProcedureCall << mismatch;
    QTest::newRow("1E+400 does not convert") << Operation::R8Str << text("1E+400") << Variant()
                                             << ErrorCode::InvalidProcedureCall << mismatch;
    QTest::newRow("non-number text in a product does not convert")
        << Operation::Mul << text("5 ") << text("2") << ErrorCode::InvalidProcedureCall << mismatch;
    QTest::newRow("infinity has no text")
        << Operation::NumberToText << Variant(std::numeric_limits<double>::infinity()) << Variant()
        << ErrorCode::Overflow << overflow;
    QTest::newRow("not-a-number has no text")
        << Operation::NumberToText << Variant(std::numeric_limits<double>::quiet_NaN()) << Variant()
        << ErrorCode::Overflow << overflow;
}

void TestNumeric::arithmeticErrors() {
    QFETCH(Operation, operation);
    QFETCH(Variant, left);
    QFETCH(Variant, right);
    QFETCH(ErrorCode, code);
    QFETCH(QString, message);
    try {
        const double result = run(operation, left, right);
        QFAIL(qPrintable(QStringLiteral("no error, the result is %1").arg(bitsOf(result))));
    } catch (const vb::RuntimeError &error) {
        QCOMPARE(int(error.code()), int(code));
        QCOMPARE(QString::fromUtf8(error.what()), message);
    }
}

void TestNumeric::textComparison_data() {
    QTest::addColumn<QString>("literal");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("equal");

    QTest::newRow("same operator code") << "+"
                                        << "+" << true;
    QTest::newRow("same Arabic code") << QStringLiteral(u"جذر2") << QStringLiteral(u"جذر2") << true;
    QTest::newRow("two empty texts") << ""
                                     << "" << true;
    QTest::newRow("code against empty caption") << "x2"
                                                << "" << false;
    QTest::newRow("case counts: x2 is not X2") << "x2"
                                               << "X2" << false;
    QTest::newRow("no trimming: 0 is not \" 0\"") << "0"
                                                  << " 0" << false;
    QTest::newRow("no trimming: 0 is not \"0 \"") << "0"
                                                  << "0 " << false;
    QTest::newRow("same value, other text: 0 is not 0.0") << "0"
                                                          << "0.0" << false;
    QTest::newRow("0 is not the Arabic-Indic zero") << "0" << QStringLiteral(u"\u0660") << false;
    QTest::newRow("a code is not its prefix")
        << QStringLiteral(u"جذر") << QStringLiteral(u"جذر2") << false;
    QTest::newRow("multiplication sign is not the letter x")
        << QStringLiteral(u"×") << "x" << false;
}

void TestNumeric::textComparison() {
    QFETCH(QString, literal);
    QFETCH(QString, text);
    QFETCH(bool, equal);
    const int order = vb::vbaStrCmp(literal, text);
    QCOMPARE(order == 0, equal);
    QVERIFY(order == -1 || order == 0 || order == 1);
    QCOMPARE(vb::vbaStrCmp(text, literal), -order);
    QCOMPARE(vb::StrEq(literal, text), equal ? vb::True : vb::False);
}

QTEST_GUILESS_MAIN(TestNumeric)
#include "tst_numeric.moc"
