// The program ends by the exit button and by closing its window: the whole
// process, run as the program runs.
#include <QProcess>
#include <QtTest>

class LifecycleTest : public QObject {
    Q_OBJECT
private slots:
    void ends_data();
    void ends();
};

void LifecycleTest::ends_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("the X button ends the program") << "x";
    QTest::newRow("closing the window ends the program") << "close";
}

void LifecycleTest::ends() {
    QFETCH(QString, how);
    QProcess program;
    program.start(QStringLiteral(ENDPROBE), {how});
    QVERIFY(program.waitForStarted());
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

QTEST_GUILESS_MAIN(LifecycleTest)
#include "tst_lifecycle.moc"
