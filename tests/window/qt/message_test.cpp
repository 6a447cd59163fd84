// Message boxes: title, no icon, OK only, and Ctrl+C copying the exact CR LF text.

#include "support.h"
#include "window/qt/messagebox.h"

#include <QAccessible>
#include <QClipboard>
#include <QLabel>

using namespace veltrin;

class MessageTest : public QObject {
    Q_OBJECT

private slots:
    void showsTextUnderTheApplicationTitleWithOkOnly() {
        QString copied;
        test::MessageWatch watch([&](QMessageBox& box) {
            QCOMPARE(box.windowTitle(), QString::fromStdString(test::texts().appTitle));
            QCOMPARE(box.icon(), QMessageBox::NoIcon);
            QCOMPARE(box.buttons().size(), 1);
            QVERIFY(box.button(QMessageBox::Ok));
            QCOMPARE(box.text(), QString("first line\n\n<b>second</b>"));
            QCOMPARE(box.textFormat(), Qt::PlainText);
            // A screen reader finds the text among the box's parts.
            QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(&box);
            QStringList texts;
            for (int i = 0; i < reader->childCount(); ++i) {
                texts << reader->child(i)->text(QAccessible::Name);
            }
            QVERIFY2(texts.contains("first line\n\n<b>second</b>"), qPrintable(texts.join('|')));
            copied = test::copyAndAccept(box);
        });
        showMessage(nullptr, "first line\r\n\r\n<b>second</b>");
        QVERIFY(watch.seen());
        QCOMPARE(copied, QString("first line\r\n\r\n<b>second</b>"));
    }
};

VELTRIN_QTEST_MAIN(MessageTest)
#include "message_test.moc"
