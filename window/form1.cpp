#include "window/form1.h"

#include "solver/solver.h"
#include "window/lifetime.h"
#include "window/messagebox.h"
#include "window/steadybutton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>

namespace veltrin {

namespace {

// Geometry in device-independent pixels at 96 dots per inch; Qt scales it on denser screens.
constexpr int squarePitch = 40;
constexpr int squareSize = 41; // neighbours overlap by one pixel, so frames are shared

std::array<Square*, squareCount> makeSquares(QWidget* parent) {
    std::array<Square*, squareCount> squares{};
    for (int k = 0; k < squareCount; ++k) {
        squares[static_cast<std::size_t>(k)] = new Square(k, parent);
    }
    return squares;
}

// Screen readers announce a top-level window by its role and title. Qt reports a plain
// QWidget as a bare client area (a "filler" to AT-SPI), so the window says what it is; its
// name is still its title.
QAccessibleInterface* windowAccessible(const QString&, QObject* object) {
    if (auto* form = qobject_cast<Form1*>(object)) {
        return new QAccessibleWidget(form, QAccessible::Window);
    }
    return nullptr;
}

const char* const startUpText =
    "This program uses the colors red, white, and blue to represent the differenct types of "
    "trees.\r\n"
    "Click on individual squares to change their colors to match what you see in the game.\r\n"
    "Press the 'Solve!' button, wait, and use the given combination in the game.\r\n"
    "\r\n"
    "Please direct all feedback to Veltrin maintainers (maintainers@veltrin.example)";

} // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent), Picture1(new QWidget(this)), S(makeSquares(Picture1)),
      Command1(new SteadyButton(QStringLiteral("Solve!"), Picture1)),
      Setup(new QCheckBox(QStringLiteral("Check1"), this)), platform_(S, Setup, Picture1, this),
      board_(platform_) {
    setObjectName(QStringLiteral("Form1"));
    static const bool factoryInstalled = (QAccessible::installFactory(windowAccessible), true);
    Q_UNUSED(factoryInstalled);
    setWindowTitle(QStringLiteral("Veltrin Solver"));
    // A small fixed tool window: a title bar with a close button, no minimise or maximise.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_MacAlwaysShowToolWindow); // stays up while the game has the focus
    setFixedSize(136, 158);

    // The board area runs a pixel past the right edge and three past the bottom; the window
    // edge cuts it off there, and everything in it lies within the visible part.
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(8, 8, 129, 153);

    for (int k = 0; k < squareCount; ++k) {
        Square* square = S[static_cast<std::size_t>(k)];
        square->setGeometry((k % 3) * squarePitch, (k / 3) * squarePitch, squareSize, squareSize);
        // Each square's last column lies under its right-hand neighbour and its last row
        // under the square below it, or under the Solve button on the bottom row.
        const bool rightmost = k % 3 == 2;
        square->setExposedRect(QRect(0, 0, rightmost ? squareSize : squarePitch, squarePitch));
        connect(square, &Square::clicked, this, [this, k] { board_.pressSquare(k); });
    }

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(0, 120, 121, 25);
    connect(Command1, &QPushButton::clicked, this, &Form1::solve);

    // The press mode lives in a check box the user never sees: checked is setup mode.
    Setup->setObjectName(QStringLiteral("Setup"));
    Setup->setGeometry(0, 0, 57, 13);
    Setup->setChecked(true);
    Setup->setVisible(false);

    // Keyboard order: the Solve button, then the squares from the bottom right backwards.
    QWidget* previous = Command1;
    for (int k = squareCount - 1; k >= 0; --k) {
        setTabOrder(previous, S[static_cast<std::size_t>(k)]);
        previous = S[static_cast<std::size_t>(k)];
    }
}

void Form1::startUp() {
    showMessage(nullptr, startUpText);
}

void Form1::solve() {
    veltrin::solve(board_, platform_, solution_);
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    closeDown();
}

void Form1::closeDown() {
    // Ends the program even in the middle of a search: the search notices at its next
    // event pass and stops without another press.
    endProgram(0);
}

} // namespace veltrin
