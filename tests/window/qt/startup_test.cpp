// Start-up and close: the start-up message comes first, exact, and the window appears only
// once it is dismissed; closing the window ends the program with status 0.

#include "support.h"

using namespace veltrin;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void messageFirstThenWindowThenCloseEndsWithZero() {
        Form1 form;
        QString copied;
        bool windowHiddenDuringMessage = false;
        test::MessageWatch watch([&](QMessageBox& box) {
            windowHiddenDuringMessage = !form.isVisible();
            copied = test::copyAndAccept(box);
        });
        test::WhenShown whenShown(form, [&] { form.close(); });

        QCOMPARE(test::app().run(form), 0);
        QVERIFY(watch.seen());
        QVERIFY(windowHiddenDuringMessage);
        QCOMPARE(copied, QString::fromStdString(test::texts().startUp));
    }
};

VELTRIN_QTEST_MAIN(StartupTest)
#include "startup_test.moc"
