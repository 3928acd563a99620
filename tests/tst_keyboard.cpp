// The window under the keyboard: the focus moving by Tab leaves the user's
// caret alone, Return and Enter click the focused button, and a box that is
// full refuses what does not fit instead of cutting the number.
#include "calculatorwindow.h"

#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QString AboutText =
    u"حاسبة Zendaric تحفة عربية للعرب فقط و(((القادم أحلى))) مع تحيات Halvorin"_s;

QWidget *Control(const CalculatorWindow &w, const QString &name) {
    return w.form->findChild<QWidget *>(name);
}

// Where Tab and Shift+Tab come from into each box.
struct TabNeighbours {
    const char *box, *before, *after;
};
constexpr TabNeighbours Neighbours[] = {
    {"Txt2", "Command1", "Txt1"},
    {"Txt1", "Txt2", "Command2"},
    {"Txt3", "Command39", "Command42"},
    {"Txt4", "Command15", "Command24"},
};

// Counts the clicks of every button of the window.
class ClickCounter {
public:
    explicit ClickCounter(const CalculatorWindow &w) {
        for (vb::CommandButton *button : w.form->findChildren<vb::CommandButton *>())
            spies_.push_back({button->objectName(),
                              std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked)});
    }
    int buttons() const { return int(spies_.size()); }
    int of(const QString &name) const {
        for (const auto &[button, spy] : spies_)
            if (button == name)
                return int(spy->size());
        return -1;
    }
    // Every click so far, as "name xN".
    QStringList all() const {
        QStringList clicks;
        for (const auto &[button, spy] : spies_)
            if (!spy->isEmpty())
                clicks << u"%1 x%2"_s.arg(button).arg(spy->size());
        return clicks;
    }

private:
    std::vector<std::pair<QString, std::unique_ptr<QSignalSpy>>> spies_;
};

// Puts an xdg-open first on PATH that writes one line per start, and takes
// it away again when it goes.
class OpenerLog {
public:
    OpenerLog() : savedPath_(qgetenv("PATH")) {
        QFile opener(dir_.filePath(u"xdg-open"_s));
        if (!opener.open(QIODevice::WriteOnly))
            return;
        opener.write("#!/bin/sh\necho started >> '" + QFile::encodeName(log()) + "'\n");
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(dir_.path()) + ':' + savedPath_);
    }
    ~OpenerLog() { qputenv("PATH", savedPath_); }
    OpenerLog(const OpenerLog &) = delete;
    OpenerLog &operator=(const OpenerLog &) = delete;

    int starts() const {
        QFile file(log());
        return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) : 0;
    }

private:
    QString log() const { return dir_.filePath(u"starts.log"_s); }
    QByteArray savedPath_;
    QTemporaryDir dir_;
};

void SendKey(QWidget *widget, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
             bool autoRepeat) {
    const QString text = key == Qt::Key_Space ? u" "_s : u"\r"_s;
    QKeyEvent event(type, key, modifiers, text, autoRepeat);
    QApplication::sendEvent(widget, &event);
}

// A text of `size` characters that shows any cut: fives, then a seven.
QString Filled(int size) { return QString(size - 1, u'5') + u'7'; }

enum class At { Front, Middle, End };

// Puts the user's caret, or a selection of `selected` characters, at the
// front, in the middle or at the end of the box's text.
void PlaceCaret(vb::TextBox *box, At at, int selected) {
    const int size = int(box->Text().size());
    const int start = at == At::Front ? 0 : at == At::Middle ? size / 2 : size - selected;
    if (selected > 0)
        box->setSelection(start, selected);
    else
        box->setCursorPosition(start);
}

struct Marks {
    QString text;
    int caret, start;
    QString selected;
    bool operator==(const Marks &) const = default;
};

Marks MarksOf(const vb::TextBox *box) {
    return {box->Text(), box->cursorPosition(), box->selectionStart(), box->selectedText()};
}

// The box's text with `inserted` in place of the selection or at the caret.
QString Inserted(const Marks &before, const QString &inserted) {
    const int start = before.selected.isEmpty() ? before.caret : before.start;
    return before.text.left(start) + inserted + before.text.mid(start + before.selected.size());
}

} // namespace

namespace QTest {
template <> char *toString(const Marks &m) {
    return qstrdup(qPrintable(
        u"%1 characters ending \"%2\", caret %3, selection at %4 \"%5\""_s.arg(m.text.size())
            .arg(m.text.right(4))
            .arg(m.caret)
            .arg(m.start)
            .arg(m.selected.left(8))));
}
} // namespace QTest

class KeyboardTest : public QObject {
    Q_OBJECT
private slots:
    void tabKeepsCaretAndSelection_data();
    void tabKeepsCaretAndSelection();
    void enterKeysClickTheFocusedButton_data();
    void enterKeysClickTheFocusedButton();
    void enterKeysClickEveryButtonOnce_data();
    void enterKeysClickEveryButtonOnce();
    void onePressOneClick_data();
    void onePressOneClick();
    void enterInATextBoxDoesNothing_data();
    void enterInATextBoxDoesNothing();
    void fullOperandRefusesADigit_data();
    void fullOperandRefusesADigit();
    void messageLineRefusesWhatDoesNotFit_data();
    void messageLineRefusesWhatDoesNotFit();
};

void KeyboardTest::tabKeepsCaretAndSelection_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key");     // the key that brings the focus back in
    QTest::addColumn<bool>("placed"); // false: the user never was in the box
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");       // negative: selected leftwards
    QTest::addColumn<QString>("expected"); // after the next key

    struct Case {
        const char *name;
        bool placed;
        int start, length;
        QString expected;
    };
    // The box holds "1234"; the next key is "9".
    const Case cases[] = {
        {"caret in the middle", true, 2, 0, u"12934"_s},
        {"caret at the front", true, 0, 0, u"91234"_s},
        {"selection", true, 1, 2, u"194"_s},
        {"selection made leftwards", true, 3, -2, u"194"_s},
        {"whole text selected by the user", true, 0, 4, u"9"_s},
        {"never focused, caret at the end", false, 4, 0, u"12349"_s},
    };
    for (const auto &[box, before, after] : Neighbours)
        for (const int key : {int(Qt::Key_Tab), int(Qt::Key_Backtab)})
            for (const Case &c : cases)
                QTest::addRow("%s, %s, %s", box, key == Qt::Key_Tab ? "Tab" : "Shift+Tab", c.name)
                    << QString::fromLatin1(box) << key << c.placed << c.start
                    << c.length
                    // The result box takes no key: it keeps its text.
                    << (box == "Txt3"_L1 ? u"1234"_s : c.expected);
}

void KeyboardTest::tabKeepsCaretAndSelection() {
    QFETCH(QString, box);
    QFETCH(int, key);
    QFETCH(bool, placed);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, expected);
    CalculatorWindow w;
    QVERIFY(w.exposed);
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    if (box == "Txt2"_L1)
        Play(w, u"7 +"_s); // the keypad now enters the second operand
    vb::TextBox *b = w.box(qPrintable(box));
    b->SetText(u"1234"_s);
    const bool tab = key == Qt::Key_Tab;
    if (placed) {
        QTest::mouseClick(b, Qt::LeftButton);
        QVERIFY(b->hasFocus());
        if (length != 0)
            b->setSelection(start, length);
        else
            b->setCursorPosition(start);
        // Out the other way, so that the key brings the focus back.
        QTest::keyClick(b, tab ? Qt::Key_Backtab : Qt::Key_Tab);
        QVERIFY(!b->hasFocus());
    } else {
        for (const auto &n : Neighbours)
            if (box == QLatin1String(n.box))
                Control(w, QString::fromLatin1(tab ? n.before : n.after))->setFocus();
    }
    const Marks left = MarksOf(b);
    QCOMPARE(left.caret, placed ? start + length : 4);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), b);
    QCOMPARE(MarksOf(b), left);

    if (box == "Txt1"_L1 || box == "Txt2"_L1)
        w.press(u"9"_s); // a real click on the key, which takes the focus
    else if (box == "Txt4"_L1)
        QTest::keyClicks(b, u"9"_s);
    QCOMPARE(b->Text(), expected);
}

void KeyboardTest::enterKeysClickTheFocusedButton_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("button");
    const struct {
        const char *name;
        int key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {
        {"Return", Qt::Key_Return, Qt::NoModifier},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier},
        {"Space", Qt::Key_Space, Qt::NoModifier},
    };
    const struct {
        const char *name, *button;
    } buttons[] = {
        {"digit 1", "Command4"},  {"operator +", "Command17"}, {"X", "Command42"},
        {"ver 0.1", "Command24"}, {"web page", "Command25"},
    };
    for (const auto &k : keys)
        for (const auto &b : buttons)
            QTest::addRow("%s on %s", k.name, b.name)
                << k.key << k.modifiers << QString::fromLatin1(b.button);
}

void KeyboardTest::enterKeysClickTheFocusedButton() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, button);
    OpenerLog opener;
    CalculatorWindow w;
    QVERIFY(w.exposed);
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    w.press(u"12"_s);
    ModalBoxCloser closer;
    const ClickCounter clicks(w);
    QWidget *b = Control(w, button);
    b->setFocus(Qt::TabFocusReason);
    QVERIFY(b->hasFocus());

    QTest::keyClick(b, Qt::Key(key), modifiers);

    QCOMPARE(clicks.all(), QStringList{button + u" x1"_s});
    // Each went through the form's event procedure, once.
    if (button == "Command4"_L1) {
        QCOMPARE(w.text("Txt1"), u"121"_s);
    } else if (button == "Command17"_L1) {
        QCOMPARE(w.caption(), u"+"_s);
    } else if (button == "Command42"_L1) {
        QCOMPARE(w.ends, 1);
    } else if (button == "Command24"_L1) {
        QCOMPARE(closer.closed, QStringList{AboutText});
        QCOMPARE(w.ends, 0);
    } else {
        QTRY_COMPARE(opener.starts(), 1);
    }
}

void KeyboardTest::enterKeysClickEveryButtonOnce_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::NoModifier);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter)
                                  << Qt::KeyboardModifiers(Qt::KeypadModifier);
}

void KeyboardTest::enterKeysClickEveryButtonOnce() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    OpenerLog opener;
    CalculatorWindow w;
    QVERIFY(w.exposed);
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    ModalBoxCloser closer;
    const ClickCounter clicks(w);
    QCOMPARE(clicks.buttons(), 29);
    const QList<vb::CommandButton *> buttons = w.form->findChildren<vb::CommandButton *>();
    for (vb::CommandButton *b : buttons) {
        QVERIFY(!b->autoDefault() && !b->isDefault());
        // Headless, the window is not made active again when the about box
        // closes.
        w.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        b->setFocus(Qt::TabFocusReason);
        QVERIFY2(b->hasFocus(), qPrintable(b->objectName()));
        QTest::keyClick(b, Qt::Key(key), modifiers);
        QCOMPARE(clicks.of(b->objectName()), 1);
    }
    QCOMPARE(clicks.all().size(), 29);
    QCOMPARE(w.ends, 1);
    QCOMPARE(closer.closed, QStringList{AboutText});
}

void KeyboardTest::onePressOneClick_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("repeats"); // auto-repeats while each press is held
    QTest::addColumn<bool>("released");
    QTest::addColumn<int>("clicks");
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_Space)}) {
        const char *name = key == Qt::Key_Return  ? "Return"
                           : key == Qt::Key_Enter ? "Enter"
                                                  : "Space";
        QTest::addRow("%s held down", name) << key << 1 << 5 << true << 1;
        QTest::addRow("%s pressed twice", name) << key << 2 << 0 << true << 2;
        QTest::addRow("%s still down", name) << key << 1 << 2 << false << 0;
        QTest::addRow("%s released with no press", name) << key << 0 << 0 << true << 0;
    }
}

void KeyboardTest::onePressOneClick() {
    QFETCH(int, key);
    QFETCH(int, presses);
    QFETCH(int, repeats);
    QFETCH(bool, released);
    QFETCH(int, clicks);
    CalculatorWindow w;
    QVERIFY(w.exposed);
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    vb::CommandButton *one = w.button("Command4");
    one->setFocus(Qt::TabFocusReason);
    QVERIFY(one->hasFocus());
    const Qt::KeyboardModifiers modifiers =
        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    for (int press = 0; press < std::max(presses, 1); ++press) {
        if (presses > 0) {
            SendKey(one, QEvent::KeyPress, key, modifiers, false);
            for (int repeat = 0; repeat < repeats; ++repeat) {
                // As the window system repeats a held key.
                SendKey(one, QEvent::KeyRelease, key, modifiers, true);
                SendKey(one, QEvent::KeyPress, key, modifiers, true);
            }
        }
        if (released)
            SendKey(one, QEvent::KeyRelease, key, modifiers, false);
    }
    QCOMPARE(w.text("Txt1"), QString(clicks, u'1'));
    QCOMPARE(one->isDown(), !released);
}

void KeyboardTest::enterInATextBoxDoesNothing_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    for (const char *box : {"Txt1", "Txt2", "Txt3", "Txt4"}) {
        QTest::addRow("Return in %s", box)
            << QString::fromLatin1(box) << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::addRow("keypad Enter in %s", box) << QString::fromLatin1(box) << int(Qt::Key_Enter)
                                                 << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }
}

void KeyboardTest::enterInATextBoxDoesNothing() {
    QFETCH(QString, box);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    CalculatorWindow w;
    QVERIFY(w.exposed);
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    // Every box holds text and an operation is pending.
    Play(w, u"8 + 7 = pi + pi"_s);
    w.box("Txt4")->SetText(u"45"_s);
    vb::TextBox *b = w.box(qPrintable(box));
    QTest::mouseClick(b, Qt::LeftButton);
    QVERIFY(b->hasFocus());
    b->setCursorPosition(1);
    const State before = Capture(w);
    QVERIFY(!before.first.isEmpty() && !before.second.isEmpty() && !before.result.isEmpty());
    const Marks marks = MarksOf(b);
    const ClickCounter clicks(w);

    QTest::keyClick(b, Qt::Key(key), modifiers);

    QCOMPARE(clicks.all(), QStringList());
    CompareState(Capture(w), before);
    QCOMPARE(MarksOf(b), marks);
    QCOMPARE(QApplication::focusWidget(), b);
    QCOMPARE(w.ends, 0);
}

void KeyboardTest::fullOperandRefusesADigit_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("room"); // characters the box still takes
    QTest::addColumn<At>("at");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("fits");
    QTest::newRow("full, caret at the front") << u"9"_s << 0 << At::Front << 0 << false;
    QTest::newRow("full, caret in the middle") << u"9"_s << 0 << At::Middle << 0 << false;
    QTest::newRow("full, caret at the end") << u"9"_s << 0 << At::End << 0 << false;
    QTest::newRow("full, point at the front") << u"."_s << 0 << At::Front << 0 << false;
    QTest::newRow("full, zero in the middle") << u"0"_s << 0 << At::Middle << 0 << false;
    QTest::newRow("full, one digit selected at the front") << u"9"_s << 0 << At::Front << 1 << true;
    QTest::newRow("full, one digit selected in the middle")
        << u"9"_s << 0 << At::Middle << 1 << true;
    QTest::newRow("full, the last digit selected") << u"9"_s << 0 << At::End << 1 << true;
    QTest::newRow("full, three digits selected") << u"9"_s << 0 << At::Middle << 3 << true;
    QTest::newRow("room for one, caret at the front") << u"9"_s << 1 << At::Front << 0 << true;
    QTest::newRow("room for one, caret at the end") << u"9"_s << 1 << At::End << 0 << true;
}

void KeyboardTest::fullOperandRefusesADigit() {
    QFETCH(QString, key);
    QFETCH(int, room);
    QFETCH(At, at);
    QFETCH(int, selected);
    QFETCH(bool, fits);
    CalculatorWindow w;
    QVERIFY(w.exposed);
    vb::TextBox *box = w.box("Txt1");
    box->SetText(Filled(vb::TextBox::Capacity - room));
    QTest::mouseClick(box, Qt::LeftButton);
    PlaceCaret(box, at, selected);
    const Marks before = MarksOf(box);

    w.press(key);

    const QString text = box->Text();
    if (!fits) {
        QCOMPARE(MarksOf(box), before);
        return;
    }
    QCOMPARE(text.size(), before.text.size() - selected + 1);
    QCOMPARE(text, Inserted(before, key));
    QCOMPARE(box->cursorPosition(), (selected > 0 ? before.start : before.caret) + 1);
    QVERIFY(box->selectedText().isEmpty());
}

void KeyboardTest::messageLineRefusesWhatDoesNotFit_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("room");     // characters the box still takes
    QTest::addColumn<int>("selected"); // at the front of the text
    QTest::addColumn<bool>("fits");
    // Typed keys and pastes; in a full box, Qt would take the selection out
    // and put in only what fits.
    QTest::newRow("typed, full") << u"keys"_s << u"9"_s << 0 << 0 << false;
    QTest::newRow("typed over a selection, full") << u"keys"_s << u"9"_s << 0 << 1 << true;
    QTest::newRow("typed, room for one") << u"keys"_s << u"9"_s << 1 << 0 << true;
    // Keys that put nothing in still work in a full box.
    QTest::newRow("Ctrl+A, then typed, full") << u"select all"_s << u"9"_s << 0 << 0 << true;
    const QString pastes[] = {u"Ctrl+V"_s, u"Shift+Insert"_s, u"input method"_s, u"menu"_s};
    for (const QString &way : pastes) {
        const QByteArray name = way.toUtf8();
        QTest::addRow("%s, 123 over one character, full", name.constData())
            << way << u"123"_s << 0 << 1 << false;
        QTest::addRow("%s, 123 over three characters, full", name.constData())
            << way << u"123"_s << 0 << 3 << true;
        QTest::addRow("%s, 123 with room for two", name.constData())
            << way << u"123"_s << 2 << 0 << false;
        QTest::addRow("%s, 123 with room for three", name.constData())
            << way << u"123"_s << 3 << 0 << true;
    }
    // As an input method corrects what was typed: the two characters after
    // the caret, which Qt selects before it puts the new ones in.
    QTest::newRow("input method, 123 in place of two, full")
        << u"input method replacing two"_s << u"123"_s << 0 << 0 << false;
    QTest::newRow("input method, 123 in place of two, room for one")
        << u"input method replacing two"_s << u"123"_s << 1 << 0 << true;
    QTest::newRow("drop, 123 with room for two") << u"drop"_s << u"123"_s << 2 << 0 << false;
    QTest::newRow("drop, 123 beside a selection, room for two")
        << u"drop"_s << u"123"_s << 2 << 3 << false;
    QTest::newRow("drop, 123 with room for three") << u"drop"_s << u"123"_s << 3 << 0 << true;
}

void KeyboardTest::messageLineRefusesWhatDoesNotFit() {
    QFETCH(QString, way);
    QFETCH(QString, input);
    QFETCH(int, room);
    QFETCH(int, selected);
    QFETCH(bool, fits);
    CalculatorWindow w;
    QVERIFY(w.exposed);
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    vb::TextBox *box = w.box("Txt4");
    QVERIFY(!box->Locked());
    box->SetText(Filled(vb::TextBox::Capacity - room));
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(box->hasFocus());
    PlaceCaret(box, At::Front, selected);
    QGuiApplication::clipboard()->setText(input);
    const Marks before = MarksOf(box);

    if (way == "keys"_L1) {
        QTest::keyClicks(box, input);
    } else if (way == "select all"_L1) {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(box->selectedText(), before.text);
        QTest::keyClicks(box, input);
        QCOMPARE(box->Text(), input);
        return;
    } else if (way == "Ctrl+V"_L1) {
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else if (way == "Shift+Insert"_L1) {
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    } else if (way == "input method"_L1) {
        QInputMethodEvent commit;
        commit.setCommitString(input);
        QApplication::sendEvent(box, &commit);
    } else if (way == "input method replacing two"_L1) {
        QInputMethodEvent replace;
        replace.setCommitString(input, 0, 2);
        QApplication::sendEvent(box, &replace);
        if (fits) {
            QCOMPARE(box->Text(),
                     before.text.left(before.caret) + input + before.text.mid(before.caret + 2));
            QCOMPARE(box->cursorPosition(), before.caret + input.size());
            return;
        }
    } else if (way == "menu"_L1) {
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, box->rect().center(),
                                    box->mapToGlobal(box->rect().center()));
        QApplication::sendEvent(box, &menuEvent);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        const auto close = qScopeGuard([menu] { menu->close(); });
        QAction *paste = nullptr;
        for (QAction *action : menu->actions())
            if (action->text().startsWith(QLineEdit::tr("&Paste")))
                paste = action;
        // Chosen, a paste that does not fit is refused like the keys' paste.
        QVERIFY(paste);
        QVERIFY(paste->isEnabled());
        paste->trigger();
    } else if (way == "drop"_L1) {
        QMimeData data;
        data.setText(input);
        QDropEvent drop(QPointF(box->rect().center()), Qt::CopyAction, &data, Qt::LeftButton,
                        Qt::NoModifier);
        // Straight to the box: the application hands a drop only to the
        // target of a drag in progress.
        static_cast<QObject *>(box)->event(&drop);
        QCOMPARE(drop.isAccepted(), fits);
        if (fits) {
            // It goes in whole where it was dropped, and takes nothing out.
            QString text = box->Text();
            QCOMPARE(text.size(), before.text.size() + input.size());
            QCOMPARE(text.count(input), 1);
            QCOMPARE(text.remove(input), before.text);
            return;
        }
    }

    if (!fits) {
        QCOMPARE(MarksOf(box), before);
        // Nothing of the refused input is left for Ctrl+Z to take back.
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(MarksOf(box), before);
        return;
    }
    QCOMPARE(box->Text(), Inserted(before, input));
    QCOMPARE(box->Text().size(), vb::TextBox::Capacity - room - selected + input.size());
    QVERIFY(box->Text().endsWith(u'7'));
}

QTEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
