// Thousands of random actions on the real window (square clicks, solves, several solves in
// a row), each followed by a comparison of the rendered squares and the press mode with a
// model of the game kept here. The actions come from a fixed seed, so that every run of one
// commit tests the same thing; set VELTRIN_SEED to explore others, or to replay a failure.

#include "support.h"
#include "support/boards.h"

#include <QCheckBox>

#include <random>

using namespace veltrin;

class ModelTest : public QObject {
    Q_OBJECT

private slots:
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

VELTRIN_QTEST_MAIN(ModelTest)
#include "model_test.moc"
