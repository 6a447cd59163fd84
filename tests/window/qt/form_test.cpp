// The window as the user meets it: layout, the keyboard, where the focus goes and its mark,
// what a click does to the rendered squares, and the message boxes.

#include "support.h"
#include "window/qt/messagebox.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGlyphRun>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTextLayout>

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

    void theKeyboardWalksTheBoardAndTheFocusStaysWhereTheUserLeftIt() {
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* solve = child<QPushButton>(form, "Command1");
        solve->setFocus();
        QStringList order{solve->objectName()};
        for (int n = 0; n < 10; ++n) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order.join(' '), QString("Command1 S8 S7 S6 S5 S4 S3 S2 S1 S0 Command1"));
        // Space presses the focused square, as a click would; Enter and Esc do nothing.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // to S8
        {
            test::MessageWatch none([](QMessageBox&) { QFAIL("a key started a search"); });
            for (const Qt::Key key :
                 {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                QTest::keyClick(QApplication::focusWidget(), key);
            }
        }
        QCOMPARE(rendered(form), std::string("RRRRRRRRB"));

        // After a search the focus is back where it was: on the square when a screen reader
        // pressed Solve, on Solve when the keyboard did.
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(solve);
        test::solveAndRead(form, [&] {
            reader->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        });
        QVERIFY(test::activate(form)); // as the window system does once the message is gone
        QCOMPARE(QApplication::focusWidget(), test::square(form, 8));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        test::solveAndRead(form,
                           [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); });
        QVERIFY(test::activate(form));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(solve));

        // Switching to another window and back finds the focus where it was left.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget other;
        other.show();
        QVERIFY(test::activate(other) && test::activate(form));
        QCOMPARE(QApplication::focusWidget(), test::square(form, 8));
    }

    void theFocusMarkStandsOutOnEveryColour() {
        // White on blue, black on white and on red: a mark the colour of its square is lost.
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QWidget* square = test::square(form, 4);
        for (const auto& [colour, mark] :
             {std::pair{'B', "#ffffff"}, {'W', "#000000"}, {'R', "#000000"}}) {
            QTest::mouseClick(square, Qt::LeftButton); // the next colour, and the focus
            QVERIFY(square->hasFocus());
            QCOMPARE(rendered(form)[4], colour);
            // Every pixel within the frame that is not the square's colour is the mark's.
            const QImage image = square->grab().toImage();
            QSet<QString> marks;
            for (int y = 2; y < image.height() - 2; ++y) {
                for (int x = 2; x < image.width() - 2; ++x) {
                    marks << image.pixelColor(x, y).name();
                }
            }
            marks.remove(image.pixelColor(image.rect().center()).name());
            QVERIFY2(marks == QSet<QString>{mark}, qPrintable(QStringLiteral("the mark on %1: %2")
                                                                  .arg(colour)
                                                                  .arg(marks.values().join(' '))));
        }
    }

    void everyLanguageFitsItsButtonAndHasAFontForEveryCharacter() {
        // The pseudo-language's longer texts show where the layout is tight: reported, not
        // failed, as they are no language's. Every language's width is reported.
        QStringList widths;
        for (const Catalogue& catalogue : catalogues()) {
            chooseLanguage({catalogue.language});
            Form1 form;
            auto* solve = child<QPushButton>(form, "Command1");
            QStyleOptionButton option;
            option.initFrom(solve);
            option.text = solve->text();
            const int room = solve->style()
                                 ->subElementRect(QStyle::SE_PushButtonContents, &option, solve)
                                 .width();
            const int needed = solve->fontMetrics().horizontalAdvance(solve->text());
            const QString overflow = QStringLiteral("%1: %2 needs %3 px, has %4")
                                         .arg(catalogue.language, solve->text())
                                         .arg(needed)
                                         .arg(room);
            widths << QStringLiteral("%1 %2/%3").arg(catalogue.language).arg(needed).arg(room);
            if (std::string_view(catalogue.language) != "en@pseudo") {
                QVERIFY2(needed <= room, qPrintable(overflow));
            }
            // Every character of every text, in some installed font: Chinese and Japanese need
            // fonts of their own.
            for (const Message& message : catalogue.messages) {
                for (unsigned f = 0; f < message.count; ++f) {
                    for (const QString& line : QString::fromUtf8(message.forms[f]).split('\n')) {
                        QTextLayout layout(line, form.font());
                        layout.beginLayout();
                        layout.createLine();
                        layout.endLayout();
                        for (const QGlyphRun& run : layout.glyphRuns()) {
                            QVERIFY2(!run.glyphIndexes().contains(0),
                                     qPrintable(catalogue.language +
                                                QStringLiteral(": no font for ") + line));
                        }
                    }
                }
            }
        }
        chooseLanguage({});
        qInfo("Solve!, needed/room in px: %s", qPrintable(widths.join(", ")));
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
