#include "window/qt/messagebox.h"

#include "window/design.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QShortcut>

namespace veltrin {

void showMessage(QWidget* parent, const std::string& text) {
    const QString exact = QString::fromStdString(text);
    // Qt lays out plain text on LF alone; a CR would show as a stray glyph on some fonts.
    QString shown = exact;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));

    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(design::appTitle), shown,
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("message"));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    // Qt copies a message box's text only on Windows, and then with its title and buttons
    // around it. Users want just the text, everywhere.
    auto* copy = new QShortcut(QKeySequence::Copy, &box);
    QObject::connect(copy, &QShortcut::activated, &box,
                     [exact] { QGuiApplication::clipboard()->setText(exact); });
    box.exec();
}

} // namespace veltrin
