#include "window/qt/application.h"

#include "window/design.h"
#include "window/qt/commandline.h"
#include "window/qt/form1.h"
#include "window/qt/lifetime.h"
#include "window/qt/messagebox.h"

#include <QDir>
#include <QIcon>

#include <exception>
#include <string>

namespace veltrin {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    describeApplication();
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
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        fatalError(e.what());
    } catch (...) {
        fatalError("unknown exception");
    }
    return false;
}

int Application::run(Form1& form) {
    try {
        form.startUp();
        if (programEnding()) {
            return programExitCode();
        }
        form.show();
        const int status = exec();
        return programEnding() ? programExitCode() : status;
    } catch (const std::exception& e) {
        fatalError(e.what());
    }
    return programExitCode();
}

void fatalError(const char* what) {
    static bool reporting = false;
    if (!reporting) {
        reporting = true;
        showMessage(nullptr, design::fatalReport(what));
    }
    endProgram(1);
}

} // namespace veltrin
