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
