// Solve on the real window: thousands of random clicks and solves kept in step with a model
// of the game, the squares showing each press during a search while the board keeps its look
// and refuses input, and memory flat over fifty searches.
//
// The random actions come from a fixed seed, so that every run of one commit tests the same
// thing; set VELTRIN_SEED to explore others, or to replay a failure.

#include "support.h"
#include "support/boards.h"
#include "support/golden.h"

#include <QAccessible>
#include <QCheckBox>

#include <malloc.h>
#include <random>
#include <set>

using namespace veltrin;
using test::rendered;

class SearchTest : public QObject {
    Q_OBJECT

private slots:
    void fiftySearchesKeepMemoryFlat() {
        // Every block counts, the large ones malloc maps on its own included: a buffer that
        // grows is soon one of those.
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const long long growth = test::heapGrowthOverFiftySearches(
            [&](const std::string& to, const std::string& from) { test::clickIn(form, to, from); },
            [&] {
                test::solveAndRead(form);
                return form.solution();
            },
            [] { return mallinfo2().uordblks + mallinfo2().hblkhd; });
        // Qt keeps a little for its text caches as new texts are shown: some KiB in all.
        QVERIFY2(growth < 128 * 1024, qPrintable(QString::number(growth)));
    }

    void theSquaresShowEachPressDuringTheSearchAndTakeNoInput() {
        // The recorded searches of a fresh run, until every square has been clicked during one.
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* solve = test::child<QWidget>(form, "Command1");
        const QImage solveLook = solve->grab().toImage();
        std::string entered, shown = "RRRRRRRRR";
        int passes = 0;
        std::set<int> tried;
        QTimer sampler;
        connect(&sampler, &QTimer::timeout, &form, [&] {
            // Rendering the window is slow next to a trial: look at one pass in fifty.
            if (test::child<QCheckBox>(form, "Setup")->isChecked() || ++passes % 50 != 0) {
                return;
            }
            // What a user may try meanwhile: a click on a square and on Solve, Space for
            // whatever has the focus, and a screen reader's press. None may reach the board or
            // start a second search.
            const std::string record = form.solution();
            const int k = passes / 50 % 9;
            tried.insert(k);
            QWidget* square = test::square(form, k);
            QTest::mouseClick(square, Qt::LeftButton);
            QTest::mouseClick(solve, Qt::LeftButton);
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : &form, Qt::Key_Space);
            QAccessible::queryAccessibleInterface(square)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
            QVERIFY2(form.solution() == record, "a click on Solve started a second search");
            // Replaying the record on the entered board gives what must be on screen.
            std::string expected = entered;
            for (const char c : record) {
                expected = test::gamePress(expected, c - '0');
            }
            const std::string now = rendered(form);
            QVERIFY2(now == expected,
                     (now + " shown, the search's presses give " + expected).c_str());
            QVERIFY2(solve->grab().toImage() == solveLook, "the Solve button changed its look");
        });
        sampler.start(0);
        for (const test::Search& search : test::goldenSearches()) {
            if (tried.size() == squareCount) {
                break;
            }
            test::clickIn(form, search.board, shown);
            entered = search.board;
            test::solveAndRead(form);
            shown = search.solved;
        }
        QVERIFY2(tried.size() == squareCount,
                 qPrintable(QString("%1 squares clicked during the searches").arg(tried.size())));
    }

    void randomActionsKeepScreenAndModelInStep() {
        const QByteArray given = qgetenv("VELTRIN_SEED");
        const unsigned seed = given.isEmpty() ? 20261209u : given.toUInt();
        const QByteArray replay = "seed " + QByteArray::number(seed) + " (VELTRIN_SEED replays)";
        std::mt19937 pick(seed);

        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* setup = test::child<QCheckBox>(form, "Setup");
        std::string model = "RRRRRRRRR";
        int solves = 0;
        bool solveAgain = false;
        for (int action = 0; action < 10000; ++action) {
            if (solveAgain || pick() % 200 == 0) {
                const std::string before = model;
                const std::vector<int> counts = test::countsIn(test::solveAndRead(form));
                QVERIFY2(counts.size() == 9, replay);
                model = test::applyCounts(model, counts);
                QVERIFY2(test::uniform(model), qPrintable(replay + " from " + before.c_str()));
                ++solves;
                solveAgain = pick() % 4 == 0;
            } else {
                const int k = static_cast<int>(pick() % 9);
                QTest::mouseClick(test::square(form, k), Qt::LeftButton);
                char& square = model[static_cast<std::size_t>(k)];
                square = test::advance(square);
            }
            const std::string shown = test::rendered(form);
            QVERIFY2(shown == model,
                     qPrintable(replay + " at action " + QByteArray::number(action) + ": shown " +
                                shown.c_str() + ", model " + model.c_str()));
            QVERIFY2(setup->isChecked(), replay); // always back in setup mode between actions
        }
        qInfo("%d solves among 10000 actions, %s", solves, replay.constData());
    }
};

VELTRIN_QTEST_MAIN(SearchTest)
#include "search_test.moc"
