// Thousands of random clicks over the buttons, with the user moving the
// caret and the selection in the operand boxes between them. The state
// must keep its invariants after every step, and the program must live on.
// ZENDARIC_STRESS_SEED and ZENDARIC_STRESS_STEPS replay or lengthen a run.
#include "calculatorwindow.h"

#include "numeric.h"

#include <QSet>

#include <array>
#include <cstdint>
#include <random>

using namespace Qt::StringLiterals;

namespace {

// Every button but the exit, the modal about box and the web page, each
// with a weight: digits and "=" come often enough to make calculations, and
// the transfers often enough to feed negative and huge results back in.
struct Weighted {
    const char *button;
    std::uint32_t weight;
};
constexpr Weighted Buttons[] = {
    {"Command2", 4},  {"Command4", 4},  {"Command10", 4}, {"Command12", 4}, {"Command8", 4},
    {"Command11", 4}, {"Command13", 4}, {"Command9", 4},  {"Command7", 4},  {"Command14", 4},
    {"Command3", 1},  {"Command35", 1}, {"Command39", 1}, {"Command16", 7}, {"Command15", 3},
    {"Command34", 4}, {"Command17", 2}, {"Command18", 3}, {"Command5", 2},  {"Command6", 2},
    {"Command22", 2}, {"Command23", 2}, {"Command19", 2}, {"Command1", 2},  {"Command20", 2},
    {"Command21", 2},
};

const char *PickButton(std::uint32_t ticket) {
    for (const Weighted &b : Buttons) {
        if (ticket < b.weight)
            return b.button;
        ticket -= b.weight;
    }
    return nullptr;
}

constexpr std::uint32_t TotalWeight() {
    std::uint32_t total = 0;
    for (const Weighted &b : Buttons)
        total += b.weight;
    return total;
}

const QSet<QString> Codes = {u"+"_s,   u"-"_s,  u"×"_s,  u"÷"_s,    u"أس"_s,
                             u"جذر"_s, u"x2"_s, u"x3"_s, u"جذر2"_s, u"جذر3"_s};
const QSet<QString> Messages = {QString(), u"أدخل رقماً في خانة العدد الأول "_s,
                                u"أدخل رقماً في خانة العددين "_s, u"أدخل رقماً في خانة العددين  "_s,
                                u"غير معرفة"_s};
const QString Undefined = u"غير معرفة"_s;

constexpr std::array<QKeyCombination, 8> CaretKeys = {
    QKeyCombination(Qt::Key_Home),
    QKeyCombination(Qt::Key_End),
    QKeyCombination(Qt::Key_Left),
    QKeyCombination(Qt::Key_Right),
    QKeyCombination(Qt::ShiftModifier, Qt::Key_Left),
    QKeyCombination(Qt::ShiftModifier, Qt::Key_Right),
    QKeyCombination(Qt::ShiftModifier, Qt::Key_Home),
    QKeyCombination(Qt::ShiftModifier, Qt::Key_End),
};

// The code of an operator button, or null for any other button.
const char *OperatorCode(const QString &button) {
    static const std::pair<const char *, const char *> operators[] = {
        {"Command17", "+"},    {"Command18", "-"},    {"Command5", "×"},   {"Command6", "÷"},
        {"Command22", "أس"},   {"Command23", "جذر"},  {"Command19", "x2"}, {"Command1", "x3"},
        {"Command20", "جذر2"}, {"Command21", "جذر3"},
    };
    for (const auto &[name, code] : operators)
        if (button == QLatin1String(name))
            return code;
    return nullptr;
}

bool OneOperand(const char *code) { return code[0] == 'x' || QString::fromUtf8(code).size() == 4; }

std::uint32_t EnvNumber(const char *name, std::uint32_t fallback) {
    bool ok = false;
    const std::uint32_t value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

// The state of the window just before a step.
struct Before {
    QString txt1, txt2, txt3, txt4, caption;
};

// What the step `action` broke, or nothing.
QString Broken(const CalculatorWindow &w, const ModalBoxCloser &boxes, const QString &action,
               const Before &before) {
    const QString t1 = w.text("Txt1"), t2 = w.text("Txt2"), t3 = w.text("Txt3");
    const QString caption = w.caption();
    if (QTest::currentTestFailed())
        return u"the step itself failed"_s;
    if (w.ends != 0)
        return u"the program ended"_s;
    if (!boxes.closed.isEmpty())
        return u"a modal box opened: "_s + boxes.closed.join(u" / "_s);
    if (!caption.isEmpty() && !Codes.contains(caption))
        return u"Lbl1 holds no code"_s;
    if (!t3.isEmpty() && vb::rtcIsNumeric(t3) != vb::True)
        return u"Txt3 is not a number"_s;
    if (!Messages.contains(w.text("Txt4")))
        return u"Txt4 holds no message"_s;
    if (!w.box("Txt1")->Locked() || !w.box("Txt2")->Locked() || !w.box("Txt3")->Locked() ||
        w.box("Txt4")->Locked())
        return u"a box changed its lock"_s;

    if (action == u"Command16"_s) {
        if (!t1.isEmpty() || !t2.isEmpty() || !caption.isEmpty())
            return u"= left an operand or the operator"_s;
        if (w.timer()->Interval() != 4000)
            return u"= did not set the timer"_s;
        if (w.text("Txt4") == Undefined && before.txt4 != Undefined && t3 != before.txt3)
            return u"the undefined message came with a new result"_s;
    } else if (action == u"Command39"_s) {
        if (!t1.isEmpty() || !t2.isEmpty() || !t3.isEmpty() || !caption.isEmpty())
            return u"reset left something"_s;
    } else if (action == u"Command34"_s || action == u"Command15"_s) {
        if (!t3.isEmpty() || (action == u"Command34"_s ? t1 : t2) != before.txt3)
            return u"the result was not carried up"_s;
    } else if (const char *code = OperatorCode(action)) {
        if (vb::rtcIsNumeric(before.txt1) == vb::True) {
            if (caption != QString::fromUtf8(code))
                return u"the operator button did not store its code"_s;
        } else if (caption != before.caption || w.timer()->Interval() != 4000) {
            return u"the operator button did not post its prompt"_s;
        }
        if (t3 != before.txt3)
            return u"an operator button touched the result"_s;
        if (OneOperand(code) && !t2.isEmpty())
            return u"a one-operand button left Txt2"_s;
    }
    return {};
}

} // namespace

class StressTest : public QObject {
    Q_OBJECT
private slots:
    void randomClicksKeepTheInvariants();
};

void StressTest::randomClicksKeepTheInvariants() {
    const std::uint32_t seed = EnvNumber("ZENDARIC_STRESS_SEED", 20240603);
    const std::uint32_t steps = EnvNumber("ZENDARIC_STRESS_STEPS", 20000);
    std::mt19937 random(seed);
    const auto pick = [&random](std::uint32_t n) { return std::uint32_t(random() % n); };

    ModalBoxCloser boxes;
    CalculatorWindow w;
    QVERIFY(w.exposed);
    int evaluations = 0, results = 0, guarded = 0, errors = 0;

    for (std::uint32_t step = 0; step < steps; ++step) {
        const Before before = {w.text("Txt1"), w.text("Txt2"), w.text("Txt3"), w.text("Txt4"),
                               w.caption()};
        QString action;
        const std::uint32_t kind = pick(100);
        if (kind < 84) {
            const char *name = PickButton(pick(TotalWeight()));
            action = QString::fromLatin1(name);
            w.click(name);
        } else if (kind < 97) {
            // The user clicks or drags in an operand box, then moves the
            // caret or selects with the keyboard; the next key goes there.
            vb::TextBox *box = w.box(pick(2) ? "Txt1" : "Txt2");
            const auto randomPoint = [&] {
                return QPoint(1 + int(pick(std::uint32_t(box->width() - 2))), box->height() / 2);
            };
            const QPoint from = randomPoint();
            if (pick(3) == 0) {
                const QPoint to = randomPoint();
                QTest::mousePress(box, Qt::LeftButton, {}, from);
                QTest::mouseMove(box, to);
                QTest::mouseRelease(box, Qt::LeftButton, {}, to);
                action =
                    u"drag in %1 from %2 to %3"_s.arg(box->objectName()).arg(from.x()).arg(to.x());
            } else {
                QTest::mouseClick(box, Qt::LeftButton, {}, from);
                action = u"click into %1 at %2"_s.arg(box->objectName()).arg(from.x());
            }
            for (std::uint32_t keys = pick(4); keys > 0; --keys) {
                const QKeyCombination key = CaretKeys[pick(CaretKeys.size())];
                QTest::keyClick(box, key.key(), key.keyboardModifiers());
                action += u", key %1"_s.arg(key.toCombined(), 0, 16);
            }
        } else if (kind < 99) {
            action = u"timer tick"_s;
            emit w.timer()->Tick();
        } else {
            // Lets the windows paint and real timer ticks come in.
            action = u"events"_s;
            QCoreApplication::processEvents();
        }

        const QString broken = Broken(w, boxes, action, before);
        if (!broken.isEmpty()) {
            const QString where = u"seed %1, step %2 (%3), before: Txt1 \"%4\", Txt2 \"%5\", "
                                  u"Txt3 \"%6\", Lbl1 \"%7\"; after: Txt1 \"%8\", Txt2 "
                                  u"\"%9\", Txt3 \"%10\", Lbl1 \"%11\", Txt4 \"%12\""_s;
            QFAIL(qPrintable(broken + u"; "_s +
                             where
                                 .arg(QString::number(seed), QString::number(step), action,
                                      before.txt1.left(60), before.txt2.left(60),
                                      before.txt3.left(60), before.caption, w.text("Txt1").left(60),
                                      w.text("Txt2").left(60))
                                 .arg(w.text("Txt3").left(60), w.caption(), w.text("Txt4"))));
        }
        if (action == u"Command16"_s) {
            ++evaluations;
            results += w.text("Txt3") != before.txt3;
            if (w.text("Txt4") == Undefined && before.txt4 != Undefined)
                ++(before.caption == u"÷"_s && before.txt2 == u"0"_s ? guarded : errors);
        }
    }
    qInfo("seed %u: %u steps, %d evaluations, %d new results, %d divisions by \"0\", "
          "%d arithmetic errors",
          seed, steps, evaluations, results, guarded, errors);
}

QTEST_MAIN(StressTest)
#include "tst_stress.moc"
