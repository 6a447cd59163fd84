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
        test::MessageWatch startUp([&](QMessageBox& box) {
            messages << box.text();
            box.button(QMessageBox::Ok)->click();
        });
        std::size_t pressesAtClose = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, &form, [&] {
            if (form.solution().size() >= 200) {
                closer.stop();
                pressesAtClose = form.solution().size();
                form.close();
            }
        });
        QTimer driver;
        driver.setSingleShot(true);
        connect(&driver, &QTimer::timeout, &form, [&] {
            // Runs the search inside this handler, as a real click does.
            test::clickIn(form, "RBWRBWRBW");
            closer.start(0);
            auto* watch = new test::MessageWatch([&](QMessageBox& box) {
                messages << box.text();
                box.button(QMessageBox::Ok)->click();
            });
            QTest::mouseClick(test::child<QWidget>(form, "Command1"), Qt::LeftButton);
            delete watch;
        });
        QTimer starter;
        connect(&starter, &QTimer::timeout, &form, [&] {
            if (form.isVisible()) {
                starter.stop();
                driver.start(0);
            }
        });
        starter.start(10);

        const int status = static_cast<Application*>(QApplication::instance())->run(form);
        QCOMPARE(status, 0);
        QCOMPARE(messages.size(), 1); // the start-up message only
        QVERIFY(pressesAtClose >= 200);
        QCOMPARE(form.solution().size(), pressesAtClose);
    }
};

VELTRIN_QTEST_MAIN(CloseTest)
#include "close_test.moc"
