#include "window/qt/lifetime.h"

#include <QCoreApplication>

namespace veltrin {

namespace {
bool ending = false;
int exitCode = 0;
} // namespace

void endProgram(int code) {
    if (!ending) {
        ending = true;
        exitCode = code;
    }
    QCoreApplication::exit(exitCode);
}

bool programEnding() {
    return ending;
}

int programExitCode() {
    return exitCode;
}

} // namespace veltrin
