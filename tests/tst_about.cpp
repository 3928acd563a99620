// The about box of "ver 0.1": what it shows, that it is modal, and that the
// calculator is as it was once it is closed.
#include "calculatorwindow.h"

#include <QMessageBox>
#include <QWindow>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString AboutText =
    u"حاسبة Zendaric تحفة عربية للعرب فقط و(((القادم أحلى))) مع تحيات Halvorin"_s;
const QString AboutTitle = u"حاسبة Zendaric ver 0,1"_s;

// A click that comes as a user's does, through the window system, where a
// modal box can stop it. QTest's clicks on a widget go straight to the
// widget and pass any modal box by.
void ClickThroughWindow(QWidget *widget) {
    QWidget *window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      widget->mapTo(window, widget->rect().center()));
}

// Looks out for message boxes: each one that opens is counted, handed to
// `check` and then closed if still open, so that a failed check never
// leaves the test waiting in the box.
class MessageBoxWatch : public QObject {
public:
    explicit MessageBoxWatch(std::function<void(QMessageBox *)> check) : check_(std::move(check)) {
        connect(&poll_, &QTimer::timeout, this, &MessageBoxWatch::look);
        poll_.start(10);
    }
    int boxes = 0;

private:
    void look() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (busy_ || !box || !box->isVisible())
            return;
        busy_ = true;
        ++boxes;
        check_(box);
        if (box->isVisible())
            box->done(QMessageBox::Cancel);
        busy_ = false;
    }

    std::function<void(QMessageBox *)> check_;
    QTimer poll_;
    bool busy_ = false;
};

void CheckAboutBox(QMessageBox *box, const CalculatorWindow &w, const State &before) {
    QCOMPARE(box->windowTitle(), AboutTitle);
    QCOMPARE(box->text(), AboutText);
    QCOMPARE(box->text().size(), 72);
    QCOMPARE(box->icon(), QMessageBox::NoIcon);
    QVERIFY(box->iconPixmap().isNull());
    const QList<QAbstractButton *> buttons = box->buttons();
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(box->standardButton(buttons.first()), QMessageBox::Ok);
    QCOMPARE(box->windowModality(), Qt::ApplicationModal);
    QCOMPARE(box->layoutDirection(), QGuiApplication::layoutDirection());

    // The window underneath takes no click while the box is open.
    ClickThroughWindow(w.button("Command4"));
    ClickThroughWindow(w.button("Command39"));
    QCOMPARE(QApplication::activeModalWidget(), box);
    CompareState(Capture(w), before);

    ClickThroughWindow(buttons.first());
    QVERIFY(!box->isVisible());
}

} // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void aboutBox_data();
    void aboutBox();
};

void AboutTest::aboutBox_data() {
    QTest::addColumn<QString>("steps"); // clicked first

    // 8 ÷ 0 = leaves its message, 12 + 3 = the result 15, then π + π.
    QTest::newRow("every box filled, message timer running") << u"8 ÷ 0 = 12 + 3 = pi + pi"_s;
    QTest::newRow("12 + 3 pending, timer idle") << u"12 + 3"_s;
}

void AboutTest::aboutBox() {
    QFETCH(QString, steps);
    CalculatorWindow w;
    QVERIFY(w.exposed);
    Play(w, steps);
    const State before = Capture(w);
    QVERIFY(!before.first.isEmpty() && !before.second.isEmpty() && !before.op.isEmpty());

    MessageBoxWatch watch([&](QMessageBox *box) { CheckAboutBox(box, w, before); });
    w.click("Command24");
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(watch.boxes, 1);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    CompareState(Capture(w), before);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(w.ends, 0);
    QVERIFY(w.form->isVisible());

    // Once the box is gone the same click reaches the window again.
    ClickThroughWindow(w.button("Command4"));
    QCOMPARE(w.text("Txt2"), before.second + u"1"_s);
}

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
