// Measures what a user waits for after "Solve!": the cost of one trial of the real search
// in the real window, against the plainest Qt loop doing the same work per trial (nine
// autoFillBackground push buttons recoloured through their palettes, one event pass per
// trial). Also measures the headless core's presses per second.
//
// Run it on any Qt platform: QT_QPA_PLATFORM=offscreen, or xcb under an X server.

#include "bench/bench.h"
#include "board/board.h"
#include "solver/solver.h"
#include "window/qt/form1.h"
#include "window/qt/square.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::Result;

// The longest time between two frames of the board while a search ran, over every search.
double longestFrameMs = 0;

// Notes when the squares are painted: a frame is each burst of paints.
struct FrameWatch : QObject {
    std::vector<Clock::time_point> frames;
    bool eventFilter(QObject*, QEvent* event) override {
        const auto now = Clock::now();
        if (event->type() == QEvent::Paint &&
            (frames.empty() || now - frames.back() > std::chrono::milliseconds(1))) {
            frames.push_back(now);
        }
        return false;
    }
};

// The real window: click the board in, press Solve, stop the clock when the result is up.
Result realSearch() {
    Result total;
    for (const std::string& board : bench::boardsToRun()) {
        veltrin::Form1 form;
        form.show();
        if (!QTest::qWaitForWindowExposed(&form)) {
            qFatal("window never exposed");
        }
        for (int k = 0; k < 9; ++k) {
            auto* square = form.findChild<QWidget*>(QStringLiteral("S%1").arg(k));
            for (int n = bench::valueOf(board[static_cast<std::size_t>(k)]); n > 0; --n) {
                QTest::mouseClick(square, Qt::LeftButton);
            }
        }
        QCoreApplication::processEvents();
        FrameWatch watch;
        for (QWidget* square : form.findChildren<veltrin::Square*>()) {
            square->installEventFilter(&watch);
        }
        Clock::time_point started, ended;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ended = Clock::now();
                answer.stop();
                box->accept();
            }
        });
        answer.start(5); // rare enough to cost nothing measurable, close enough to time
        started = Clock::now();
        form.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        total.trials += static_cast<long>(form.solution().size());
        total.seconds += std::chrono::duration<double>(ended - started).count();
        // Between two frames of the search: its first comes a frame after Solve, its last
        // as it ends.
        std::optional<Clock::time_point> last;
        for (const Clock::time_point frame : watch.frames) {
            if (frame > started && frame <= ended) {
                const auto gap = last ? frame - *last : Clock::duration{};
                longestFrameMs = std::max(longestFrameMs,
                                          std::chrono::duration<double, std::milli>(gap).count());
                last = frame;
            }
        }
    }
    return total;
}

// The baseline: the same presses on plain styled buttons, one event pass per trial.
Result baselineSearch() {
    const QColor colours[] = {QColor(255, 0, 0), QColor(0, 0, 255), QColor(255, 255, 255)};
    Result total;
    for (const std::string& board : bench::boardsToRun()) {
        QWidget window;
        window.setFixedSize(136, 158);
        QWidget area(&window);
        area.setGeometry(8, 8, 129, 153);
        QPushButton* buttons[9];
        std::array<int, 9> values{};
        for (int k = 0; k < 9; ++k) {
            buttons[k] = new QPushButton(&area);
            buttons[k]->setFlat(true);
            buttons[k]->setAutoFillBackground(true);
            buttons[k]->setGeometry((k % 3) * 40, (k / 3) * 40, 41, 41);
            values[k] = bench::valueOf(board[static_cast<std::size_t>(k)]);
            QPalette palette = buttons[k]->palette();
            palette.setColor(QPalette::Button, colours[values[k]]);
            buttons[k]->setPalette(palette);
        }
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) {
            qFatal("window never exposed");
        }
        const auto started = Clock::now();
        auto advance = [&](int k) {
            values[k] = (values[k] + 1) % 3;
            QPalette palette = buttons[k]->palette();
            palette.setColor(QPalette::Button, colours[values[k]]);
            buttons[k]->setPalette(palette);
        };
        const long trials = bench::plainSearch(
            values, [] { QCoreApplication::processEvents(); }, advance);
        total.trials += trials;
        total.seconds += std::chrono::duration<double>(Clock::now() - started).count();
    }
    return total;
}

// The core alone, with a platform that does nothing.
double corePressesPerSecond() {
    struct Quiet : veltrin::Platform {
        void paintSquare(int, veltrin::Colour) override {}
        bool setupMode() const override { return false; }
        void setSetupMode(bool) override {}
        void lockBoard(bool) override {}
        std::uint32_t nextRandom() override { return 0; }
        void msgBox(const std::string&) override {}
    } quiet;
    veltrin::Board board{quiet};
    const long presses = bench::shortRun() ? 2'000'000 : 200'000'000;
    const auto started = Clock::now();
    for (long n = 0; n < presses; ++n) {
        board.pressSquare(static_cast<int>(n % 9));
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    if (board.isSolved() && board.value(0) > 2) {
        std::puts("impossible"); // keeps the loop's result alive
    }
    return static_cast<double>(presses) / seconds;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // "real" or "baseline" alone runs just that part, for a profiler.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const bool help = only == "--help" || only == "-h";
    if (help || argc > 2 || !(only.isEmpty() || only == "real" || only == "baseline")) {
        // Asked for, the usage is the answer; otherwise it explains a refusal.
        std::fprintf(help ? stdout : stderr, "usage: %s [real|baseline]\n", argv[0]);
        return help ? 0 : 2;
    }
    std::printf("platform: %s, %zu boards\n", qPrintable(QGuiApplication::platformName()),
                bench::boardsToRun().size());
    if (!only.isEmpty()) {
        const Result one = only == "real" ? realSearch() : baselineSearch();
        std::printf("%s: %ld trials %.2f us/trial\n", argv[1], one.trials, one.microsPerTrial());
        return 0;
    }
    const int status = bench::compare(realSearch(), baselineSearch());
    std::printf("longest time between two frames of a search: %.1f ms\n", longestFrameMs);
    std::printf("headless core: %.1f million presses per second\n", corePressesPerSecond() / 1e6);
    return status;
}
