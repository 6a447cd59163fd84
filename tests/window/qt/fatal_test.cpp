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
        // The start-up message, then the report.
        test::MessageWatch first(test::noteAndAccept(messages));
        std::unique_ptr<test::MessageWatch> second;
        test::WhenShown whenShown(form, [&] {
            QTimer::singleShot(50, &form, [&] {
                second = std::make_unique<test::MessageWatch>(test::noteAndAccept(messages));
                throw std::out_of_range("board subscript out of range: (4, 1)");
            });
        });

        const int status = test::app().run(form);
        QCOMPARE(status, 1);
        QCOMPARE(messages.size(), 2);
        QVERIFY(messages[1].contains("internal error"));
        QVERIFY(messages[1].contains("board subscript out of range: (4, 1)"));
    }
};

VELTRIN_QTEST_MAIN(FatalTest)
#include "fatal_test.moc"
