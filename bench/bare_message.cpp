// The floor for start-up: the plainest Qt program that shows one message box titled
// "Veltrin". bench/startup.py times it against Veltrin's own start-up message.

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Veltrin"),
                    QStringLiteral("This program uses the colors red, white, and blue."),
                    QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? 0 : 1;
}
