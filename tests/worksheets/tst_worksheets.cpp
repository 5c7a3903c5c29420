// The worksheet wizard and the worksheets catalogue: what a save checks and writes,
// editing, running and deleting from the list, paging, and things planted in a shared
// data folder under the names of the program's files.
#include "app/intro0.h"
#include "module1/worksheetchecks.h"
#include "module1/worksheetfile.h"
#include "pages/guide.h"
#include "quiz/multiple.h"
#include "quiz/welldone.h"
#include "toolkit/checkbox.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "toolkit/textbox.h"
#include "toolkit/timer.h"
#include "worksheetfolder.h"
#include "worksheets/worksheets.h"

#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

const QString kSaved = u"Your worksheet has been saved."_s;
const QString kCorrupted = u"This worksheet seems to be corrupted."_s;

QStringList shownSlots(const worksheets &catalogue)
{
    QStringList out;
    for (int i = 1; i <= 24; ++i) {
        if (catalogue.Label2[i].visible())
            out << catalogue.Label2[i].caption();
    }
    return out;
}

// "<stem> <first>" to "<stem> <last>".
QStringList sheets(int first, int last, const QString &stem = u"Sheet"_s)
{
    QStringList out;
    for (int i = first; i <= last; ++i)
        out << u"%1 %2"_s.arg(stem).arg(i);
    return out;
}

// A real click in the middle of a control.
void clickOn(Form &form, const Control &c)
{
    clickAt(form, c.left() + c.width() / 2, c.top() + c.height() / 2);
}

} // namespace

class TestWorksheets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checksInOrderBeforeSaving()
    {
        // The first problem found is told and nothing is written; mended, the next shows.
        TestApp app;
        const auto before = snapshot(app.root);
        wizard &w = app.forms.ref<wizard>();
        const auto save = [&] { // the title and text of the one message shown
            app.messages.shown.clear();
            w.genwork();
            const auto &shown = app.messages.shown;
            return shown.size() == 1 ? shown[0].title + u": "_s + shown[0].text : u"%1 messages"_s.arg(shown.size());
        };
        QCOMPARE(save(), u"Velmora: You have not chosen a title for your worksheet"_s);
        fillWizard(w, u"Maths/Science"_s);
        w.Check1[0].setValue(false);
        w.Text2[1].setText(QString());
        QCOMPARE(save(), u"Velmora: You have not ticked the correct answer for Question 1"_s);
        w.Check1[0].setValue(true);
        w.Text2[1].setText(u"Question 2"_s);
        w.Text3[6].setText(QString());
        w.Check1[5].setValue(false);
        QCOMPARE(save(), u"Velmora: You have not completed Question 2"_s); // an empty answer before no tick
        w.Text3[6].setText(u"C"_s);
        w.Check1[5].setValue(true);
        w.Check1[36].setValue(true);
        w.Check1[39].setValue(true);
        QCOMPARE(save(), u"Velmora: You have ticked more than one correct answer for Question 10"_s);
        w.Check1[36].setValue(false);
        w.Check1[39].setValue(false);
        QCOMPARE(save(), u"Velmora: A worksheet title cannot contain \"/\" or \"\\\". Please choose another title."_s);
        w.Text1->setText(u"Greek"_s);
        w.Text3[9].setText(u"Ω omega"_s);
        w.Text2[5].setText(u"Which star? 🌟"_s);
        QCOMPARE(save(), u"Velmora: The character \"Ω\" (U+03A9) in Question 3 cannot be saved in a worksheet. "
                         u"Please type it another way."_s);
        QVERIFY(!app.platform.file1().isOpen());
        QCOMPARE(snapshot(app.root), before);
    }

    void savingAgainAndUnderANewTitle()
    {
        TestApp app;
        wizard &w = app.forms.ref<wizard>();
        fillWizard(w, u"Plants, animals"_s);
        w.Text3[17].setText(u"   "_s); // blanks count as text
        w.genwork();
        const QString list = app.dataPath(kListFile);
        QCOMPARE(readBytes(list), QByteArray(" 1 \r\nPlants& animals\r\n"));
        // The same title again replaces the worksheet and stays listed once (that the list
        // file is then left alone is checked in the list's own tests).
        w.Text2[0].setText(u"Changed question"_s);
        w.genwork();
        QCOMPARE(readBytes(list), QByteArray(" 1 \r\nPlants& animals\r\n"));
        const QByteArray sheet = readBytes(app.dataPath(u"multiple/Plants& animals.txt"_s));
        QVERIFY(sheet.contains("Changed question"));
        QCOMPARE(sheet.count("\r\n"), 72);

        w.Text1->setText(u"Plants two"_s);
        w.genwork();
        QCOMPARE(readBytes(list), QByteArray(" 2 \r\nPlants& animals\r\nPlants two\r\n"));
        QVERIFY(QFile::exists(app.dataPath(u"multiple/Plants& animals.txt"_s)));
        QVERIFY(app.forms.loaded<wizard>()); // the wizard stays open after saving

        app.removeDataFile(kListFile);
        w.genwork();
        QCOMPARE(app.messages.shown.last().text, u"There was a problem saving your worksheet"_s);
        QVERIFY(!app.platform.file1().isOpen());
    }

    void focusOrderAndBoxLengths()
    {
        TestApp app;
        wizard &w = app.forms.ref<wizard>();
        QVERIFY(showAndExpose(w));
        // Enter moves on through the title, each question and its answers, and stays in
        // the last answer; Tab goes on from there to the ticks (the keyboard tests follow
        // Tab through the boxes).
        const QList<std::tuple<TextBox *, Qt::Key, QWidget *>> moves{
            {w.Text1, Qt::Key_Return, w.Text2[0].widget()},       {&w.Text2[2], Qt::Key_Return, w.Text3[8].widget()},
            {&w.Text3[9], Qt::Key_Return, w.Text3[10].widget()},  {&w.Text3[19], Qt::Key_Return, w.Text2[5].widget()},
            {&w.Text3[39], Qt::Key_Return, w.Text3[39].widget()}, {&w.Text3[39], Qt::Key_Tab, w.Check1[0].widget()}};
        for (const auto &[box, key, next] : moves) {
            box->setFocus();
            QTest::keyClick(box->widget(), key);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        // The boxes end where the import's length checks do.
        QCOMPARE((QList<int>{w.Text1->maxLength(), w.Text2[0].maxLength(), w.Text3[0].maxLength()}),
                 (QList<int>{kTitleBoxLength, kQuestionBoxLength, kAnswerBoxLength}));
        QVERIFY(!lengthProblem({QString(kQuestionBoxLength, u'q'), {QString(kAnswerBoxLength, u'a')}, {}}));
    }

    void editHandMadeLongTextsAndSaveUnchanged()
    {
        // A teacher's own file: a 26-character title, a 70-character question and a
        // 40-character answer, longer than the wizard lets anyone type.
        TestApp app;
        const QString title = u"The Solar System in Detail"_s;
        app.writeDataFile(worksheetFile(title),
                          readBytes(QStringLiteral(VELMORA_SOURCE_TESTDATA "/handmade-long-texts.txt")));
        app.writeDataFile(kListFile, listBytes({title}));
        const auto before = snapshot(app.root);
        // A wizard left open with other ticks still ends with one per question.
        for (const auto &[index, tick] : app.forms.ref<wizard>().Check1)
            tick->setValue(true);

        worksheets &catalogue = app.forms.ref<worksheets>();
        catalogue.Check1->setValue(true);
        catalogue.Label2[1].onClick();
        wizard *w = app.forms.loaded<wizard>();
        QVERIFY(w && w->isVisible());
        // Saved at once, the file is the same byte for byte: every text was shown whole (a
        // blank at the end included) and one tick per question, the file's own.
        w->genwork();
        QCOMPARE(app.messages.shown.last().text, kSaved);
        QCOMPARE(snapshot(app.root), before);
    }

    void damagedWorksheets_data()
    {
        QTest::addColumn<QByteArray>("damage"); // "missing", "cut short", or question 2's correct answer
        QTest::newRow("missing") << QByteArray("missing");
        QTest::newRow("cut short") << QByteArray("cut short");
        QTest::newRow("correct answer a letter") << QByteArray("x");
        QTest::newRow("correct answer zero") << QByteArray("0");
        QTest::newRow("correct answer five, one past D") << QByteArray("5");
    }

    void damagedWorksheets()
    {
        // A worksheet that cannot be read is not run, edited or deleted. One with only a
        // damaged correct answer runs as a quiz (the quiz's own tests score such a question)
        // but cannot be edited. Nothing is changed.
        QFETCH(QByteArray, damage);
        const bool runs = damage != "missing" && damage != "cut short";
        TestApp app;
        saveSheet(app, u"Damaged"_s);
        const QString file = u"multiple/Damaged.txt"_s;
        QByteArray bytes = readBytes(app.dataPath(file));
        QVERIFY(bytes.contains("\r\nanswer 2D\r\n2\r\n"));
        if (damage == "missing")
            app.removeDataFile(file);
        else
            app.writeDataFile(file, damage == "cut short" ? QByteArray("Damaged\r\n \r\nOnly one line\r\n")
                                                          : bytes.replace("\r\nanswer 2D\r\n2\r\n",
                                                                          "\r\nanswer 2D\r\n" + damage + "\r\n"));
        const auto before = snapshot(app.root);
        worksheets &catalogue = app.forms.ref<worksheets>();
        const auto clickIn = [&](int mode) { // 0 run, 1 edit, 2 delete
            catalogue.Check1->setValue(mode == 1);
            catalogue.Check2->setValue(mode == 2);
            app.messages.shown.clear();
            catalogue.Label2[1].onClick();
        };
        for (const int mode : runs ? QList<int>{1} : QList<int>{0, 1, 2}) {
            clickIn(mode);
            QCOMPARE(app.messages.shown.size(), 1);
            QCOMPARE(app.messages.shown[0].text, kCorrupted);
            QVERIFY(!app.forms.loaded<wizard>() && !app.forms.loaded<multiple>());
            QVERIFY(!app.platform.file1().isOpen());
        }
        if (runs) {
            clickIn(0);
            QVERIFY(app.messages.shown.isEmpty());
            QVERIFY(app.forms.loaded<multiple>() && app.forms.loaded<multiple>()->isVisible());
        }
        QCOMPARE(snapshot(app.root), before);
    }

    void cataloguePaging_data()
    {
        QTest::addColumn<int>("count"); // titles listed
        QTest::addColumn<int>("forward"); // clicks on "Next Page"
        QTest::addColumn<bool>("deleteFirst"); // then the first title shown is deleted
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<bool>("previous");
        QTest::addColumn<bool>("next");
        QTest::newRow("empty") << 0 << 0 << false << QStringList() << false << false;
        QTest::newRow("24 titles") << 24 << 0 << false << sheets(1, 24) << false << false;
        QTest::newRow("25 titles") << 25 << 0 << false << sheets(1, 24) << false << true;
        QTest::newRow("25 titles, page 2") << 25 << 1 << false << sheets(25, 25) << true << false;
        QTest::newRow("the only title of page 2 deleted") << 25 << 1 << true << QStringList() << true << false;
        QTest::newRow("the last page is 41") << 1000 << 40 << false << sheets(961, 984) << true << false;
    }

    void cataloguePaging()
    {
        QFETCH(int, count);
        QFETCH(int, forward);
        QFETCH(bool, deleteFirst);
        QFETCH(QStringList, shown);
        QFETCH(bool, previous);
        QFETCH(bool, next);
        TestApp app;
        app.writeDataFile(kListFile, listBytes(sheets(1, count)));
        worksheets &catalogue = app.forms.ref<worksheets>();
        for (int p = 0; p < forward; ++p)
            catalogue.Label3[1].onClick();
        if (deleteFirst) {
            saveSheet(app, shownSlots(catalogue).value(0));
            catalogue.Check2->setValue(true);
            catalogue.Label2[1].onClick();
        }
        QCOMPARE(shownSlots(catalogue), shown);
        QCOMPARE(catalogue.Label3[0].visible(), previous);
        QCOMPARE(catalogue.Label3[1].visible(), next);
        QCOMPARE(catalogue.Label4->caption(), u"Page %1"_s.arg(forward + 1));
    }

    void deleteFromThirtyWithCommas()
    {
        TestApp app;
        const QStringList listed = sheets(1, 30, u"Plants& animals"_s);
        app.writeDataFile(kListFile, listBytes(listed));
        saveSheet(app, u"Plants, animals 3"_s);
        worksheets &catalogue = app.forms.ref<worksheets>();
        catalogue.Check2->setValue(true);
        app.messages.answers = {false};
        catalogue.Label2[3].onClick(); // Cancel changes nothing
        QCOMPARE(readBytes(app.dataPath(kListFile)), listBytes(listed));
        QCOMPARE(app.m.worktitle, u"Plants, animals 3"_s); // but the quiz set holds it
        QCOMPARE(app.messages.shown.last().text,
                 u"Are you sure that you want to delete the worksheet Plants, animals 3?"_s);
        QVERIFY(app.messages.shown.last().title.isEmpty());

        catalogue.Label2[3].onClick(); // OK
        QStringList left = listed;
        left.removeAt(2);
        QCOMPARE(readBytes(app.dataPath(kListFile)), listBytes(left));
        QVERIFY(QFile::exists(app.dataPath(u"multiple/Plants& animals 3.txt"_s))); // only the title goes
        // Shown with commas, on both pages.
        left.replaceInStrings(u"&"_s, u","_s);
        QCOMPARE(shownSlots(catalogue), left.mid(0, 24));
        catalogue.Label3[1].onClick();
        QCOMPARE(shownSlots(catalogue), left.mid(24));
        catalogue.Label3[0].onClick();
        QCOMPARE(shownSlots(catalogue), left.mid(0, 24));
    }

    void teachersJourneyWithRoutedEvents()
    {
        TestApp app;
        intro0 *menu = &app.forms.ref<intro0>();
        QVERIFY(showAndExpose(*menu));
        clickOn(*menu, menu->Label2[17]);
        wizard *w = app.forms.loaded<wizard>();
        QVERIFY(w && QTest::qWaitForWindowExposed(w));
        // The texts typed (Enter's moves are checked on their own), the answers ticked by clicks.
        fillWizard(*w, u"Stars, planets"_s);
        for (const auto &[index, tick] : w->Check1)
            tick->setValue(false);
        for (int j = 0; j < 10; ++j) {
            const CheckBox &tick = w->Check1[4 * j + 1];
            clickAt(*w, tick.left() + 120, tick.top() + 150);
        }
        clickOn(*w, w->Label3[1]); // Save Worksheet
        QCOMPARE(app.messages.shown.value(0).text, kSaved);
        clickOn(*w, w->Label3[0]); // Exit
        TestApp::settle();
        clickOn(*menu, menu->Label2[18]); // catalogue, in place of the menu
        TestApp::settle();
        QVERIFY(!app.forms.loaded<intro0>());
        worksheets *catalogue = app.forms.loaded<worksheets>();
        QVERIFY(catalogue && QTest::qWaitForWindowExposed(catalogue));
        clickOn(*catalogue, catalogue->Label2[1]); // run, under the menu's picture and heading
        multiple *quiz = app.forms.loaded<multiple>();
        QVERIFY(quiz && QTest::qWaitForWindowExposed(quiz));
        QCOMPARE(quiz->Label6->caption(), u"Stars, planets"_s);
        QCOMPARE(quiz->Label5->caption(), u"Velmora"_s);
        QCOMPARE(quiz->Picture1->picture().source(), u"Images\\quintaransm.jpg"_s);
        QVERIFY(app.forms.loaded<intro0>() && !app.forms.loaded<intro0>()->isVisible());
        for (int q = 1; q <= 10; ++q) {
            const OptionButton &b = quiz->Option1[2];
            clickAt(*quiz, b.left() + 300, b.top() + b.height() / 2);
            clickOn(*quiz, quiz->Label3[1]);
        }
        QCOMPARE(app.m.score, 10);
        Welldone *results = app.forms.loaded<Welldone>();
        QVERIFY(results && QTest::qWaitForWindowExposed(results));
        clickOn(*results, results->Label3[1]); // Exit
        TestApp::settle();
        QCOMPARE(app.forms.stackingOrder().last(), catalogue);
        clickAt(*catalogue, 600, 300); // tick "Edit Worksheet"
        clickOn(*catalogue, catalogue->Label2[1]);
        w = app.forms.loaded<wizard>();
        QVERIFY(w && QTest::qWaitForWindowExposed(w));
        QCOMPARE(w->Text1->text(), u"Stars, planets"_s);
        QVERIFY(w->Check1[1].value());
        clickOn(*w, w->Label3[0]);
        TestApp::settle();
        // The two ticks exclude each other, and unticking one ticks nothing.
        clickAt(*catalogue, 9600, 300); // tick "Delete Worksheet"
        QVERIFY(catalogue->Check2->value() && !catalogue->Check1->value());
        clickAt(*catalogue, 9600, 300);
        QVERIFY(!catalogue->Check2->value() && !catalogue->Check1->value());
        clickAt(*catalogue, 9600, 300);
        clickOn(*catalogue, catalogue->Label2[1]);
        QCOMPARE(readBytes(app.dataPath(kListFile)), QByteArray(" 0 \r\n"));
        catalogue->close(); // the window manager's close is "Exit"
        QVERIFY(!app.forms.loaded<worksheets>());
        QVERIFY(app.forms.loaded<intro0>() && app.forms.loaded<intro0>()->isVisible());
    }

    void plantedNames_data()
    {
        // What is planted at multiple/Sheet.txt (or at the list or a page), and what
        // the teacher meets: a save refused, a run refused, or a page left blank.
        QTest::addColumn<QString>("planted");
        QTest::addColumn<QString>("what");
        const QString sheet = u"multiple/Sheet.txt"_s;
        QTest::newRow("dangling link out of the folder") << sheet << u"link:OUTSIDE/new.txt"_s;
        QTest::newRow("link to a file outside") << sheet << u"link:OUTSIDE/victim.txt"_s;
        QTest::newRow("link to a picture") << sheet << u"link:../Images/globe.jpg"_s;
        QTest::newRow("link to the list") << sheet << u"link:track.txt"_s;
        QTest::newRow("link to a folder") << sheet << u"link:../Images"_s;
        QTest::newRow("dangling link inside") << sheet << u"link:gone.txt"_s;
        QTest::newRow("folder named like a worksheet") << sheet << u"folder"_s;
        QTest::newRow("FIFO as a worksheet") << sheet << u"fifo"_s;
        QTest::newRow("FIFO as the list") << kListFile << u"fifo"_s;
        QTest::newRow("FIFO as a page") << u"wmf/guide1.wmf"_s << u"fifo"_s;
    }

    void plantedNames()
    {
        // None is written through, read through or waited on; the teacher is told why;
        // no file inside or outside the folder changes.
        QFETCH(QString, planted);
        QFETCH(QString, what);
        TestApp app;
        QTemporaryDir outside; // holding a teacher's own file
        QVERIFY(QFile::copy(app.dataPath(kListFile), outside.filePath(u"victim.txt"_s)));
        const bool plantedWorksheet = planted.endsWith("Sheet.txt"_L1);
        if (plantedWorksheet)
            app.writeDataFile(kListFile, " 1 \r\nSheet\r\n");
        const QByteArray path = QFile::encodeName(app.dataPath(planted));
        ::unlink(path.constData());
        if (what.startsWith("link:"_L1)) {
            const QString target = what.mid(5).replace("OUTSIDE"_L1, outside.path());
            QCOMPARE(::symlink(QFile::encodeName(target).constData(), path.constData()), 0);
        } else {
            QCOMPARE(what == "folder"_L1 ? ::mkdir(path.constData(), 0755) : ::mkfifo(path.constData(), 0644), 0);
        }
        const auto insideBefore = snapshot(app.root);
        const auto outsideBefore = snapshot(outside.path());

        if (planted.startsWith("wmf/"_L1)) {
            // The teachers' guide opens; the page is left blank rather than waited on.
            app.forms.ref<intro0>().Label2[20].onClick();
            QVERIFY(app.forms.loaded<guide>());
        } else {
            // The menu and the catalogue read the list silently...
            app.forms.ref<intro0>().Timer1->fire();
            worksheets &catalogue = app.forms.ref<worksheets>();
            if (plantedWorksheet) {
                // ...running the planted worksheet is refused with the reason...
                catalogue.Label2[1].onClick();
                QVERIFY(app.messages.shown.size() == 1 && app.messages.shown[0].text.startsWith(kCorrupted));
                app.messages.shown.clear();
            }
            // ...and saving over it is refused with the reason before anything is written.
            wizard &w = app.forms.ref<wizard>();
            fillWizard(w, u"Sheet"_s);
            w.genwork();
            QCOMPARE(app.messages.shown.size(), 1);
            const QString message = app.messages.shown[0].text;
            QVERIFY2(message.startsWith(u"There was a problem saving your worksheet\n\n"_s), qPrintable(message));
        }
        QVERIFY(!app.platform.file1().isOpen());
        auto insideAfter = snapshot(app.root);
        // With the list planted, the worksheet itself is saved before the list fails.
        if (!plantedWorksheet)
            insideAfter.remove(u"/multiple/Sheet.txt"_s);
        QCOMPARE(insideAfter, insideBefore);
        QCOMPARE(snapshot(outside.path()), outsideBefore);
    }
};

QTEST_MAIN(TestWorksheets)
#include "tst_worksheets.moc"
