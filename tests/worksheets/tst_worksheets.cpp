#include "app/intro0.h"
#include "quiz/multiple.h"
#include "quiz/welldone.h"
#include "support/testapp.h"
#include "toolkit/checkbox.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "toolkit/textbox.h"
#include "worksheets/wizard.h"
#include "worksheets/worksheets.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <algorithm>

using namespace velmora;
using namespace velmora::test;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray listOf(int count)
{
    QByteArray bytes = ' ' + QByteArray::number(count) + " \r\n";
    for (int i = 1; i <= count; ++i)
        bytes += "Sheet " + QByteArray::number(i) + "\r\n";
    return bytes;
}

// A saved worksheet beside the list, as the wizard writes it.
void saveSheet(TestApp &app, const QString &title)
{
    wizard &w = app.forms.ref<wizard>();
    fillWizard(w, title);
    w.genwork();
    w.unload();
    TestApp::settle();
}

QStringList shownSlots(const worksheets &catalogue)
{
    QStringList out;
    for (int i = 1; i <= 24; ++i) {
        if (catalogue.Label2[i].visible())
            out << catalogue.Label2[i].caption();
    }
    return out;
}

} // namespace

class TestWorksheets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void genworkChecksInOrder_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("message");
        QTest::newRow("all empty") << QStringLiteral("empty")
                                   << QStringLiteral("You have not chosen a title for your worksheet");
        QTest::newRow("question 2 lacks answer C, no tick")
            << QStringLiteral("q2c") << QStringLiteral("You have not completed Question 2");
        QTest::newRow("question 1 untick, question 2 empty")
            << QStringLiteral("q1tick") << QStringLiteral("You have not ticked the correct answer for Question 1");
        QTest::newRow("question 10 with A and D")
            << QStringLiteral("q10two")
            << QStringLiteral("You have ticked more than one correct answer for Question 10");
        QTest::newRow("blanks count as text")
            << QStringLiteral("blanks") << QStringLiteral("Your worksheet has been saved.");
    }

    void genworkChecksInOrder()
    {
        QFETCH(QString, change);
        QFETCH(QString, message);
        TestApp app;
        wizard &w = app.forms.ref<wizard>();
        if (change != QLatin1String("empty"))
            fillWizard(w, QStringLiteral("Checks"));
        if (change == QLatin1String("q2c")) {
            w.Text3[6].setText(QString());
            w.Check1[5].setValue(false);
        } else if (change == QLatin1String("q1tick")) {
            w.Check1[0].setValue(false);
            w.Text2[1].setText(QString());
        } else if (change == QLatin1String("q10two")) {
            w.Check1[36].setValue(true);
            w.Check1[39].setValue(true);
        } else if (change == QLatin1String("blanks")) {
            w.Text3[17].setText(QStringLiteral("   "));
        }
        w.genwork();
        QCOMPARE(app.messages.shown.size(), 1);
        QCOMPARE(app.messages.shown[0].text, message);
        QCOMPARE(app.messages.shown[0].title, QStringLiteral("Velmora"));
        QCOMPARE(QFile::exists(app.dataPath(QStringLiteral("multiple/Checks.txt"))), change == QLatin1String("blanks"));
    }

    void savingTwiceAndUnderANewTitle()
    {
        TestApp app;
        wizard &w = app.forms.ref<wizard>();
        fillWizard(w, QStringLiteral("Plants, animals"));
        w.genwork();
        const QString list = app.dataPath(QStringLiteral("multiple/track.txt"));
        QCOMPARE(readBytes(list), QByteArray(" 1 \r\nPlants& animals\r\n"));
        const QDateTime written = QFileInfo(list).lastModified();
        w.Text2[0].setText(QStringLiteral("Changed question"));
        QTest::qWait(20);
        w.genwork();
        QCOMPARE(readBytes(list), QByteArray(" 1 \r\nPlants& animals\r\n"));
        QCOMPARE(QFileInfo(list).lastModified(), written); // the list was written once
        const QByteArray sheet = readBytes(app.dataPath(QStringLiteral("multiple/Plants& animals.txt")));
        QVERIFY(sheet.contains("Changed question"));
        QCOMPARE(sheet.count("\r\n"), 72);

        w.Text1->setText(QStringLiteral("Plants two"));
        w.genwork();
        QCOMPARE(readBytes(list), QByteArray(" 2 \r\nPlants& animals\r\nPlants two\r\n"));
        QVERIFY(QFile::exists(app.dataPath(QStringLiteral("multiple/Plants& animals.txt"))));
        QCOMPARE(app.messages.shown.last().text, QStringLiteral("Your worksheet has been saved."));
        QVERIFY(app.forms.loaded<wizard>()); // the wizard stays open after saving
    }

    void refusedTitlesAndFailures_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("listMissing");
        QTest::addColumn<QString>("message");
        QTest::newRow("slash") << QStringLiteral("Maths/Science") << false
                               << QStringLiteral(
                                      "A worksheet title cannot contain \"/\" or \"\\\". Please choose another title.");
        QTest::newRow("colon, which a Windows share refuses")
            << QStringLiteral("Maths: fractions") << false
            << QStringLiteral("A worksheet title cannot contain \":\". Please choose another title.");
        QTest::newRow("emoji") << QStringLiteral("Stars 🌟") << false
                               << QStringLiteral("The character \"🌟\" (U+1F31F) cannot be saved in a worksheet "
                                                 "title. Please choose another title.");
        QTest::newRow("the list's own name")
            << QStringLiteral("track") << false
            << QStringLiteral("The title \"track\" is kept for the program's own files. "
                              "Please choose another title.");
        QTest::newRow("missing list") << QStringLiteral("Fine title") << true
                                      << QStringLiteral("There was a problem saving your worksheet");
    }

    void refusedTitlesAndFailures()
    {
        QFETCH(QString, title);
        QFETCH(bool, listMissing);
        QFETCH(QString, message);
        TestApp app;
        if (listMissing)
            app.removeDataFile(QStringLiteral("multiple/track.txt"));
        const QStringList before = QDir(app.dataPath(QStringLiteral("multiple"))).entryList(QDir::Files);
        wizard &w = app.forms.ref<wizard>();
        fillWizard(w, title);
        w.genwork();
        QCOMPARE(app.messages.shown.size(), 1);
        QCOMPARE(app.messages.shown[0].text, message);
        QVERIFY(!app.platform.file1().isOpen());
        if (!listMissing)
            QCOMPARE(QDir(app.dataPath(QStringLiteral("multiple"))).entryList(QDir::Files), before);
    }

    void textsOutsideTheCodePageAreRefused()
    {
        TestApp app;
        wizard &w = app.forms.ref<wizard>();
        fillWizard(w, QStringLiteral("Greek"));
        w.Text3[9].setText(QStringLiteral("Ω omega"));
        w.Text2[5].setText(QStringLiteral("Which star? 🌟"));
        w.genwork();
        QVERIFY(app.messages.shown.value(0).text.contains(QStringLiteral("\"Ω\" (U+03A9) in Question 3")));
        w.Text3[9].setText(QStringLiteral("omega"));
        w.genwork();
        QVERIFY(app.messages.shown.value(1).text.contains(QStringLiteral("\"🌟\" (U+1F31F) in Question 6")));
        QVERIFY(!QFile::exists(app.dataPath(QStringLiteral("multiple/Greek.txt"))));
    }

    void enterMovesTheFocus()
    {
        TestApp app;
        wizard &w = app.forms.ref<wizard>();
        w.showForm();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const auto enterIn = [](TextBox &box) {
            box.setFocus();
            QTest::keyClick(box.widget(), Qt::Key_Return);
        };
        enterIn(*w.Text1);
        QVERIFY(w.Text2[0].hasFocus());
        enterIn(w.Text2[2]);
        QVERIFY(w.Text3[8].hasFocus());
        enterIn(w.Text3[9]);
        QVERIFY(w.Text3[10].hasFocus());
        enterIn(w.Text3[19]); // answer D of question 5
        QVERIFY(w.Text2[5].hasFocus());
        enterIn(w.Text3[39]); // answer D of question 10: stays
        QVERIFY(w.Text3[39].hasFocus());
        QVERIFY(w.Text3[39].text().isEmpty());
        // Tab order: title, then each question with its answers, ticks last.
        const auto tabFrom = [](TextBox &box) {
            box.setFocus();
            QTest::keyClick(box.widget(), Qt::Key_Tab);
            return QApplication::focusWidget();
        };
        QCOMPARE(tabFrom(*w.Text1), w.Text2[0].widget());
        QCOMPARE(tabFrom(w.Text3[3]), w.Text2[1].widget());
        QCOMPARE(tabFrom(w.Text3[39]), w.Check1[0].widget());
    }

    void maximumLengthsLimitTyping()
    {
        TestApp app;
        wizard &w = app.forms.ref<wizard>();
        QVERIFY(showAndExpose(w));
        const QList<std::pair<TextBox *, int>> boxes{{w.Text1, 25}, {&w.Text2[0], 60}, {&w.Text3[0], 30}};
        for (const auto &[box, maximum] : boxes) {
            box->setFocus();
            QTest::keyClicks(box->widget(), QString(maximum + 1, QLatin1Char('t')));
            QCOMPARE(box->text().size(), maximum);
        }
    }

    void handMadeLongTextsEditAndSaveUnchanged()
    {
        // A teacher's own file: a 26-character title, a 70-character question and a
        // 40-character answer, longer than the wizard lets anyone type.
        TestApp app;
        const QString title = QStringLiteral("The Solar System in Detail");
        const QString file = QStringLiteral("multiple/") + title + QStringLiteral(".txt");
        QFile fixture(QStringLiteral(VELMORA_SOURCE_TESTDATA "/handmade-long-texts.txt"));
        QVERIFY(fixture.open(QIODevice::ReadOnly));
        const QByteArray bytes = fixture.readAll();
        const QByteArray list = " 1 \r\n" + title.toLatin1() + "\r\n";
        app.writeDataFile(file, bytes);
        app.writeDataFile(QStringLiteral("multiple/track.txt"), list);
        const QStringList before = QDir(app.dataPath(QStringLiteral("multiple"))).entryList(QDir::Files);

        worksheets &catalogue = app.forms.ref<worksheets>();
        catalogue.Check1->setValue(true);
        catalogue.Label2[1].onClick();
        wizard *w = app.forms.loaded<wizard>();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->Text1->text(), title);
        QCOMPARE(w->Text2[0].text().size(), 70);
        QCOMPARE(w->Text3[0].text(), QStringLiteral("Mars, the small red planet next to Earth"));
        QCOMPARE(w->Text3[7].text(), QStringLiteral("Mars ")); // a blank at the end stays

        w->genwork();
        QCOMPARE(app.messages.shown.last().text, QStringLiteral("Your worksheet has been saved."));
        QCOMPARE(readBytes(app.dataPath(file)), bytes);
        QCOMPARE(readBytes(app.dataPath(QStringLiteral("multiple/track.txt"))), list);
        QCOMPARE(QDir(app.dataPath(QStringLiteral("multiple"))).entryList(QDir::Files), before);
    }

    void damagedCorrectAnswer_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("a letter") << QByteArray("x");
        QTest::newRow("zero") << QByteArray("0");
        QTest::newRow("nine") << QByteArray("9");
        QTest::newRow("five, one past D") << QByteArray("5");
        QTest::newRow("empty") << QByteArray("");
    }

    void damagedCorrectAnswer()
    {
        // Question 2's correct answer is damaged: the worksheet runs as a quiz (that
        // question can never be right) but cannot be opened for editing.
        QFETCH(QByteArray, answer);
        TestApp app;
        saveSheet(app, QStringLiteral("Damaged"));
        const QString file = app.dataPath(QStringLiteral("multiple/Damaged.txt"));
        QByteArray bytes = readBytes(file);
        QVERIFY(bytes.contains("\r\nanswer 2D\r\n2\r\n"));
        bytes.replace("\r\nanswer 2D\r\n2\r\n", "\r\nanswer 2D\r\n" + answer + "\r\n");
        app.writeDataFile(QStringLiteral("multiple/Damaged.txt"), bytes);
        const QByteArray list = readBytes(app.dataPath(QStringLiteral("multiple/track.txt")));

        worksheets &catalogue = app.forms.ref<worksheets>();
        catalogue.Check1->setValue(true);
        app.messages.shown.clear();
        catalogue.Label2[1].onClick();
        QCOMPARE(app.messages.shown.size(), 1);
        QCOMPARE(app.messages.shown[0].text, QStringLiteral("This worksheet seems to be corrupted."));
        QVERIFY(!app.forms.loaded<wizard>());
        QVERIFY(!app.platform.file1().isOpen());

        catalogue.Check1->setValue(false);
        catalogue.Label2[1].onClick();
        multiple *quiz = app.forms.loaded<multiple>();
        QVERIFY(quiz && quiz->isVisible());
        for (int q = 1; q <= 10; ++q) {
            const int right = app.m.rightans[q].toInt();
            if (right >= 1 && right <= 4)
                quiz->Option1[right].setValue(true);
            quiz->Label3[1].onClick();
        }
        QCOMPARE(app.m.score, 9);
        QCOMPARE(readBytes(file), bytes);
        QCOMPARE(readBytes(app.dataPath(QStringLiteral("multiple/track.txt"))), list);
    }

    void cataloguePaging_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("onFirstPage");
        QTest::addColumn<bool>("nextShown");
        QTest::newRow("empty") << 0 << 0 << false;
        QTest::newRow("24 titles") << 24 << 24 << false;
        QTest::newRow("25 titles") << 25 << 24 << true;
    }

    void cataloguePaging()
    {
        QFETCH(int, count);
        QFETCH(int, onFirstPage);
        QFETCH(bool, nextShown);
        TestApp app;
        app.writeDataFile(QStringLiteral("multiple/track.txt"), listOf(count));
        worksheets &catalogue = app.forms.ref<worksheets>();
        QCOMPARE(shownSlots(catalogue).size(), onFirstPage);
        QCOMPARE(catalogue.Label3[1].visible(), nextShown);
        QVERIFY(!catalogue.Label3[0].visible());
        QCOMPARE(catalogue.Label4->caption(), QStringLiteral("Page 1"));
        if (count == 25) {
            catalogue.Label3[1].onClick();
            QCOMPARE(shownSlots(catalogue), QStringList({QStringLiteral("Sheet 25")}));
            QVERIFY(catalogue.Label3[0].visible() && !catalogue.Label3[1].visible());
            QCOMPARE(catalogue.Label4->caption(), QStringLiteral("Page 2"));
        }
    }

    void lastPageIsFortyOne()
    {
        TestApp app;
        app.writeDataFile(QStringLiteral("multiple/track.txt"), listOf(1000));
        worksheets &catalogue = app.forms.ref<worksheets>();
        for (int p = 0; p < 40; ++p)
            catalogue.Label3[1].onClick();
        QCOMPARE(catalogue.Label4->caption(), QStringLiteral("Page 41"));
        QVERIFY(!catalogue.Label3[1].visible());
        QCOMPARE(shownSlots(catalogue).first(), QStringLiteral("Sheet 961"));
        QCOMPARE(shownSlots(catalogue).last(), QStringLiteral("Sheet 984"));
    }

    void runAListedTitleWithACommaInIt()
    {
        TestApp app;
        saveSheet(app, QStringLiteral("Plants, animals"));
        worksheets &catalogue = app.forms.ref<worksheets>();
        QCOMPARE(shownSlots(catalogue), QStringList({QStringLiteral("Plants, animals")}));
        catalogue.Label2[1].onClick();
        multiple *quiz = app.forms.loaded<multiple>();
        QVERIFY(quiz && quiz->isVisible());
        QCOMPARE(quiz->Label6->caption(), QStringLiteral("Plants, animals"));
        QCOMPARE(quiz->Label5->caption(), QStringLiteral("Velmora"));
        QCOMPARE(quiz->Picture1->picture().source(), QStringLiteral("Images\\quintaransm.jpg"));
        QVERIFY(app.forms.loaded<intro0>() && !app.forms.loaded<intro0>()->isVisible());
    }

    void editTicksOneBoxPerQuestion()
    {
        TestApp app;
        saveSheet(app, QStringLiteral("Edit me"));
        worksheets &catalogue = app.forms.ref<worksheets>();
        // A wizard left open with other ticks still ends with one per question.
        wizard &open = app.forms.ref<wizard>();
        for (const auto &[index, tick] : open.Check1)
            tick->setValue(true);
        catalogue.Check1->setValue(true);
        catalogue.Label2[1].onClick();
        wizard &w = *app.forms.loaded<wizard>();
        QVERIFY(w.isVisible());
        QCOMPARE(w.Text1->text(), QStringLiteral("Edit me"));
        QCOMPARE(w.Text3[13].text(), QStringLiteral("answer 4B"));
        for (int j = 0; j < 10; ++j) {
            for (int k = 0; k < 4; ++k)
                QCOMPARE(w.Check1[4 * j + k].value(), k == j % 4);
        }
    }

    void tickBoxesExcludeEachOther()
    {
        TestApp app;
        worksheets &catalogue = app.forms.ref<worksheets>();
        catalogue.showForm();
        QVERIFY(QTest::qWaitForWindowExposed(&catalogue));
        QTest::mouseClick(catalogue.Check1->widget(), Qt::LeftButton, Qt::NoModifier, QPoint(8, 12));
        QVERIFY(catalogue.Check1->value());
        QTest::mouseClick(catalogue.Check2->widget(), Qt::LeftButton, Qt::NoModifier, QPoint(8, 12));
        QVERIFY(catalogue.Check2->value() && !catalogue.Check1->value());
        QTest::mouseClick(catalogue.Check2->widget(), Qt::LeftButton, Qt::NoModifier, QPoint(8, 12));
        QVERIFY(!catalogue.Check2->value() && !catalogue.Check1->value());
    }

    void deleteFromThirty()
    {
        TestApp app;
        app.writeDataFile(QStringLiteral("multiple/track.txt"), listOf(30));
        for (int i = 1; i <= 30; ++i)
            saveSheet(app, QStringLiteral("Sheet %1").arg(i));
        worksheets &catalogue = app.forms.ref<worksheets>();
        catalogue.Check2->setValue(true);
        app.messages.answers = {false};
        catalogue.Label2[3].onClick(); // Cancel changes nothing
        QCOMPARE(readBytes(app.dataPath(QStringLiteral("multiple/track.txt"))), listOf(30));
        QCOMPARE(app.m.worktitle, QStringLiteral("Sheet 3")); // but the quiz set holds it
        QCOMPARE(app.messages.shown.last().text,
                 QStringLiteral("Are you sure that you want to delete the worksheet Sheet 3?"));
        QVERIFY(app.messages.shown.last().title.isEmpty());

        catalogue.Label2[3].onClick(); // OK
        const QByteArray list = readBytes(app.dataPath(QStringLiteral("multiple/track.txt")));
        QVERIFY(list.startsWith(" 29 \r\nSheet 1\r\nSheet 2\r\nSheet 4\r\n"));
        QCOMPARE(list.count("\r\n"), 30);
        QCOMPARE(shownSlots(catalogue).size(), 24);
        QCOMPARE(shownSlots(catalogue)[2], QStringLiteral("Sheet 4"));
        QVERIFY(QFile::exists(app.dataPath(QStringLiteral("multiple/Sheet 3.txt")))); // only the title goes
    }

    void titlesShowCommasAfterDeleteAndPaging()
    {
        TestApp app;
        QByteArray list = " 30 \r\n";
        for (int i = 1; i <= 30; ++i)
            list += "Plants& animals " + QByteArray::number(i) + "\r\n";
        app.writeDataFile(QStringLiteral("multiple/track.txt"), list);
        saveSheet(app, QStringLiteral("Plants, animals 2"));
        worksheets &catalogue = app.forms.ref<worksheets>();
        const auto shownWithCommas = [&catalogue] {
            const QStringList shown = shownSlots(catalogue);
            return !shown.isEmpty() && std::all_of(shown.begin(), shown.end(), [](const QString &t) {
                return t.startsWith(QStringLiteral("Plants, animals ")) && !t.contains(QLatin1Char('&'));
            });
        };
        QVERIFY(shownWithCommas());
        catalogue.Check2->setValue(true);
        catalogue.Label2[2].onClick();
        QCOMPARE(shownSlots(catalogue)[1], QStringLiteral("Plants, animals 3"));
        QVERIFY(shownWithCommas());
        catalogue.Label3[1].onClick();
        QCOMPARE(shownSlots(catalogue).size(), 5);
        QVERIFY(shownWithCommas());
        catalogue.Label3[0].onClick();
        QCOMPARE(shownSlots(catalogue).size(), 24);
        QVERIFY(shownWithCommas());
    }

    void deleteOnlyTitleOfPageTwo()
    {
        TestApp app;
        app.writeDataFile(QStringLiteral("multiple/track.txt"), listOf(25));
        saveSheet(app, QStringLiteral("Sheet 25"));
        worksheets &catalogue = app.forms.ref<worksheets>();
        catalogue.Label3[1].onClick();
        catalogue.Check2->setValue(true);
        catalogue.Label2[1].onClick();
        QCOMPARE(shownSlots(catalogue), QStringList());
        QVERIFY(catalogue.Label3[0].visible());
        QCOMPARE(catalogue.Label4->caption(), QStringLiteral("Page 2"));
        catalogue.Label3[0].onClick();
        QCOMPARE(shownSlots(catalogue).size(), 24);
    }

    void damagedOrMissingWorksheets()
    {
        TestApp app;
        app.writeDataFile(QStringLiteral("multiple/track.txt"), " 2 \r\nGone\r\nCut\r\n");
        app.writeDataFile(QStringLiteral("multiple/Cut.txt"), "Cut\r\n \r\nOnly one line\r\n");
        worksheets &catalogue = app.forms.ref<worksheets>();
        for (const bool deleting : {false, true}) {
            catalogue.Check2->setValue(deleting);
            for (int slot : {1, 2}) {
                app.messages.shown.clear();
                catalogue.Label2[slot].onClick();
                QCOMPARE(app.messages.shown.size(), 1);
                QCOMPARE(app.messages.shown[0].text, QStringLiteral("This worksheet seems to be corrupted."));
                QVERIFY(!app.platform.file1().isOpen());
            }
        }
        QCOMPARE(readBytes(app.dataPath(QStringLiteral("multiple/track.txt"))), QByteArray(" 2 \r\nGone\r\nCut\r\n"));
    }

    void exitRecreatesTheMenu()
    {
        TestApp app;
        intro0 &menu = app.forms.ref<intro0>();
        menu.showForm();
        menu.Label2[18].onClick();
        QVERIFY(!app.forms.loaded<intro0>());
        worksheets *catalogue = app.forms.loaded<worksheets>();
        QVERIFY(catalogue->isVisible());
        TestApp::settle();
        catalogue->close(); // the window manager's close is "Exit"
        QVERIFY(!app.forms.loaded<worksheets>());
        QVERIFY(app.forms.loaded<intro0>() && app.forms.loaded<intro0>()->isVisible());
    }

    void teachersJourneyWithRoutedEvents()
    {
        TestApp app;
        const auto centre = [](const Control &c) {
            return QPointF(c.left() + c.width() / 2, c.top() + c.height() / 2);
        };
        intro0 *menu = &app.forms.ref<intro0>();
        QVERIFY(showAndExpose(*menu));
        clickAt(*menu, centre(menu->Label2[17]).x(), centre(menu->Label2[17]).y());
        wizard *w = app.forms.loaded<wizard>();
        QVERIFY(w && QTest::qWaitForWindowExposed(w));
        // Type the worksheet, moving on with Enter as a teacher would.
        w->Text1->setFocus();
        QTest::keyClicks(w->Text1->widget(), QStringLiteral("Stars, planets"));
        QTest::keyClick(w->Text1->widget(), Qt::Key_Return);
        for (int j = 0; j < 10; ++j) {
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Which one %1?").arg(j + 1));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            for (int k = 0; k < 4; ++k) {
                QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("choice %1").arg(k + 1));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
        }
        for (int j = 0; j < 10; ++j) {
            const CheckBox &tick = w->Check1[4 * j + 1];
            clickAt(*w, tick.left() + 120, tick.top() + 150);
        }
        clickAt(*w, centre(w->Label3[1]).x(), centre(w->Label3[1]).y()); // Save Worksheet
        QCOMPARE(app.messages.shown.value(0).text, QStringLiteral("Your worksheet has been saved."));
        clickAt(*w, centre(w->Label3[0]).x(), centre(w->Label3[0]).y()); // Exit
        TestApp::settle();
        clickAt(*menu, centre(menu->Label2[18]).x(), centre(menu->Label2[18]).y()); // catalogue
        TestApp::settle();
        worksheets *catalogue = app.forms.loaded<worksheets>();
        QVERIFY(catalogue && QTest::qWaitForWindowExposed(catalogue));
        QCOMPARE(catalogue->Label2[1].caption(), QStringLiteral("Stars, planets"));
        clickAt(*catalogue, centre(catalogue->Label2[1]).x(), centre(catalogue->Label2[1]).y()); // run
        multiple *quiz = app.forms.loaded<multiple>();
        QVERIFY(quiz && QTest::qWaitForWindowExposed(quiz));
        for (int q = 1; q <= 10; ++q) {
            const OptionButton &b = quiz->Option1[2];
            clickAt(*quiz, b.left() + 300, b.top() + b.height() / 2);
            clickAt(*quiz, centre(quiz->Label3[1]).x(), centre(quiz->Label3[1]).y());
        }
        QCOMPARE(app.m.score, 10);
        Welldone *results = app.forms.loaded<Welldone>();
        QVERIFY(results && QTest::qWaitForWindowExposed(results));
        clickAt(*results, centre(results->Label3[1]).x(), centre(results->Label3[1]).y()); // Exit
        TestApp::settle();
        QCOMPARE(app.forms.stackingOrder().last(), catalogue);
        clickAt(*catalogue, 600, 300); // tick "Edit Worksheet"
        QVERIFY(catalogue->Check1->value());
        clickAt(*catalogue, centre(catalogue->Label2[1]).x(), centre(catalogue->Label2[1]).y());
        w = app.forms.loaded<wizard>();
        QVERIFY(w && QTest::qWaitForWindowExposed(w));
        QCOMPARE(w->Text1->text(), QStringLiteral("Stars, planets"));
        QVERIFY(w->Check1[1].value());
        clickAt(*w, centre(w->Label3[1]).x(), centre(w->Label3[1]).y()); // save again
        clickAt(*w, centre(w->Label3[0]).x(), centre(w->Label3[0]).y());
        TestApp::settle();
        clickAt(*catalogue, 9600, 300); // tick "Delete Worksheet"
        QVERIFY(catalogue->Check2->value() && !catalogue->Check1->value());
        clickAt(*catalogue, centre(catalogue->Label2[1]).x(), centre(catalogue->Label2[1]).y());
        QCOMPARE(readBytes(app.dataPath(QStringLiteral("multiple/track.txt"))), QByteArray(" 0 \r\n"));
        QVERIFY(!catalogue->Label2[1].visible());
    }
};

QTEST_MAIN(TestWorksheets)
#include "tst_worksheets.moc"
