// An error escaping an event handler is reported in a message box and ends the program
// with a non-zero status, rather than vanishing or crashing.

#include "support.h"

#include <memory>
#include <stdexcept>

using namespace veltrin;

class FatalTest : public QObject {
    Q_OBJECT

private slots:
    void anEscapedErrorIsReportedAndEndsWithStatusOne() {
        Form1 form;
        QStringList messages;
        const auto note = [&](QMessageBox& box) {
            messages << box.text();
            box.button(QMessageBox::Ok)->click();
        };
        // The start-up message; once it is answered and the window is up, the error, then its
        // report.
        std::unique_ptr<test::MessageWatch> second;
        test::MessageWatch first([&](QMessageBox& box) {
            note(box);
            second = std::make_unique<test::MessageWatch>(note);
            QTimer::singleShot(
                50, &form, [] { throw std::out_of_range("board subscript out of range: (4, 1)"); });
        });

        const int status = static_cast<Application*>(QApplication::instance())->run(form);
        QCOMPARE(status, 1);
        QCOMPARE(messages.size(), 2);
        QVERIFY(messages[1].contains("internal error"));
        QVERIFY(messages[1].contains("board subscript out of range: (4, 1)"));
    }
};

VELTRIN_QTEST_MAIN(FatalTest)
#include "fatal_test.moc"
