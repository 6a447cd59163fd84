#include "window/qt/form1.h"

#include "solver/solver.h"
#include "window/design.h"
#include "window/language.h"
#include "window/qt/application.h"
#include "window/qt/messagebox.h"
#include "window/qt/steadybutton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>

namespace veltrin {

namespace {

// Geometry in device-independent pixels at 96 dots per inch; Qt scales it on denser screens.
QRect pixels(const design::Rect& twips) {
    const design::Rect r = design::toPixels(twips, 96);
    return QRect(r.left, r.top, r.width, r.height);
}

std::array<Square*, squareCount> makeSquares(QWidget* parent) {
    std::array<Square*, squareCount> squares{};
    for (int k = 0; k < squareCount; ++k) {
        squares[static_cast<std::size_t>(k)] = new Square(k, pixels(design::exposed(k)), parent);
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

} // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent), Picture1(new QWidget(this)), S(makeSquares(Picture1)),
      Command1(new SteadyButton(QString::fromUtf8(translate(design::solveCaption)), Picture1)),
      Setup(new QCheckBox(QString::fromLatin1(design::setupCaption), this)),
      platform_(S, Setup, Picture1, this), board_(platform_) {
    setObjectName(QStringLiteral("Form1"));
    static const bool factoryInstalled = (QAccessible::installFactory(windowAccessible), true);
    Q_UNUSED(factoryInstalled);
    setWindowTitle(QString::fromUtf8(translate(design::windowTitle)));
    // A small fixed tool window: a title bar with a close button, no minimise or maximise.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_MacAlwaysShowToolWindow); // stays up while the game has the focus
    setFixedSize(pixels({0, 0, design::clientWidth, design::clientHeight}).size());

    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(pixels(design::picture1));

    for (int k = 0; k < squareCount; ++k) {
        Square* square = S[static_cast<std::size_t>(k)];
        square->setGeometry(pixels(design::square(k)));
        connect(square, &Square::clicked, this, [this, k] { board_.pressSquare(k); });
    }

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(pixels(design::command1));
    connect(Command1, &QPushButton::clicked, this, &Form1::solve);

    // The press mode lives in a check box the user never sees: checked is setup mode.
    Setup->setObjectName(QStringLiteral("Setup"));
    Setup->setGeometry(pixels(design::setup));
    Setup->setChecked(true);
    Setup->setVisible(false);

    QWidget* previous = nullptr;
    for (const int control : design::tabOrder) {
        QWidget* next = control == design::solveButton ? static_cast<QWidget*>(Command1)
                                                       : S[static_cast<std::size_t>(control)];
        if (previous) {
            setTabOrder(previous, next);
        }
        previous = next;
    }
}

void Form1::startUp() {
    showMessage(nullptr, startUpText());
}

void Form1::solve() {
    veltrin::solve(board_, platform_, solution_, words_);
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
