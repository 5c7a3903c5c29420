// velmora-screenshots: drives every screen of the program into the states the README
// shows and saves each window as a PNG (docs/screenshots).
//   velmora-screenshots OUT_DIR
#include "activities/ardovinord.h"
#include "activities/dragboard.h"
#include "activities/telescope.h"
#include "app/ardovin.h"
#include "app/intro0.h"
#include "app/titlefrm.h"
#include "pages/guide.h"
#include "pages/teacher.h"
#include "platform/fonts.h"
#include "quiz/multiple.h"
#include "quiz/welldone.h"
#include "quiz/wrong.h"
#include "support/testapp.h"
#include "toolkit/checkbox.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "toolkit/textbox.h"
#include "toolkit/timer.h"
#include "worksheets/wizard.h"
#include "worksheets/worksheets.h"

#include <QApplication>
#include <QDir>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

#include <cstdio>

using namespace velmora;
using namespace velmora::test;

namespace {

QDir out;
int failures = 0;

void shoot(Form &form, const QString &name)
{
    form.showForm();
    QTest::qWaitForWindowExposed(&form);
    QTest::qWait(30);
    if (!form.grab().save(out.filePath(name + QStringLiteral(".png")))) {
        std::fprintf(stderr, "cannot save %s\n", qPrintable(name));
        ++failures;
        return;
    }
    std::printf("%s.png\n", qPrintable(name));
}

void finishQuiz(TestApp &app, const QList<int> &wrong)
{
    for (int q = 1; q <= 10; ++q) {
        multiple &quiz = *app.forms.loaded<multiple>();
        const int right = app.m.rightans[q].toInt();
        quiz.Option1[wrong.contains(q) ? right % 4 + 1 : right].setValue(true);
        quiz.Label3[1].onClick();
    }
    Welldone &results = *app.forms.loaded<Welldone>();
    results.Timer1->fire();
    results.Timer2->fire();
}

void solve(DragBoard &board, ControlArray<Label> &labels, ControlArray<Label> &boxes)
{
    for (int i = 0; i < 6; ++i) {
        labels[i].move(boxes[i].left(), boxes[i].top());
        board.drop(i);
    }
}

// The unit page's key facts (both pages) and the teacher's notes.
void shootTeacherPages(TestApp &app, ardovin &page)
{
    page.Label3[4].onClick();
    shoot(*app.forms.loaded<teacher>(), QStringLiteral("key-facts-1"));
    app.forms.loaded<teacher>()->Label3[2].onClick();
    shoot(*app.forms.loaded<teacher>(), QStringLiteral("key-facts-2"));
    app.forms.loaded<teacher>()->Label3[1].onClick();
    TestApp::settle();
    page.Label3[5].onClick();
    shoot(*app.forms.loaded<teacher>(), QStringLiteral("teachers-notes-1"));
    app.forms.loaded<teacher>()->Label3[1].onClick();
    TestApp::settle();
}

// The third page of the guide.
void shootGuide(TestApp &app, intro0 &menu)
{
    menu.Label2[20].onClick();
    guide &pages = *app.forms.loaded<guide>();
    pages.Label3[2].onClick();
    pages.Label3[2].onClick();
    shoot(pages, QStringLiteral("guide-3"));
    pages.unload();
    TestApp::settle();
}

// The acknowledgments, a few frames into their animation.
void shootAcknowledgments(TestApp &app, intro0 &menu)
{
    menu.Label2[19].onClick();
    teacher &thanks = *app.forms.loaded<teacher>();
    for (int i = 0; i < 5; ++i)
        thanks.Timer1->fire();
    shoot(thanks, QStringLiteral("acknowledgments"));
    thanks.unload();
    TestApp::settle();
}

// A quiz question with an answer chosen, and one whose texts are longer than
// the wizard allows.
void shootQuiz(TestApp &app, ardovin &page)
{
    page.Label3[0].onClick();
    multiple &quiz = *app.forms.loaded<multiple>();
    quiz.Label3[1].onClick();
    quiz.Label3[1].onClick();
    quiz.Option1[3].setValue(true);
    shoot(quiz, QStringLiteral("quiz-question"));
    // A teacher's own file may hold longer texts than the wizard lets anyone type:
    // they are drawn smaller, never cut.
    app.m.quest[4] = QStringLiteral("Which planet, counted outwards from the Sun, comes right after Earth ?");
    app.m.ansa[4] = QStringLiteral("Mars, the small red planet next to Earth");
    app.m.ansb[4] = QStringLiteral("He was questioned by the Inquisition in Rome in 1633");
    app.m.ansc[4] = QStringLiteral("Supercalifragilisticexpialidociouslylongword");
    quiz.Label3[1].onClick();
    shoot(quiz, QStringLiteral("quiz-long-texts"));
    quiz.Label3[2].onClick();
    TestApp::settle();
}

// The results of three quizzes (all right, one wrong, many wrong) and the
// list of wrong answers.
void shootResults(TestApp &app, ardovin &page)
{
    const struct {
        QList<int> wrong;
        const char *name;
    } runs[] = {{{}, "results-full"}, {{4}, "results-good"}, {{1, 3, 4, 6, 8, 9}, "results-more-wrong"}};
    for (const auto &run : runs) {
        page.Label3[0].onClick();
        finishQuiz(app, run.wrong);
        Welldone &results = *app.forms.loaded<Welldone>();
        if (run.wrong.isEmpty())
            results.Text1->setText(QStringLiteral("Maria Lopez"));
        shoot(results, QString::fromLatin1(run.name));
        if (run.wrong.size() > 3) {
            results.Label3[0].onClick();
            shoot(*app.forms.loaded<Wrong>(), QStringLiteral("wrong-answers"));
        }
        results.Label3[1].onClick();
        TestApp::settle();
    }
}

// The telescope to label: at the start, with a word carried by keyboard, and
// solved.
void shootTelescope(TestApp &app, ardovin &page)
{
    page.Label3[1].onClick();
    telescope &labelling = *app.forms.loaded<telescope>();
    shoot(labelling, QStringLiteral("telescope-start"));
    // By keyboard: "mount" picked up and carried to box 3.
    {
        Label &word = labelling.Label2[3];
        labelling.showForm();
        QTest::qWaitForWindowExposed(&labelling);
        word.setFocus();
        QTest::keyClick(word.widget(), Qt::Key_Space);
        QTest::keyClick(word.widget(), Qt::Key_3);
        shoot(labelling, QStringLiteral("keyboard-telescope-carried"));
        QTest::keyClick(word.widget(), Qt::Key_Escape);
        word.widget()->clearFocus();
    }
    solve(labelling.board(), labelling.Label2, labelling.Label1);
    labelling.Label3[2].onClick();
    shoot(labelling, QStringLiteral("telescope-solved"));
    labelling.unload();
}

// The timeline to put in order, at the start and solved.
void shootTimeline(TestApp &app, ardovin &page)
{
    page.Label3[3].onClick();
    ardovinord &timeline = *app.forms.loaded<ardovinord>();
    shoot(timeline, QStringLiteral("timeline-start"));
    solve(timeline.board(), timeline.Label2, timeline.Label1);
    timeline.Label3[2].onClick();
    shoot(timeline, QStringLiteral("timeline-solved"));
    timeline.unload();
}

// The worksheet wizard with a whole worksheet typed in.
void shootWizard(TestApp &app, intro0 &menu)
{
    menu.Label2[17].onClick();
    wizard &writer = *app.forms.loaded<wizard>();
    const QStringList questions =
        {QStringLiteral("What does a telescope do?"), QStringLiteral("Which planet has rings?"),
         QStringLiteral("What is the Moon's light?"), QStringLiteral("How many moons has Mars?"),
         QStringLiteral("What is a star?"),           QStringLiteral("Which is the nearest star?"),
         QStringLiteral("What is the Milky Way?"),    QStringLiteral("When is it full Moon?"),
         QStringLiteral("What makes day and night?"), QStringLiteral("Which planet is red?")};
    writer.Text1->setText(QStringLiteral("The Night Sky"));
    for (int j = 0; j < 10; ++j) {
        writer.Text2[j].setText(questions[j]);
        const QStringList answers = {QStringLiteral("First answer"), QStringLiteral("Second answer"),
                                     QStringLiteral("Third answer"), QStringLiteral("Fourth answer")};
        for (int k = 0; k < 4; ++k)
            writer.Text3[4 * j + k].setText(answers[k]);
        writer.Check1[4 * j + (j % 4)].setValue(true);
    }
    shoot(writer, QStringLiteral("wizard"));
    writer.unload();
    TestApp::settle();
}

// Both pages of the catalogue of a class's thirty worksheets.
void shootCatalogue(TestApp &app, intro0 &menu)
{
    QByteArray list = " 30 \r\n";
    for (int i = 1; i <= 30; ++i)
        list += QByteArrayLiteral("Class 5 worksheet ") + QByteArray::number(i) + "\r\n";
    list.replace("worksheet 3\r\n", "Plants& animals\r\n");
    app.writeDataFile(QStringLiteral("multiple/track.txt"), list);
    menu.Label2[18].onClick();
    worksheets &catalogue = *app.forms.loaded<worksheets>();
    shoot(catalogue, QStringLiteral("catalogue-1"));
    catalogue.Label3[1].onClick();
    shoot(catalogue, QStringLiteral("catalogue-2"));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora-screenshots OUT_DIR\n");
        return 2;
    }
    // The look the program starts with: the screens' fonts (without them the pictures
    // would show a fallback face where pupils see Tahoma), the style and its colours.
    registerScreenFonts();
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(QApplication::style()->standardPalette());
    out = QDir(QString::fromLocal8Bit(argv[1]));
    out.mkpath(QStringLiteral("."));
    TestApp app;

    shoot(app.forms.ref<Titlefrm>(), QStringLiteral("title"));
    intro0 &menu = app.forms.ref<intro0>();
    shoot(menu, QStringLiteral("main-menu"));

    menu.Label2[1].onClick();
    ardovin &page = *app.forms.loaded<ardovin>();
    shoot(page, QStringLiteral("unit-page"));
    shootTeacherPages(app, page);
    shootGuide(app, menu);
    shootAcknowledgments(app, menu);
    shootQuiz(app, page);
    shootResults(app, page);
    shootTelescope(app, page);
    shootTimeline(app, page);
    page.unload();
    TestApp::settle();

    shootWizard(app, menu);
    shootCatalogue(app, menu);
    return failures == 0 ? 0 : 1;
}
