#pragma once

// Helpers for driving the real window under Qt Test: reading colours off the rendered
// pixels, and answering message boxes when they come up.

#include "support/boards.h"
#include "support/texts.h"
#include "window/qt/application.h"
#include "window/qt/form1.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace veltrin::test {

// The board as it is on screen, row by row from the top left: the letter (R, B, W) for the
// colour rendered at the middle of each square, '?' for any other.
inline std::string rendered(QWidget& form) {
    const QImage image = form.grab().toImage();
    std::string board;
    for (int k = 0; k < 9; ++k) {
        const QColor c = image.pixelColor(8 + (k % 3) * 40 + 20, 8 + (k / 3) * 40 + 20);
        board += letterOf(static_cast<Colour>(c.red() | c.green() << 8 | c.blue() << 16));
    }
    return board;
}

template <class T> T* child(QWidget& form, const char* name) {
    T* widget = form.findChild<T*>(QString::fromLatin1(name));
    if (!widget) {
        qFatal("no child named %s", name);
    }
    return widget;
}

// Calls `answer` with the next message box once it is up and modal. The answer usually
// reads it and presses OK. Returns a flag that tells whether it has come.
class MessageWatch {
public:
    explicit MessageWatch(std::function<void(QMessageBox&)> answer) : answer_(std::move(answer)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && box->isVisible()) {
                timer_.stop();
                seen_ = true;
                answer_(*box);
            }
        });
        timer_.start();
    }
    bool seen() const { return seen_; }

private:
    std::function<void(QMessageBox&)> answer_;
    QTimer timer_;
    bool seen_ = false;
};

// Presses OK on a message box after recording its exact text, read through Ctrl+C.
inline QString copyAndAccept(QMessageBox& box) {
    QApplication::clipboard()->clear();
    // Shortcuts reach only the active window.
    if (!QTest::qWaitFor([&] { return QApplication::activeWindow() == &box; })) {
        QTest::qFail("the message box never became active", __FILE__, __LINE__);
    }
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    const QString text = QApplication::clipboard()->text();
    box.button(QMessageBox::Ok)->click();
    return text;
}

// Makes `window` the active window, as the window system does when the user turns to it.
inline bool activate(QWidget& window) {
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

inline QWidget* square(QWidget& form, int k) {
    return child<QWidget>(form, qPrintable(QString("S%1").arg(k)));
}

// Enters a board written as nine letters (R, B, W) by clicking the squares of a window that
// shows `from`.
inline void clickIn(QWidget& form, const std::string& pattern,
                    const std::string& from = "RRRRRRRRR") {
    test::clickIn(
        pattern, [&](int k) { QTest::mouseClick(square(form, k), Qt::LeftButton); }, from);
}

// Presses Solve, with a click unless `press` says how, and answers the result message;
// returns its exact text.
inline std::string solveAndRead(QWidget& form, const std::function<void()>& press = {}) {
    QString text;
    MessageWatch watch([&](QMessageBox& box) { text = copyAndAccept(box); });
    if (press) {
        press();
    } else {
        QTest::mouseClick(child<QWidget>(form, "Command1"), Qt::LeftButton);
    }
    if (!QTest::qWaitFor([&] { return watch.seen(); })) {
        QTest::qFail("Solve showed no result message", __FILE__, __LINE__);
    }
    return text.toStdString();
}

} // namespace veltrin::test

namespace veltrin::test {

// A check that fails inside a callback (a message box's answer, a timer) returns from that
// callback alone, and whatever it was to end, a box or the program's event loop, would wait
// for a user who never comes. So a check that fails while a case runs ends the program at
// once, once it has reported itself.
inline void endOnFailure() {
    auto* watch = new QTimer(QCoreApplication::instance());
    QObject::connect(watch, &QTimer::timeout, [] {
        if (QTest::currentTestFailed()) {
            std::puts("A check failed inside a callback: the test program ends here.");
            std::fflush(nullptr);
            std::_Exit(EXIT_FAILURE);
        }
    });
    watch->start(10);
}

} // namespace veltrin::test

// Window tests run with the program's own application object, as the program does.
#define VELTRIN_QTEST_MAIN(TestClass)                                                              \
    int main(int argc, char** argv) {                                                              \
        veltrin::Application app(argc, argv);                                                      \
        veltrin::test::endOnFailure();                                                             \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
