// Closing the window in the middle of a search ends the program at once with status 0:
// no further press, no result message.

#include "support.h"

using namespace veltrin;

class CloseTest : public QObject {
    Q_OBJECT

private slots:
    void closingDuringASearchEndsWithoutAResult() {
        Form1 form;
        QStringList messages;
        test::MessageWatch startUp(test::noteAndAccept(messages));
        std::size_t pressesAtClose = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, &form, [&] {
            if (form.solution().size() >= 200) {
                closer.stop();
                pressesAtClose = form.solution().size();
                form.close();
            }
        });
        test::WhenShown whenShown(form, [&] {
            QTimer::singleShot(0, &form, [&] {
                // Runs the search inside this handler, as a real click does.
                test::clickIn(form, "RBWRBWRBW");
                closer.start(0);
                test::MessageWatch result(test::noteAndAccept(messages));
                QTest::mouseClick(test::child<QWidget>(form, "Command1"), Qt::LeftButton);
            });
        });

        const int status = test::app().run(form);
        QCOMPARE(status, 0);
        QCOMPARE(messages.size(), 1); // the start-up message only
        QVERIFY(pressesAtClose >= 200);
        QCOMPARE(form.solution().size(), pressesAtClose);
    }
};

VELTRIN_QTEST_MAIN(CloseTest)
#include "close_test.moc"
