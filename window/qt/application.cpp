#include "window/qt/application.h"

#include "window/qt/commandline.h"
#include "window/qt/form1.h"
#include "window/qt/messagebox.h"

#include <QDir>
#include <QIcon>

namespace veltrin {

namespace {
bool ending = false;
int exitStatus = 0;
} // namespace

const FatalEnding fatalEnding{[](const std::string& text) { showMessage(nullptr, text); },
                              endProgram};

void endProgram(int status) {
    if (!ending) {
        ending = true;
        exitStatus = status;
    }
    QCoreApplication::exit(exitStatus);
}

bool programEnding() {
    return ending;
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    describeApplication();
    translateQt(*this);
    // Every size the build put in the resources (one folder each, as in the hicolor theme).
    QIcon icon;
    const QDir sizes(QStringLiteral(":/icons/hicolor"));
    for (const QString& size : sizes.entryList()) {
        icon.addFile(sizes.filePath(size + QStringLiteral("/apps/example.veltrin.Veltrin.png")));
    }
    setWindowIcon(icon);
    setDesktopFileName(QStringLiteral("example.veltrin.Veltrin"));
    // The program ends through the window's close handler, never because a message box
    // (the start-up message is shown before the window) happened to be the last window.
    setQuitOnLastWindowClosed(false);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    guarded([&] { handled = QApplication::notify(receiver, event); }, fatalEnding);
    return handled;
}

int Application::run(Form1& form) {
    int status = 0;
    guarded(
        [&] {
            form.startUp();
            if (!programEnding()) {
                form.show();
                status = exec();
            }
        },
        fatalEnding);
    return ending ? exitStatus : status;
}

} // namespace veltrin
