// An error escaping an event handler is reported in a message box and ends the program
// with a non-zero status, rather than vanishing or crashing.

#include "support.h"

#include <stdexcept>

using namespace veltrin;

class FatalTest : public QObject {
    Q_OBJECT

private slots:
    void anEscapedErrorIsReportedAndEndsWithStatusOne() {
        Form1 form;
        QStringList messages;
        // The start-up message, then the report.
        test::MessageWatch first([&](QMessageBox& box) {
            messages << box.text();
            box.button(QMessageBox::Ok)->click();
        });
        QTimer thrower;
        thrower.setSingleShot(true);
        thrower.setInterval(50);
        test::MessageWatch* second = nullptr;
        connect(&thrower, &QTimer::timeout, &form, [&] {
            second = new test::MessageWatch([&](QMessageBox& box) {
                messages << box.text();
                box.button(QMessageBox::Ok)->click();
            });
            throw std::out_of_range("board subscript out of range: (4, 1)");
        });
        QTimer starter;
        starter.setInterval(20);
        connect(&starter, &QTimer::timeout, &form, [&] {
            if (form.isVisible()) {
                starter.stop();
                thrower.start();
            }
        });
        starter.start();

        const int status = static_cast<Application*>(QApplication::instance())->run(form);
        delete second;
        QCOMPARE(status, 1);
        QCOMPARE(messages.size(), 2);
        QVERIFY(messages[1].contains("internal error"));
        QVERIFY(messages[1].contains("board subscript out of range: (4, 1)"));
    }
};

VELTRIN_QTEST_MAIN(FatalTest)
#include "fatal_test.moc"
