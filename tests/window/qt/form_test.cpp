// The window as the user meets it: layout, keyboard order, what a click does to the
// rendered squares, a locked board that keeps its look and ignores input, and the message
// boxes.

#include "support.h"
#include "window/qt/messagebox.h"

#include <QAccessible>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>

using namespace veltrin;
using veltrin::test::child;
using veltrin::test::rendered;

class FormTest : public QObject {
    Q_OBJECT

private slots:
    void layoutMatchesTheClassicWindow() {
        Form1 form;
        QCOMPARE(form.windowTitle(), QString::fromStdString(test::texts().windowTitle));
        QCOMPARE(form.size(), QSize(136, 158));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(form.windowFlags().testFlag(Qt::Tool));
        QVERIFY(!form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

        auto* picture = child<QWidget>(form, "Picture1");
        QCOMPARE(picture->geometry(), QRect(8, 8, 129, 153));
        for (int k = 0; k < 9; ++k) {
            QWidget* square = test::square(form, k);
            QCOMPARE(square->parentWidget(), picture);
            QCOMPARE(square->geometry(), QRect((k % 3) * 40, (k / 3) * 40, 41, 41));
            QCOMPARE(square->accessibleName(),
                     QString::fromStdString(test::texts().squareNames[std::size_t(k)]));
        }
        auto* solve = child<QPushButton>(form, "Command1");
        QCOMPARE(solve->parentWidget(), picture);
        QCOMPARE(solve->geometry(), QRect(0, 120, 121, 25));
        QCOMPARE(solve->text(), QString::fromStdString(test::texts().solveCaption));

        auto* setup = child<QCheckBox>(form, "Setup");
        QCOMPARE(setup->parentWidget(), &form);
        QVERIFY(setup->isChecked());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(!setup->isVisible());
    }

    void aQuickSecondClickIsAClickAllTheSame() {
        // Clicks are checked against a model of the game by the random actions in search_test.
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // A quick second click arrives as a double click, as the window system delivers it:
        // press, release, double click, release. It is a click all the same.
        QWidget* first = test::square(form, 0);
        QTest::mouseClick(first, Qt::LeftButton);
        const QPointF at(5, 5);
        QMouseEvent twice(QEvent::MouseButtonDblClick, at, first->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(first, &twice);
        QTest::mouseRelease(first, Qt::LeftButton);
        QCOMPARE(rendered(form), std::string("WRRRRRRRR"));
    }

    void tabVisitsSolveThenTheSquaresBackwardsAndSpacePressesOne() {
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* solve = child<QPushButton>(form, "Command1");
        solve->setFocus();
        QStringList order{solve->objectName()};
        for (int n = 0; n < 9; ++n) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order.join(' '), QString("Command1 S8 S7 S6 S5 S4 S3 S2 S1 S0"));
        // Space presses the focused square, as a click would, and the square keeps its
        // colour under the focus mark.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(rendered(form), std::string("BRRRRRRRR"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(rendered(form), std::string("WRRRRRRRR"));
    }

    void aLockedBoardKeepsItsLookAndTakesNoInput() {
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* picture = child<QWidget>(form, "Picture1");
        QTest::mouseClick(child<QWidget>(form, "S0"), Qt::LeftButton);
        child<QWidget>(form, "S0")->clearFocus(); // locking takes the focus: compare without
        const QImage before = form.grab().toImage();

        picture->setEnabled(false);
        QCOMPARE(form.grab().toImage(), before);
        QTest::mouseClick(child<QWidget>(form, "S4"), Qt::LeftButton);
        QTest::mouseClick(child<QWidget>(form, "Command1"), Qt::LeftButton);
        QCOMPARE(rendered(form), std::string("BRRRRRRRR"));

        picture->setEnabled(true);
        QTest::mouseClick(child<QWidget>(form, "S4"), Qt::LeftButton);
        QCOMPARE(rendered(form), std::string("BRRRBRRRR"));
    }

    void aScreenReadersPressActsAsAClickButNotOnALockedBoard() {
        // Names, colours and presses as a screen reader gets them are checked end to end,
        // through AT-SPI; the lock during a search cannot be caught there.
        Form1 form;
        auto* square = child<QWidget>(form, "S5");
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(square);
        QVERIFY(reader);
        reader->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(reader->text(QAccessible::Description), QString("blue"));
        child<QWidget>(form, "Picture1")->setEnabled(false);
        reader->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(reader->text(QAccessible::Description), QString("blue"));
    }

    void aMessageShowsItsTextUnderTheTitleWithOkOnly() {
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

VELTRIN_QTEST_MAIN(FormTest)
#include "form_test.moc"
