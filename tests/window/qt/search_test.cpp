// Solve on the real window: the combination it reports solves the board that was clicked
// in, the board is left uniform and back in setup mode, and nothing the user does during
// the search changes it.

#include "support.h"
#include "support/boards.h"

#include <QCheckBox>

#include <malloc.h>

using namespace veltrin;
using test::rendered;

class SearchTest : public QObject {
    Q_OBJECT

private slots:
    void theReportedCombinationSolvesTheEnteredBoard() {
        for (const std::string entered : {"RWRWWWRWR", "BRRRRRRRR", "RBWWBRBRW"}) {
            Form1 form;
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            test::clickIn(form, entered);
            QCOMPARE(rendered(form), entered);

            const QString message = test::solveAndRead(form);
            QVERIFY2(message.startsWith(QString::fromStdString(test::texts().prompt + "\r\n\r\n")),
                     qPrintable(QString::fromStdString(entered) + ": " + message));
            const std::vector<int> counts = test::countsIn(message);
            QCOMPARE(counts.size(), std::size_t{9});
            const std::string replay = test::applyCounts(entered, counts);
            QVERIFY(test::uniform(replay));
            QCOMPARE(rendered(form), replay);
            QCOMPARE(form.solution().find_first_not_of("012345678"), std::string::npos);

            // Back in setup mode with the board unlocked: a click advances one square.
            QVERIFY(test::child<QCheckBox>(form, "Setup")->isChecked());
            QTest::mouseClick(test::square(form, 2), Qt::LeftButton);
            std::string after = replay;
            after[2] = test::advance(after[2]);
            QCOMPARE(rendered(form), after);
        }
    }

    void fiftySearchesKeepMemoryFlat() {
        // Fifty full rounds of clicks, search, message and OK on short boards; what the C++
        // heap holds must not grow between the fifth and the fiftieth.
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const char* boards[] = {"BRRRRRRRR", "RRRRBRRRR", "WRRRRRRRB", "RWRWWWRWR", "BBRRRRRRR"};
        std::size_t held[2] = {};
        for (int n = 0; n < 50; ++n) {
            test::clickIn(form, boards[n % 5]);
            QCOMPARE(test::countsIn(test::solveAndRead(form)).size(), std::size_t{9});
            if (n == 4 || n == 49) {
                held[n == 49] = mallinfo2().uordblks;
            }
        }
        qInfo("heap in use after 5 searches %zu bytes, after 50 %zu", held[0], held[1]);
        // Qt keeps a little for its text caches as new texts are shown: some KiB in all.
        QVERIFY2(held[1] < held[0] + 128 * 1024, qPrintable(QString::number(held[1] - held[0])));
    }

    void aUniformBoardTakesNoPress() {
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        test::clickIn(form, "WWWWWWWWW");
        const QString message = test::solveAndRead(form);
        QCOMPARE(test::countsIn(message), std::vector<int>(9, 0));
        QCOMPARE(form.solution(), std::string());
        QCOMPARE(rendered(form), std::string("WWWWWWWWW"));
    }

    void inputDuringASearchChangesNothing() {
        // Two fresh windows start from the same generator state, so a quiet search and a
        // busy one over the same board must give the same record and message.
        const std::string entered = "RBWRBWRBW";
        Form1 quiet;
        quiet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&quiet));
        test::clickIn(quiet, entered);
        const QString expected = test::solveAndRead(quiet);

        Form1 busy;
        busy.show();
        QVERIFY(QTest::qWaitForWindowActive(&busy));
        test::clickIn(busy, entered);
        int pokes = 0;
        QTimer poker;
        auto* setup = test::child<QCheckBox>(busy, "Setup");
        connect(&poker, &QTimer::timeout, &busy, [&] {
            if (setup->isChecked()) {
                return; // not searching (yet, or any more): a click would start a search
            }
            ++pokes;
            QTest::mouseClick(test::square(busy, pokes % 9), Qt::LeftButton);
            QTest::mouseClick(test::child<QWidget>(busy, "Command1"), Qt::LeftButton);
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &busy;
            for (const auto key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab}) {
                QTest::keyClick(target, key);
            }
        });
        poker.start(1);
        const QString got = test::solveAndRead(busy);
        poker.stop();
        QVERIFY2(pokes > 20, qPrintable(QString("only %1 pokes").arg(pokes)));
        QCOMPARE(got, expected);
        QCOMPARE(busy.solution(), quiet.solution());
        QCOMPARE(rendered(busy), rendered(quiet));
    }

    void theSquaresShowEachPressDuringTheSearch() {
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        test::clickIn(form, "RBWRBWRBW");
        int passes = 0, frames = 0, matching = 0;
        QTimer sampler;
        connect(&sampler, &QTimer::timeout, &form, [&] {
            // Rendering the window is slow next to a trial: look at one pass in fifty.
            if (test::child<QCheckBox>(form, "Setup")->isChecked() || ++passes % 50 != 0) {
                return;
            }
            // Replaying the record so far on the entered board gives what must be on screen.
            std::string expected = "RBWRBWRBW";
            for (const char c : form.solution()) {
                expected = test::gamePress(expected, c - '0');
            }
            ++frames;
            matching += rendered(form) == expected ? 1 : 0;
        });
        sampler.start(0);
        test::solveAndRead(form);
        sampler.stop();
        QVERIFY(frames > 10);
        QCOMPARE(matching, frames);
    }
};

VELTRIN_QTEST_MAIN(SearchTest)
#include "search_test.moc"
