// The real Form1, started the way the program starts it, driven by real
// mouse clicks and keys.
#pragma once

#include "Form1.h"
#include "controls.h"
#include "project.h"
#include "services.h"

#include <QtTest>

#include <memory>

class CalculatorWindow {
public:
    CalculatorWindow() {
        vb::SetEndHandler([this] { ++ends; });
        form = vb::StartForm(ZendaricProject());
        if (form) {
            form->activateWindow();
            exposed = QTest::qWaitForWindowExposed(form.get());
        }
    }
    ~CalculatorWindow() { vb::SetEndHandler(nullptr); }
    CalculatorWindow(const CalculatorWindow &) = delete;
    CalculatorWindow &operator=(const CalculatorWindow &) = delete;

    vb::TextBox *box(const char *name) const {
        return form->findChild<vb::TextBox *>(QString::fromLatin1(name));
    }
    vb::CommandButton *button(const char *name) const {
        return form->findChild<vb::CommandButton *>(QString::fromLatin1(name));
    }
    vb::Label *label() const { return form->findChild<vb::Label *>(QStringLiteral("Lbl1")); }
    vb::Timer *timer() const { return form->findChild<vb::Timer *>(QStringLiteral("Timer1")); }

    QString text(const char *name) const { return box(name)->Text(); }
    QString caption() const { return label()->Caption(); }

    void click(const char *name) const {
        vb::CommandButton *b = button(name);
        QVERIFY2(b, name);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // Clicks a row of buttons, named by what their faces show.
    void press(const QString &keys) const;

    std::unique_ptr<vb::Form> form;
    bool exposed = false;
    int ends = 0;
};

// The button behind each key face, for writing key sequences readably.
inline const char *KeyButton(QChar key) {
    switch (key.unicode()) {
    case '0': return "Command2";
    case '1': return "Command4";
    case '2': return "Command10";
    case '3': return "Command12";
    case '4': return "Command8";
    case '5': return "Command11";
    case '6': return "Command13";
    case '7': return "Command9";
    case '8': return "Command7";
    case '9': return "Command14";
    case '.': return "Command3";
    default: return nullptr;
    }
}

inline void CalculatorWindow::press(const QString &keys) const {
    for (QChar key : keys) {
        const char *name = KeyButton(key);
        QVERIFY2(name, qPrintable(QStringLiteral("no key for '%1'").arg(key)));
        click(name);
    }
}

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

#include <utility>

// The button of each operator code.
inline const char *OperatorButton(const QString &code) {
    static const std::pair<QString, const char *> buttons[] = {
        {QStringLiteral("+"), "Command17"},    {QStringLiteral("-"), "Command18"},
        {QStringLiteral("×"), "Command5"},     {QStringLiteral("÷"), "Command6"},
        {QStringLiteral("أس"), "Command22"},   {QStringLiteral("جذر"), "Command23"},
        {QStringLiteral("x2"), "Command19"},   {QStringLiteral("x3"), "Command1"},
        {QStringLiteral("جذر2"), "Command20"}, {QStringLiteral("جذر3"), "Command21"},
    };
    for (const auto &[face, button] : buttons)
        if (face == code)
            return button;
    return nullptr;
}

// Clicks a calculation as the user reads it, steps separated by spaces:
// digits and points are their keys, an operator code its button, "=" the
// evaluation key, "pi" and "reset" their keys, "=>1" and "=>2" the buttons
// that carry the result up into Txt1 (Command34) and Txt2 (Command15).
inline void Play(const CalculatorWindow &w, const QString &steps) {
    for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
        if (const char *op = OperatorButton(step))
            w.click(op);
        else if (step == QLatin1String("="))
            w.click("Command16");
        else if (step == QLatin1String("pi"))
            w.click("Command35");
        else if (step == QLatin1String("reset"))
            w.click("Command39");
        else if (step == QLatin1String("=>1"))
            w.click("Command34");
        else if (step == QLatin1String("=>2"))
            w.click("Command15");
        else
            w.press(step);
        if (QTest::currentTestFailed())
            return;
    }
}

// While it lives, closes every modal box that opens and keeps its text, so
// that the runtime's error box fails a test instead of hanging it.
class ModalBoxCloser {
public:
    ModalBoxCloser() {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            QWidget *box = QApplication::activeModalWidget();
            if (!box)
                return;
            auto *message = qobject_cast<QMessageBox *>(box);
            closed << (message ? message->text() : box->objectName());
            if (auto *dialog = qobject_cast<QDialog *>(box))
                dialog->reject();
            else
                box->close();
        });
        poll_.start(10);
    }

    QStringList closed;

private:
    QTimer poll_;
};

// What a button that must not touch the calculator leaves alone.
struct State {
    QString first, second, result, message, op;
    int interval;
    int remaining;
};

inline State Capture(const CalculatorWindow &w) {
    return {w.text("Txt1"),
            w.text("Txt2"),
            w.text("Txt3"),
            w.text("Txt4"),
            w.caption(),
            w.timer()->Interval(),
            w.timer()->RemainingTime()};
}

inline void CompareState(const State &now, const State &before) {
    QCOMPARE(now.first, before.first);
    QCOMPARE(now.second, before.second);
    QCOMPARE(now.result, before.result);
    QCOMPARE(now.message, before.message);
    QCOMPARE(now.op, before.op);
    QCOMPARE(now.interval, before.interval);
    if (before.remaining < 0) {
        QCOMPARE(now.remaining, -1);
    } else {
        // Still running and not started afresh.
        QVERIFY2(
            now.remaining >= 0 && now.remaining <= before.remaining,
            qPrintable(
                QStringLiteral("%1 ms left, %2 before").arg(now.remaining).arg(before.remaining)));
    }
}
