// Runs the real program's start-up and event loop, then ends it the way
// its first argument says: "x" clicks the exit button, "close" closes the
// window. Exits with 3 if the program failed to end, 4 if it had no window.
#include "project.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QtTest>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    // Only the program's own end stops the loop: Qt quitting after the last
    // window would hide a close that never reaches it.
    QApplication::setQuitOnLastWindowClosed(false);
    const QString how = QCoreApplication::arguments().value(1);
    QTimer::singleShot(0, [how] {
        bool found = false;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() != QLatin1String("Form1"))
                continue;
            found = true;
            if (how == QLatin1String("x"))
                QTest::mouseClick(window->findChild<QAbstractButton *>("Command42"),
                                  Qt::LeftButton);
            else
                window->close();
        }
        if (!found)
            QCoreApplication::exit(4);
    });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(3); });
    return vb::RunStartForm(ZendaricProject());
}
