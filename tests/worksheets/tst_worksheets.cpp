// The worksheet wizard and the worksheets catalogue: what a save checks and writes,
// editing, running and deleting from the list, paging, and things planted in a shared
// data folder under the names of the program's files. And worksheets out to and in from
// question files, through the program's own files: the teachers' hand-written files,
// round trips of every supplied and test worksheet, and files that must not get in; the
// Aiken and GIFT readers and writers on their own: what a text gives, question by
// question, and that what the writers write reads back the same.
#include "app/intro0.h"
#include "exchange/exchange.h"
#include "exchange/questionfiles.h"
#include "module1/worksheetchecks.h"
#include "module1/worksheetfile.h"
#include "pages/guide.h"
#include "platform/windows1252.h"
#include "quiz/multiple.h"
#include "quiz/welldone.h"
#include "support/testapp.h"
#include "toolkit/checkbox.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "toolkit/textbox.h"
#include "toolkit/timer.h"
#include "worksheets/wizard.h"
#include "worksheets/worksheets.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

// Fails showing the whole report when the report lacks `part`.
#define VERIFY_REPORT_HAS(report, part) QVERIFY2((report).text().contains(part), qPrintable((report).text()))

namespace {

const QString kSaved = u"Your worksheet has been saved."_s;
const QString kCorrupted = u"This worksheet seems to be corrupted."_s;

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// The list file of these titles, in the code page of the worksheet files.
QByteArray listBytes(const QStringList &titles)
{
    QByteArray out = " " + QByteArray::number(titles.size()) + " \r\n";
    for (const QString &title : titles)
        out += *toWindows1252(title) + "\r\n";
    return out;
}

// The file's identity: a file written again (a temporary renamed over it) gets a new one.
ino_t inode(const QString &path)
{
    struct stat info {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

// Every entry under a folder, an ordinary file by a digest of its bytes; links are
// named by their target and pipes by kind, never opened.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        out.insert(path.mid(root.size()),
                   info.isSymLink() ? "link to " + QFile::encodeName(info.symLinkTarget())
                   : info.isFile()  ? QCryptographicHash::hash(readBytes(path), QCryptographicHash::Sha256).toHex()
                                    : QByteArray(info.isDir() ? "folder" : "other"));
    }
    return out;
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

// "<stem> <first>" to "<stem> <last>".
QStringList sheets(int first, int last, const QString &stem = u"Sheet"_s)
{
    QStringList out;
    for (int i = first; i <= last; ++i)
        out << u"%1 %2"_s.arg(stem).arg(i);
    return out;
}

// A worksheet as loadquiz reads it: its title, then per question its text, answers A to
// D and the correct answer, joined by " | "; with `trimmed`, each text trimmed.
QStringList quizSet(TestApp &app, const QString &asWritten, bool trimmed = false)
{
    app.platform.file1().openForInput(asWritten);
    app.m.loadquiz();
    app.platform.file1().close();
    QStringList out{app.m.worktitle};
    for (std::size_t q = 1; q <= 10; ++q) {
        QStringList parts{app.m.quest[q], app.m.ansa[q], app.m.ansb[q], app.m.ansc[q], app.m.ansd[q]};
        for (QString &part : parts)
            part = trimmed ? part.trimmed() : part;
        out << (parts << app.m.rightans[q]).join(u" | "_s);
    }
    return out;
}

// A GIFT file of `count` plain multiple-choice questions.
QByteArray giftQuestions(int count, const QString &tag = u"Q"_s)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += u"%1 %2?{=right ~wrong one ~wrong two ~wrong three}\n\n"_s.arg(tag).arg(i);
    return text.toUtf8();
}

constexpr auto Aiken = QuestionFormat::Aiken;
constexpr auto Gift = QuestionFormat::Gift;

// Each question as the tests describe it: its text, its answers joined by "|", the
// indexes of its right answers, and why it is no multiple-choice question.
QStringList described(const QList<ParsedQuestion> &questions)
{
    QStringList out;
    for (const ParsedQuestion &q : questions) {
        QStringList right;
        for (const int r : q.right)
            right << QString::number(r);
        out << u"%1 [%2] right=%3%4%5"_s.arg(q.text, q.answers.join(u'|'), right.join(u','),
                                             q.partMarks ? u" part"_s : QString(),
                                             q.notMultipleChoice.isEmpty() ? QString()
                                                                           : u" / "_s + q.notMultipleChoice);
    }
    return out;
}

// A row of the reading table; the text is taken for the format it is written in unless
// `detected` says otherwise (-1 for neither).
void readsAs(QuestionFormat format, const char *name, const QString &text, const QStringList &expected,
             int detected = -2)
{
    QTest::addRow("%s: %s", format == Aiken ? "Aiken" : "GIFT", name)
        << int(format) << text << expected << (detected == -2 ? int(format) : detected);
}

// A GIFT text of one question that is no multiple-choice question: its text and why.
void giftRefuses(const char *name, const QString &text, const QString &question, const QString &why, int detected = -2)
{
    readsAs(Gift, name, text, {question + u" [] right= / "_s + why}, detected);
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
        // The same title again replaces the worksheet; the list is not written again.
        const ino_t listWritten = inode(list);
        w.Text2[0].setText(u"Changed question"_s);
        w.genwork();
        QCOMPARE(inode(list), listWritten);
        QCOMPARE(readBytes(list), QByteArray(" 1 \r\nPlants& animals\r\n"));
        const QByteArray sheet = readBytes(app.dataPath(u"multiple/Plants& animals.txt"_s));
        QVERIFY(sheet.contains("Changed question"));
        QCOMPARE(sheet.count("\r\n"), 72);

        w.Text1->setText(u"Plants two"_s);
        w.genwork();
        QCOMPARE(readBytes(list), QByteArray(" 2 \r\nPlants& animals\r\nPlants two\r\n"));
        QVERIFY(QFile::exists(app.dataPath(u"multiple/Plants& animals.txt"_s)));
        QCOMPARE(app.messages.shown.last().text, kSaved);
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
        QVERIFY(w.Text3[39].text().isEmpty());
        // The boxes end where the import's length checks do.
        QCOMPARE(w.Text1->maxLength(), kTitleBoxLength);
        QCOMPARE(w.Text2[0].maxLength(), kQuestionBoxLength);
        QCOMPARE(w.Text3[0].maxLength(), kAnswerBoxLength);
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
        QCOMPARE(w->Text1->text(), title);
        QCOMPARE(w->Text2[0].text().size(), 70);
        QCOMPARE(w->Text3[0].text(), u"Mars, the small red planet next to Earth"_s);
        QCOMPARE(w->Text3[7].text(), u"Mars "_s); // a blank at the end stays
        const QString right = u"1123431213"_s; // question by question
        for (int i = 0; i < 40; ++i)
            QCOMPARE(w->Check1[i].value(), right[i / 4] == QChar(u'1' + i % 4));

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
        QTest::newRow("correct answer empty") << QByteArray("");
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
        app.writeDataFile(kListFile, listBytes(sheets(1, 30, u"Plants& animals"_s)));
        saveSheet(app, u"Plants, animals 3"_s);
        worksheets &catalogue = app.forms.ref<worksheets>();
        const auto shownWithCommas = [&catalogue](int count) {
            const QStringList shown = shownSlots(catalogue);
            return shown.size() == count && shown.filter(u"Plants, animals "_s).size() == count;
        };
        catalogue.Check2->setValue(true);
        app.messages.answers = {false};
        catalogue.Label2[3].onClick(); // Cancel changes nothing
        QCOMPARE(readBytes(app.dataPath(kListFile)), listBytes(sheets(1, 30, u"Plants& animals"_s)));
        QCOMPARE(app.m.worktitle, u"Plants, animals 3"_s); // but the quiz set holds it
        QCOMPARE(app.messages.shown.last().text,
                 u"Are you sure that you want to delete the worksheet Plants, animals 3?"_s);
        QVERIFY(app.messages.shown.last().title.isEmpty());

        catalogue.Label2[3].onClick(); // OK
        const QByteArray list = readBytes(app.dataPath(kListFile));
        QVERIFY(list.startsWith(" 29 \r\nPlants& animals 1\r\nPlants& animals 2\r\nPlants& animals 4\r\n"));
        QCOMPARE(list.count("\r\n"), 30);
        QVERIFY(shownWithCommas(24));
        QCOMPARE(shownSlots(catalogue)[2], u"Plants, animals 4"_s);
        QVERIFY(QFile::exists(app.dataPath(u"multiple/Plants& animals 3.txt"_s))); // only the title goes
        catalogue.Label3[1].onClick();
        QVERIFY(shownWithCommas(5));
        catalogue.Label3[0].onClick();
        QVERIFY(shownWithCommas(24));
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
        QCOMPARE(catalogue->Label2[1].caption(), u"Stars, planets"_s);
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
        QVERIFY(catalogue->Check1->value());
        clickOn(*catalogue, catalogue->Label2[1]);
        w = app.forms.loaded<wizard>();
        QVERIFY(w && QTest::qWaitForWindowExposed(w));
        QCOMPARE(w->Text1->text(), u"Stars, planets"_s);
        QVERIFY(w->Check1[1].value());
        clickOn(*w, w->Label3[1]); // save again
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
        QVERIFY(!catalogue->Label2[1].visible());
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
                QCOMPARE(app.messages.shown.size(), 1);
                QVERIFY(app.messages.shown[0].text.startsWith(kCorrupted));
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

    void reading_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("detected"); // the format told from the text, -1 for neither

        readsAs(Aiken, "dots, then brackets; blank line between",
                u"What is the right answer?\nA. This one\nB. Maybe this\nC. Or this\nD. Surely this\nANSWER: D\n\n"
                u"Which is a planet?\nA) Mars\nB) The Sun\nC) The Moon\nD) Halley\nANSWER: A\n"_s,
                {u"What is the right answer? [This one|Maybe this|Or this|Surely this] right=3"_s,
                 u"Which is a planet? [Mars|The Sun|The Moon|Halley] right=0"_s});
        readsAs(Aiken, "no blank line, CR LF, blanks around lines",
                u"  Q one?\r\nA. a\r\nB. b \r\n\tC. c\r\nD. d\r\nANSWER:  B \r\n"
                u"Q two?\r\nA. w\r\nB. x\r\nC. y\r\nD. z\r\nANSWER: c\r\n"_s,
                {u"Q one? [a|b|c|d] right=1"_s, u"Q two? [w|x|y|z] right=2"_s});
        readsAs(Aiken, "six answers are read; the count is checked later",
                u"Q?\nA. 1\nB. 2\nC. 3\nD. 4\nE. 5\nF. 6\nANSWER: F\n"_s, {u"Q? [1|2|3|4|5|6] right=5"_s});
        readsAs(Aiken, "a question line that looks like an answer",
                u"A. Smith wrote which book?\nA. One\nB. Two\nC. Three\nD. Four\nANSWER: A\n"_s,
                {u"A. Smith wrote which book? [One|Two|Three|Four] right=0"_s});
        readsAs(Aiken, "an empty answer", u"Q?\nA.\nB. b\nC. c\nD. d\nANSWER: B\n"_s, {u"Q? [|b|c|d] right=1"_s});
        readsAs(Aiken, "no ANSWER line, then the next question",
                u"Q one?\nA. a\nB. b\nQ two?\nA. c\nB. d\nANSWER: A\n"_s,
                {u"Q one? [a|b] right= / it has no ANSWER line after its answers"_s, u"Q two? [c|d] right=0"_s});
        readsAs(Aiken, "a question over two lines", u"Which planet\nis red?\nA. Mars\nB. Venus\nANSWER: A\n"_s,
                {u"Which planet is red? [Mars|Venus] right=0 / its question runs over more than one line "
                 u"(an Aiken question is one line)"_s});
        readsAs(Aiken, "an ANSWER letter that is no answer", u"Q?\nA. a\nB. b\nANSWER: E\n"_s,
                {u"Q? [a|b] right= / its ANSWER line \"E\" names none of its answers"_s});
        readsAs(Aiken, "ANSWER naming two letters", u"Q?\nA. a\nB. b\nANSWER: A, B\n"_s,
                {u"Q? [a|b] right= / its ANSWER line \"A, B\" names none of its answers"_s});
        readsAs(Aiken, "an ANSWER line on its own", u"ANSWER: A\n"_s,
                {u" [] right= / an ANSWER line without a question before it"_s});
        readsAs(Aiken, "a letter given twice", u"Q?\nA. a\nA. b\nANSWER: A\n"_s,
                {u"Q? [a|b] right=0 / the letter A starts two of its answers"_s});
        readsAs(Aiken, "a brace in one question", u"Is {1,2} a set?\nA. Yes\nB. No\nANSWER: A\nQ?\nA. a\nANSWER: A\n"_s,
                {u"Is {1,2} a set? [Yes|No] right=0"_s, u"Q? [a] right=0"_s});
        readsAs(
            Aiken, "braces in a comment line and escaped", u"// {x}\nQ \\{?\nA. a\nANSWER: A\n"_s,
            {u"// {x} Q \\{? [a] right=0 / its question runs over more than one line (an Aiken question is one line)"_s});
        readsAs(Aiken, "empty, detected as neither", QString(), {}, -1);
        readsAs(Aiken, "a question without answers", u"Q?\nANSWER: A\n"_s, {u"Q? [] right= / it has no answers"_s});

        readsAs(Gift, "one line, title, comment", u"// a comment\n::Q1:: Who wrote it?{~Anna ~Ben =nobody ~Carl}\n"_s,
                {u"Who wrote it? [Anna|Ben|nobody|Carl] right=2"_s});
        readsAs(Gift, "answers on lines, feedback, CR LF, comment inside",
                u"Which country?{\r\n  ~India #No\r\n// not this\r\n  =China # Yes!\r\n  ~Korea\r\n  ~Egypt}\r\n"_s,
                {u"Which country? [India|China|Korea|Egypt] right=1"_s});
        readsAs(Gift, "escapes",
                u"::T\\:1:: 3\\:1 and 2 \\= 1+1 \\# \\{x\\} \\~ a\\\\b\\nc ? {=\\{s\\} ~a\\=b ~c\\#d ~e\\:f}\n"_s,
                {u"3:1 and 2 = 1+1 # {x} ~ a\\b c ? [{s}|a=b|c#d|e:f] right=0"_s});
        readsAs(Gift, "a lone backslash stays", u"C:\\temp? {=a ~b ~c ~d}\n"_s, {u"C:\\temp? [a|b|c|d] right=0"_s});
        readsAs(Gift, "missing word", u"Grant is {~buried =entombed ~living ~x} in the tomb.\n"_s,
                {u"Grant is _____ in the tomb. [buried|entombed|living|x] right=1"_s});
        readsAs(Gift, "weights: 100 is right, 0 and below wrong", u"Q?{~%100%a ~%0%b ~%-50%c =%100%d}\n"_s,
                {u"Q? [a|b|c|d] right=0,3"_s});
        readsAs(Gift, "part marks", u"Q?{~%50%a ~%50%b ~%-100%c ~%-100%d}\n"_s, {u"Q? [a|b|c|d] right= part"_s});
        readsAs(Gift, "html question and answer",
                u"[html]<p>Which <b>gas</b> &amp; why&#63;</p>{=[html]CO<sub>2</sub> ~O ~N ~He}\n"_s,
                {u"Which gas & why? [CO2|O|N|He] right=0"_s});
        readsAs(Gift, "plain and markdown markers", u"[plain]<b> stays{=a ~b}\n\n[markdown]*x*{=a ~b}\n"_s,
                {u"<b> stays [a|b] right=0"_s, u"*x* [a|b] right=0"_s});
        readsAs(Gift, "category, blank lines with blanks, several questions",
                u"$CATEGORY: a/b\n\n \t \nQ1{=a ~b}\n\n\n\nQ2{=c ~d}"_s,
                {u"Q1 [a|b] right=0"_s, u"Q2 [c|d] right=0"_s});
        readsAs(Gift, "category on the question's first line", u"$CATEGORY: a\nQ{=a ~b}\n"_s, {u"Q [a|b] right=0"_s});
        readsAs(Gift, "true/false", u"The Sun is a star.{T}\n\nIt is.{FALSE#no}\n"_s,
                {u"The Sun is a star. [] right= / it is a true/false question"_s,
                 u"It is. [] right= / it is a true/false question"_s});

        giftRefuses("short answer", u"Two plus {=two =2} is four.\n"_s, u"Two plus _____ is four."_s,
                    u"it is a short-answer question (every answer is right)"_s);
        giftRefuses("matching", u"Match:{=cat -> fish =dog -> bone}\n"_s, u"Match:"_s, u"it is a matching question"_s);
        giftRefuses("numerical", u"Born when?{#1822:5}\n"_s, u"Born when?"_s, u"it is a numerical question"_s);
        giftRefuses("essay", u"Write.{}\n"_s, u"Write."_s, u"it is an essay question (no answers to choose from)"_s);
        giftRefuses("description", u"Just words.\n"_s, u"Just words."_s,
                    u"it has no answers in braces (a description, not a question)"_s, -1);
        giftRefuses("unclosed answers", u"Q?{=a ~b\n"_s, u"Q?"_s,
                    u"its answers are not closed with \"}\" (unbalanced braces)"_s);
        giftRefuses("closing brace first", u"Q}?{=a ~b}\n"_s, u"Q}?"_s,
                    u"it has a \"}\" without a \"{\" before it (unbalanced braces)"_s);
        giftRefuses("brace inside answers", u"Q?{=a {~b}\n"_s, u"Q?"_s,
                    u"it has a \"{\" inside its answers (unbalanced braces)"_s);
        giftRefuses("two questions without a blank line", u"Q1?{=a ~b}\nQ2?{=c ~d}\n"_s, u"Q1?"_s,
                    u"it has more than one set of braces (questions must be separated by a blank line)"_s);
        giftRefuses("unclosed title", u"::T Q?{=a ~b}\n"_s, u"T Q?{=a ~b}"_s, u"its title is not closed with \"::\""_s);
        giftRefuses("unmarked answers", u"Q?{Paris}\n"_s, u"Q?"_s,
                    u"its answers are not marked with \"=\" and \"~\""_s);
    }

    void reading()
    {
        QFETCH(int, format);
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QFETCH(int, detected);
        QCOMPARE(described(readQuestions(text, QuestionFormat(format))), expected);
        const auto found = detectFormat(text);
        QCOMPARE(found ? int(*found) : -1, detected);
    }

    void decoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("legacy");
        QTest::addColumn<QString>("refusal");

        QTest::newRow("UTF-8") << QByteArray("caf\xC3\xA9") << u"café"_s << false << QString();
        QTest::newRow("UTF-8 with a byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                                    "caf\xC3\xA9")
                                                      << u"café"_s << false << QString();
        QTest::newRow("Windows-1252") << QByteArray("caf\xE9 \x93q\x94") << u"café “q”"_s << true << QString();
        QTest::newRow("UTF-16") << QByteArray("\xFF\xFEQ\0?\0", 6) << QString() << false
                                << u"it is UTF-16 text; please save it as UTF-8"_s;
        QTest::newRow("NUL bytes") << QByteArray("ab\0cd", 5) << QString() << false
                                   << u"it is not a text file (it holds NUL bytes)"_s;
        QTest::newRow("control characters") << QByteArray(40, '\x01') + QByteArray(100, 'a') << QString() << false
                                            << u"it is not a text file (it holds 40 control characters)"_s;
        QTest::newRow("a stray control character is left to the checks")
            << QByteArray(2000, 'a') + '\x0B' << QString(2000, u'a') + QChar(0x0B) << false << QString();
    }

    void decoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(bool, legacy);
        QFETCH(QString, refusal);
        const DecodedText decoded = decodeQuestionFile(bytes);
        QCOMPARE(decoded.text.value_or(QString()), text);
        QCOMPARE(decoded.legacy, legacy);
        QCOMPARE(decoded.refusal, refusal);
    }

    void writersReadBack_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("aiken"); // whether Aiken can carry the question

        QTest::newRow("plain") << u"Which planet is red?"_s << u"Mars"_s << true;
        QTest::newRow("every GIFT special character") << u"a~b=c#d{e}f:g::h"_s << u"=~#{}:"_s << true;
        QTest::newRow("backslashes") << u"C:\\new \\n \\\\ \\= end\\"_s << u"\\"_s << true;
        QTest::newRow("a comment look-alike") << u"// not a comment"_s << u"// nor this"_s << true;
        QTest::newRow("a format look-alike") << u"[html]<b>x</b>"_s << u"[plain]y"_s << true;
        QTest::newRow("a weight look-alike") << u"50% of 10?"_s << u"%5%"_s << true;
        QTest::newRow("an answer line look-alike") << u"B) is it this?"_s << u"A. x"_s << true;
        QTest::newRow("a category look-alike") << u"$CATEGORY: x"_s << u"y"_s << true;
        QTest::newRow("accents and quotes") << u"Où est « Noël » ? “quoted” ’"_s << u"Été"_s << true;
        QTest::newRow("true/false look-alike") << u"T"_s << u"TRUE"_s << true;
        QTest::newRow("commas and ampersands") << u"salt, pepper & oil"_s << u"a,b&c"_s << true;
        QTest::newRow("an ANSWER line look-alike") << u"ANSWER: B"_s << u"x"_s << false;
        QTest::newRow("an empty question") << QString() << u"x"_s << false;
        QTest::newRow("only blanks") << u"   "_s << u"x"_s << false;
    }

    void writersReadBack()
    {
        QFETCH(QString, question);
        QFETCH(QString, answer);
        QFETCH(bool, aiken);
        const QList<ExportQuestion> written{{question, {answer, u"two"_s, u"three"_s, u"four"_s}, 0},
                                            {u"Second?"_s, {u"w"_s, answer, u"y"_s, u"z"_s}, 1}};
        // Blanks at either end of a text do not travel.
        const QStringList expected{u"%1 [%2|two|three|four] right=0"_s.arg(question.trimmed(), answer),
                                   u"Second? [w|%1|y|z] right=1"_s.arg(answer)};
        QCOMPARE(!aikenCannotHold(written[0]), aiken);
        for (const QuestionFormat format : {Gift, Aiken}) {
            if (format == Aiken && !aiken)
                continue;
            const auto read =
                decodeQuestionFile(format == Gift ? writeGift(u"A: {name}"_s, written) : writeAiken(written));
            QVERIFY(read.text);
            QCOMPARE(detectFormat(*read.text), format);
            QCOMPARE(described(readQuestions(*read.text, format)), expected);
        }
    }

    void exportNames_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        QTest::newRow("commas stay") << u"Plants, animals"_s << u"Plants, animals"_s;
        QTest::newRow("refused characters") << u"a<b>c:d\"e/f\\g|h?i*j"_s << u"a_b_c_d_e_f_g_h_i_j"_s;
        QTest::newRow("climbing out") << u"../../etc/x"_s << u".._.._etc_x"_s;
        QTest::newRow("only dots") << u".."_s << u"worksheet"_s;
        QTest::newRow("dots and blanks at the end") << u"Quiz. . "_s << u"Quiz"_s;
        QTest::newRow("a device name") << u"con"_s << u"_con"_s;
        QTest::newRow("a device name with a dot") << u"LPT1.x"_s << u"_LPT1.x"_s;
        QTest::newRow("a control character") << u"a\tb"_s << u"a_b"_s;
        QTest::newRow("long") << QString(300, u'x') << QString(200, u'x');
    }

    void exportNames()
    {
        QFETCH(QString, title);
        QFETCH(QString, name);
        QCOMPARE(exportFileName(title, Gift), name + u".gift"_s);
        QCOMPARE(exportFileName(title, Aiken), name + u".txt"_s);
    }

    void handWrittenFiles()
    {
        // Two teachers' files and one that is no text, imported at once: the refused file
        // does not stop the next. The Aiken file is saved with a byte-order mark and CR LF,
        // the GIFT file as UTF-8 with LF.
        QTemporaryDir in;
        writeBytes(in.filePath(u"B.txt"_s), QByteArray("\0\0\0", 3));
        const QString fixtures = QStringLiteral(VELMORA_SOURCE_TESTDATA "/exchange/");
        TestApp app;
        auto untouched = snapshot(app.root);
        const ExchangeReport report = importFiles(app.m, {fixtures + u"Solar system.txt"_s, in.filePath(u"B.txt"_s),
                                                          fixtures + u"Science quiz.gift"_s});
        QVERIFY(!report.ok);
        for (const QString &part :
             {u"Solar system.txt (Aiken, 30 questions):"_s, u"B.txt: nothing imported: it is not a text file"_s,
              u"Science quiz.gift (GIFT, 35 questions):"_s,
              u"not saved: questions 26-30, 5 usable questions left over; a worksheet needs ten"_s,
              u"not saved: questions 30-31, 33-35, 5 usable questions left over; a worksheet needs ten"_s})
            VERIFY_REPORT_HAS(report, part);
        QStringList skipped;
        for (const QString &line : report.lines) {
            if (line.contains(" skipped: "_L1))
                skipped << line.section(u' ', 3, 3);
        }
        QCOMPARE(skipped.join(u' '), u"4 9 14 19 24 2 7 10 11 12 13 14 15 16 32"_s);

        // Four worksheets and the list change; nothing else, and no temporary or lock stays.
        const QStringList titles{u"Solar system 1"_s, u"Solar system 2"_s, u"Science quiz 1"_s, u"Science quiz 2"_s};
        QCOMPARE(readBytes(app.dataPath(kListFile)), listBytes(titles));
        auto after = snapshot(app.root);
        for (const QString &name : QStringList{kListFile} + titles) {
            const QString file = u"/"_s + (name == kListFile ? name : worksheetFile(name));
            untouched.remove(file);
            QVERIFY2(after.remove(file) == 1, qPrintable(file));
        }
        QCOMPARE(after, untouched);
        // Sample questions as loadquiz reads them back.
        const QList<std::tuple<QString, int, QString>> questions{
            {titles[0], 2, u"Which planet is known as the red planet? | Jupiter | Mars | Saturn | Neptune | 2"_s},
            {titles[0], 5, u"Quelle planète est la plus grande ? | Jupiter | Saturne | Vénus | Mars | 1"_s},
            {titles[1], 6, u"Wie heißt der größte Mond des Saturn? | Europa | Io | Phobos | Titan | 4"_s},
            {titles[2], 2, u"What is the chemical symbol for gold? | Ag | Au | Gd | Go | 2"_s},
            {titles[2], 3, u"In the ratio 3:1, what does 2 = 1 + 1 show? | A ratio | A sum | A {set} | A ~wave | 2"_s},
            {titles[2], 6,
             u"Which part of the cell holds its DNA? | The nucleus | The wall | The membrane | The cytoplasm | 1"_s},
            {titles[2], 7,
             u"The Sun is a _____ at the centre of the solar system. | star | planet | moon | comet | 1"_s},
            {titles[2], 8, u"Où se trouve la tour Eiffel ? | Paris | Lyon | Marseille | Nice | 1"_s}};
        for (const auto &[title, number, expected] : questions) {
            const QStringList set = quizSet(app, worksheetFile(title));
            QCOMPARE(set.value(0), title);
            QCOMPARE(set.value(number), expected);
        }
        // Accented letters are stored in the worksheets' own code page.
        QVERIFY(!readBytes(app.dataPath(worksheetFile(titles[0]))).contains("\xC3"));
    }

    void skippedWithReasons_data()
    {
        QTest::addColumn<QByteArray>("question");
        QTest::addColumn<QString>("reason");
        QTest::newRow("too long a question") << QByteArray(61, 'q') + "{=a ~b ~c ~d}"
                                             << u"the question is too long: 61 characters, the wizard's box holds 60"_s;
        QTest::newRow("too long an answer") << "Q{=a ~b ~" + QByteArray(31, 'c') + " ~d}"
                                            << u"answer C is too long: 31 characters, the wizard's box holds 30"_s;
        QTest::newRow("an empty answer") << QByteArray("Q{=a ~ ~c ~d}") << u"answer B is empty"_s;
        QTest::newRow("an empty question") << QByteArray("{=a ~b ~c ~d}") << u"the question is empty"_s;
        QTest::newRow("an emoji") << QByteArray("Q \xF0\x9F\x98\x80{=a ~b ~c ~d}")
                                  << u"the character \"😀\" (U+1F600) in the question cannot be saved in a worksheet "
                                     u"(its code page cannot hold it)"_s;
        QTest::newRow("a control character")
            << QByteArray("Q\x01x{=a ~b ~c ~d}") << u"it holds the control character \"\u0001\" (U+0001)"_s;
        QTest::newRow("five answers") << QByteArray("Q{=a ~b ~c ~d ~e}")
                                      << u"it has 5 answers; a worksheet question has four"_s;
        QTest::newRow("no right answer") << QByteArray("Q{~a ~b ~c ~d}") << u"none of its answers is marked right"_s;
    }

    void skippedWithReasons()
    {
        // Nine good questions and one bad: the bad one is named with its reason, and the
        // nine make no worksheet.
        QFETCH(QByteArray, question);
        QFETCH(QString, reason);
        const ImportPlan plan =
            planImport(giftQuestions(5) + question + "\n\n" + giftQuestions(4, u"R"_s), u"Mixed.gift"_s);
        QCOMPARE(plan.skipped, QStringList{u"question 6 (line 11) skipped: "_s + reason});
        QCOMPARE(plan.leftOver.size(), 9);
    }

    void roundTrips_data()
    {
        QTest::addColumn<QString>("source"); // a test worksheet, "wizard", or empty for the unit's quiz
        QTest::addColumn<QString>("title"); // as shown
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("change"); // the report's words for a documented change

        for (const QuestionFormat format : {Aiken, Gift}) {
            const bool aiken = format == Aiken;
            const char *name = aiken ? "Aiken" : "GIFT";
            // Two of the unit quiz's answers are longer than the wizard's boxes take.
            QTest::addRow("unit quiz, %s", name)
                << QString() << u"Ardovin Sevrani"_s << int(format)
                << u"skipped: answer B is too long: 34 characters, the wizard's box holds 30"_s;
            QTest::addRow("hand-made worksheet, %s", name)
                << u"handmade-worksheet.txt"_s << u"Les planètes, et leurs lunes"_s << int(format) << QString();
            QTest::addRow("long texts, %s", name)
                << u"handmade-long-texts.txt"_s << u"The Solar System in Detail"_s << int(format)
                << u"question 1 (line %1) skipped: the question is too long: 70 characters"_s.arg(aiken ? 1 : 3);
            QTest::addRow("wizard worksheet with commas and GIFT's characters, %s", name)
                << u"wizard"_s << u"Plants, animals"_s << int(format) << QString();
        }
    }

    void roundTrips()
    {
        QFETCH(QString, source);
        QFETCH(QString, title);
        QFETCH(int, format);
        QFETCH(QString, change);

        TestApp from;
        const QString asWritten = source.isEmpty() ? kUnitQuizFile : worksheetFile(listTitle(title));
        if (source == "wizard"_L1) {
            wizard &w = from.forms.ref<wizard>();
            fillWizard(w, title);
            w.Text2[0].setText(u"Is 2 = 1+1, {x} ~y #z: yes?"_s);
            w.Text2[1].setText(u"\"Quoted\", with a comma & more"_s);
            w.Text3[4].setText(u"C:\\path\\n, \\{"_s);
            w.Text3[5].setText(u"%50% [html] //"_s);
            w.genwork();
            QCOMPARE(from.messages.shown.last().text, u"Your worksheet has been saved."_s);
        } else if (!source.isEmpty()) {
            from.writeDataFile(asWritten, readBytes(QStringLiteral(VELMORA_SOURCE_TESTDATA "/") + source));
            // The list is in the code page of the worksheet files.
            from.writeDataFile(kListFile, listBytes({listTitle(title)}));
        }

        QTemporaryDir out;
        const ExchangeReport exported = exportWorksheets(from.m, out.path(), QuestionFormat(format), title);
        QVERIFY2(exported.ok, qPrintable(exported.text()));
        const QString exportedName = title + (format == int(Aiken) ? u".txt"_s : u".gift"_s);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{exportedName});
        const QString file = out.filePath(exportedName);

        TestApp to;
        const QByteArray listBefore = readBytes(to.dataPath(kListFile));
        const ExchangeReport imported = importFiles(to.m, {file});
        if (!change.isEmpty()) {
            VERIFY_REPORT_HAS(imported, change);
            QVERIFY(!imported.text().contains("saved \""_L1));
            QCOMPARE(readBytes(to.dataPath(kListFile)), listBefore);
            return;
        }
        QVERIFY2(imported.ok, qPrintable(imported.text()));
        QCOMPARE(readBytes(to.dataPath(kListFile)), listBytes({listTitle(title)}));
        // Blanks at either end of a text do not travel.
        QCOMPARE(quizSet(to, worksheetFile(listTitle(title))), quizSet(from, asWritten, true));
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind"); // what is put under the name
        QTest::addColumn<QString>("reason");

        QTest::newRow("larger than the limit") << u"big.gift"_s << u"big"_s << u"it is larger than 4 MB"_s;
        QTest::newRow("neither format") << u"letter.txt"_s << u"letter"_s << u"it is neither Aiken"_s;
        QTest::newRow("a folder") << u"folder.gift"_s << u"folder"_s << u"it is not an ordinary file"_s;
        QTest::newRow("a pipe") << u"pipe.gift"_s << u"pipe"_s << u"it is not an ordinary file"_s;
        QTest::newRow("missing") << u"missing.gift"_s << u"nothing"_s << u"there is no such file"_s;
        // Titles from file names that the wizard refuses too, in its words.
        QTest::newRow("a title leading out of the folder")
            << u"..\\..\\escape.gift"_s << u"questions"_s << u"A worksheet title cannot contain \"/\" or \"\\\""_s;
        QTest::newRow("a title of dots") << u"...gift"_s << u"questions"_s << u"cannot be made of dots only"_s;
        QTest::newRow("the list's own name")
            << u"track.gift"_s << u"questions"_s
            << u"The title \"track\" is kept for the program's own files. Please choose another title."_s;
        QTest::newRow("a device name") << u"CON.txt"_s << u"questions"_s << u"is kept for the program's own files"_s;
        QTest::newRow("a colon") << u"a:b.gift"_s << u"questions"_s
                                 << u"A worksheet title cannot contain \":\". Please choose another title."_s;
        QTest::newRow("outside the code page")
            << u"Stars 🌟.gift"_s << u"questions"_s
            << u"The character \"🌟\" (U+1F31F) cannot be saved in a worksheet title. Please choose another title."_s;
        // A worksheet the wizard saved under the title is never replaced.
        const QString kept = u"not saved: \"Quiz\" (questions 1-10): a worksheet of this title exists already "
                             u"and is left as it was"_s;
        QTest::newRow("a title already saved") << u"Quiz.gift"_s << u"questions, Quiz saved"_s << kept;
        QTest::newRow("a title already saved in other case") << u"Quiz.gift"_s << u"questions, QUIZ saved"_s << kept;
    }

    void refusedFiles()
    {
        // Nothing in the data folder changes, nor the file imported.
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir in;
        const QString path = in.filePath(name);
        TestApp app;
        if (kind == "big"_L1) {
            const QByteArray questions = giftQuestions(1000);
            writeBytes(path, questions.repeated(int(kMaxImportBytes / questions.size()) + 1));
        } else if (kind == "letter"_L1) {
            writeBytes(path, "Dear parents,\r\nthe trip is on Friday.\r\n");
        } else if (kind == "folder"_L1) {
            QVERIFY(QDir(in.path()).mkdir(name));
        } else if (kind == "pipe"_L1) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind.startsWith("questions"_L1)) {
            writeBytes(path, giftQuestions(10));
            if (kind.endsWith(" saved"_L1))
                saveSheet(app, kind.section(u' ', 1, 1));
        }

        const auto before = snapshot(app.root);
        const auto inputsBefore = snapshot(in.path());
        const ExchangeReport report = importFiles(app.m, {path});
        QVERIFY(!report.ok);
        VERIFY_REPORT_HAS(report, reason);
        QCOMPARE(snapshot(app.root), before);
        QCOMPARE(snapshot(in.path()), inputsBefore);
    }

    void exportEveryListedWorksheet()
    {
        // Titles as shown (commas back), safe names, two titles that come out alike
        // kept apart, and a damaged worksheet named without stopping the others.
        TestApp app;
        for (const QString &title : {u"Plants, animals"_s, u"What?"_s, u"What*"_s})
            saveSheet(app, title);
        app.writeDataFile(u"multiple/Damaged.txt"_s, "Damaged\r\n \r\n");
        app.m.appendToWorksheetList(u"Damaged"_s);

        QTemporaryDir out;
        const QString folder = out.filePath(u"new folder"_s);
        const ExchangeReport report = exportWorksheets(app.m, folder, Aiken);
        QVERIFY(!report.ok);
        VERIFY_REPORT_HAS(report, "not written: \"Damaged\": This worksheet seems to be corrupted."_L1);
        QCOMPARE(QDir(folder).entryList(QDir::Files),
                 (QStringList{u"Plants, animals.txt"_s, u"What_ (2).txt"_s, u"What_.txt"_s}));
        VERIFY_REPORT_HAS(report, "(\"Plants, animals\", Aiken)"_L1);
        QVERIFY(readBytes(folder + u"/Plants, animals.txt"_s)
                    .startsWith("Question 1 of Plants, animals\r\nA. answer 1A\r\n"));
        // One title, as listed, or none when it is not listed.
        const QString one = out.filePath(u"one"_s);
        QVERIFY(exportWorksheets(app.m, one, Gift, u"Plants& animals"_s).ok);
        QCOMPARE(QDir(one).entryList(QDir::Files), QStringList{u"Plants, animals.gift"_s});
        QVERIFY(!exportWorksheets(app.m, out.filePath(u"none"_s), Gift, u"Plants"_s).ok);
        QCOMPARE(QDir(out.filePath(u"none"_s)).entryList(QDir::Files), QStringList());
    }
};

QTEST_MAIN(TestWorksheets)
#include "tst_worksheets.moc"
