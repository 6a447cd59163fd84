#pragma once

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

// Reports an unexpected error and ends the program with status 1.
void fatalError(const char* what);

} // namespace veltrin
