#pragma once

#include "window/fatal.h"

#include <QApplication>

namespace veltrin {

class Form1;

// The Qt application, with one addition: an error that escapes an event handler is not lost.
// It is reported in a message box and the program then ends with a non-zero status.
class Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Start-up: the start-up message first, then the window, then the event loop until the
    // program ends. Returns the exit status.
    int run(Form1& form);
};

// Ends the program: every event loop returns, with `status` as the exit status, and
// programEnding() is true from then on, so that code still on the stack (a search waiting
// in its event pass) stops instead of carrying on. The first status given is the one kept.
void endProgram(int status);
bool programEnding();

// How the Qt front end reports an error that no handler caught, and ends.
extern const FatalEnding fatalEnding;

} // namespace veltrin
