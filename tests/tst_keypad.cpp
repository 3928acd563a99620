// The window at start, the digit keys, the routing rule and caret
// insertion, and what the user can and cannot do in the boxes.
#include "calculatorwindow.h"

#include <QClipboard>
#include <QGuiApplication>

using namespace Qt::StringLiterals;

namespace {

// The x coordinate inside `box` where a click puts the caret at `position`.
int XForPosition(vb::TextBox *box, int position) {
    box->repaint(); // the line edit places aligned text when it paints
    for (int x = 0; x < box->width(); ++x)
        if (box->cursorPositionAt(QPoint(x, box->height() / 2)) == position)
            return x;
    return -1;
}

} // namespace

class KeypadTest : public QObject {
    Q_OBJECT
private slots:
    void startsEmptyWithItsControls();
    void digitKeysEnterTheirDigit_data();
    void digitKeysEnterTheirDigit();
    void routing_data();
    void routing();
    void digitClearsResultAndKeepsOperator();
    void caretInsertion_data();
    void caretInsertion();
    void mouseSelectionIsReplaced();
    void wholeTextReplacePutsCaretAtEnd();
    void lockedBoxesRefuseEditing_data();
    void lockedBoxesRefuseEditing();
    void lockedBoxesStillSelectAndCopy();
    void messageLineAcceptsTyping();
    void exitButtonEndsTheProgram();
};

void KeypadTest::startsEmptyWithItsControls() {
    CalculatorWindow w;
    QVERIFY(w.exposed);
    QCOMPARE(w.form->objectName(), u"Form1"_s);
    QCOMPARE(w.form->findChildren<vb::CommandButton *>().size(), 29);
    QCOMPARE(w.form->findChildren<vb::TextBox *>().size(), 4);
    QCOMPARE(w.form->findChildren<vb::Label *>().size(), 1);
    QVERIFY(w.timer());
    QCOMPARE(w.form->Lines().size(), 8u);
    for (const char *name : {"Txt1", "Txt2", "Txt3", "Txt4"})
        QCOMPARE(w.text(name), QString());
    QCOMPARE(w.caption(), QString());
    QVERIFY(w.box("Txt1")->Locked());
    QVERIFY(w.box("Txt2")->Locked());
    QVERIFY(w.box("Txt3")->Locked());
    QVERIFY(!w.box("Txt4")->Locked());
    QCOMPARE(w.timer()->Interval(), 0);
    QCOMPARE(w.timer()->RemainingTime(), -1);
}

void KeypadTest::digitKeysEnterTheirDigit_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("digit");
    const std::pair<const char *, const char *> keys[] = {
        {"Command4", "1"}, {"Command10", "2"}, {"Command12", "3"},
        {"Command8", "4"}, {"Command11", "5"}, {"Command13", "6"},
        {"Command9", "7"}, {"Command7", "8"},  {"Command14", "9"}};
    for (auto [button, digit] : keys)
        QTest::addRow("%s enters %s", button, digit) << button << digit;
}

void KeypadTest::digitKeysEnterTheirDigit() {
    QFETCH(QString, button);
    QFETCH(QString, digit);
    CalculatorWindow w;
    w.click(qPrintable(button));
    w.click(qPrintable(button));
    QCOMPARE(w.text("Txt1"), digit + digit);
    QCOMPARE(w.text("Txt2"), QString());
    QCOMPARE(w.text("Txt3"), QString());
    QCOMPARE(w.text("Txt4"), QString());
    QCOMPARE(w.timer()->Interval(), 0);
}

void KeypadTest::routing_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("toSecond");
    QTest::newRow("no operator goes to Txt1") << QString() << false;
    for (const QString &code : {u"+"_s, u"-"_s, u"×"_s, u"÷"_s, u"أس"_s, u"جذر"_s})
        QTest::addRow("%s goes to Txt2", qPrintable(code)) << code << true;
    for (const QString &code : {u"x2"_s, u"x3"_s, u"جذر2"_s, u"جذر3"_s})
        QTest::addRow("%s goes to Txt1", qPrintable(code)) << code << false;
}

void KeypadTest::routing() {
    QFETCH(QString, caption);
    QFETCH(bool, toSecond);
    CalculatorWindow w;
    w.box("Txt1")->SetText(u"3"_s);
    w.label()->SetCaption(caption);
    w.press(u"45"_s);
    QCOMPARE(w.text("Txt1"), toSecond ? u"3"_s : u"345"_s);
    QCOMPARE(w.text("Txt2"), toSecond ? u"45"_s : QString());
    QCOMPARE(w.caption(), caption);
}

void KeypadTest::digitClearsResultAndKeepsOperator() {
    CalculatorWindow w;
    w.box("Txt3")->SetText(u"17"_s);
    w.label()->SetCaption(u"+"_s);
    w.box("Txt1")->SetText(u"12"_s);
    w.press(u"4"_s);
    QCOMPARE(w.text("Txt3"), QString());
    QCOMPARE(w.text("Txt2"), u"4"_s);
    QCOMPARE(w.text("Txt1"), u"12"_s);
    QCOMPARE(w.caption(), u"+"_s);
}

void KeypadTest::caretInsertion_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QKeyCombination>>("keys"); // keys typed in the box first
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("expected");
    using K = QList<QKeyCombination>;
    QTest::newRow("caret at the end adds after") << u"12"_s << K{Qt::Key_End} << u"3"_s << u"123"_s;
    QTest::newRow("caret at the start puts in front")
        << u"12"_s << K{Qt::Key_Home} << u"3"_s << u"312"_s;
    QTest::newRow("successive keys keep their order")
        << u"19"_s << K{Qt::Key_Home, Qt::Key_Right} << u"78"_s << u"1789"_s;
    QTest::newRow("selected 2 of 123 is replaced by 9")
        << u"123"_s << K{Qt::Key_Home, Qt::Key_Right, Qt::ShiftModifier | Qt::Key_Right} << u"9"_s
        << u"193"_s;
    QTest::newRow("selection made leftwards is replaced too")
        << u"123"_s << K{Qt::Key_End, Qt::ShiftModifier | Qt::Key_Left} << u"45"_s << u"1245"_s;
    QTest::newRow("everything selected is replaced")
        << u"123"_s << K{Qt::ControlModifier | Qt::Key_A} << u"7"_s << u"7"_s;
}

void KeypadTest::caretInsertion() {
    QFETCH(QString, text);
    QFETCH(QList<QKeyCombination>, keys);
    QFETCH(QString, digits);
    QFETCH(QString, expected);
    for (const char *target : {"Txt1", "Txt2"}) {
        CalculatorWindow w;
        if (target == QLatin1String("Txt2"))
            w.label()->SetCaption(u"×"_s);
        vb::TextBox *box = w.box(target);
        box->SetText(text);
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(box->hasFocus());
        for (QKeyCombination key : keys)
            QTest::keyClick(box, key.key(), key.keyboardModifiers());
        w.press(digits);
        QCOMPARE(box->Text(), expected);
    }
}

void KeypadTest::mouseSelectionIsReplaced() {
    CalculatorWindow w;
    vb::TextBox *box = w.box("Txt1");
    box->SetText(u"123"_s);
    const int from = XForPosition(box, 1), to = XForPosition(box, 2);
    QVERIFY(from >= 0 && to > from);
    const int y = box->height() / 2;
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(from, y));
    QTest::mouseMove(box, QPoint(to, y));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(to, y));
    QCOMPARE(box->selectedText(), u"2"_s);
    w.press(u"9"_s);
    QCOMPARE(box->Text(), u"193"_s);
    // The caret stands after the new digit, with nothing selected.
    w.press(u"8"_s);
    QCOMPARE(box->Text(), u"1983"_s);
}

void KeypadTest::wholeTextReplacePutsCaretAtEnd() {
    CalculatorWindow w;
    w.press(u"12"_s);
    QTest::mouseClick(w.box("Txt1"), Qt::LeftButton);
    QTest::keyClick(w.box("Txt1"), Qt::Key_Home);
    w.box("Txt1")->SetText(u"45"_s);
    w.press(u"6"_s);
    QCOMPARE(w.text("Txt1"), u"456"_s);
}

void KeypadTest::lockedBoxesRefuseEditing_data() {
    QTest::addColumn<QString>("box");
    for (const char *name : {"Txt1", "Txt2", "Txt3"})
        QTest::newRow(name) << name;
}

void KeypadTest::lockedBoxesRefuseEditing() {
    QFETCH(QString, box);
    CalculatorWindow w;
    vb::TextBox *b = w.box(qPrintable(box));
    b->SetText(u"12"_s);
    QTest::mouseClick(b, Qt::LeftButton);
    QVERIFY(b->hasFocus());
    QTest::keyClicks(b, u"5"_s);
    QCOMPARE(b->Text(), u"12"_s);
    QGuiApplication::clipboard()->setText(u"99"_s);
    QTest::keyClick(b, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(b->Text(), u"12"_s);
    QTest::keyClick(b, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(b, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(b, Qt::Key_Delete);
    QTest::keyClick(b, Qt::Key_End);
    QTest::keyClick(b, Qt::Key_Backspace);
    QCOMPARE(b->Text(), u"12"_s);
}

void KeypadTest::lockedBoxesStillSelectAndCopy() {
    CalculatorWindow w;
    vb::TextBox *b = w.box("Txt1");
    b->SetText(u"123"_s);
    QTest::mouseClick(b, Qt::LeftButton);
    QTest::keyClick(b, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(b->selectedText(), u"123"_s);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(b, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"123"_s);
}

void KeypadTest::messageLineAcceptsTyping() {
    CalculatorWindow w;
    vb::TextBox *line = w.box("Txt4");
    QTest::mouseClick(line, Qt::LeftButton);
    QTest::keyClicks(line, u"abc"_s);
    QCOMPARE(line->Text(), u"abc"_s);
    QCOMPARE(w.text("Txt1"), QString());
}

void KeypadTest::exitButtonEndsTheProgram() {
    CalculatorWindow w;
    w.press(u"12"_s);
    w.click("Command42");
    QCOMPARE(w.ends, 1);
}

QTEST_MAIN(KeypadTest)
#include "tst_keypad.moc"
