#pragma once

#include "board/board.h"
#include "window/language.h"
#include "window/qt/qtplatform.h"
#include "window/qt/square.h"

#include <QWidget>

#include <array>
#include <string>

class QCheckBox;

namespace veltrin {

class SteadyButton;

// The one window: the nine squares and the Solve button on the board area, and the hidden
// box that holds the press mode. It owns the board and the last search's move record.
class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);

    // Shows the start-up message; the window is to be shown once it has returned.
    void startUp();

    // The move record of the last search, one digit per press.
    const std::string& solution() const { return solution_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void solve();
    void closeDown();

    QWidget* Picture1;
    std::array<Square*, squareCount> S;
    SteadyButton* Command1;
    QCheckBox* Setup;
    QtPlatform platform_;
    Board board_;
    std::string solution_;
    const Words words_ = combinationWords(); // the result message's, in the user's language
};

} // namespace veltrin
