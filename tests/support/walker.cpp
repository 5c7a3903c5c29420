#include "walker.h"

#include "app/titlefrm.h"
#include "module1/worksheetfile.h"
#include "platform/fileslot.h"
#include "quiz/multiple.h"
#include "testapp.h"
#include "toolkit/checkbox.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "toolkit/textbox.h"
#include "toolkit/timer.h"
#include "worksheets/wizard.h"
#include "worksheets/worksheets.h"

#include <QApplication>
#include <QDirIterator>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <optional>

namespace velmora::test {

using namespace Qt::StringLiterals;

namespace {
// Swallows the clock's ticks of the forms' timers: the walker ticks them itself.
class HeldTimers : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return event->type() == QEvent::Timer && qobject_cast<QTimer *>(watched)
               && qobject_cast<Timer *>(watched->parent());
    }
};

const QString kList = u"multiple/track.txt"_s;

// The titles of the list file (none without one): its count, then that many lines, each
// ended by CR LF. Nothing when it does not parse.
std::optional<QStringList> listTitles(const QMap<QString, QByteArray> &files)
{
    if (!files.contains(kList))
        return QStringList();
    const QStringList lines = QString::fromLatin1(files[kList]).split(u"\r\n"_s);
    bool ok = false;
    const int count = lines[0].trimmed().toInt(&ok);
    if (!ok || count < 0 || lines.size() != count + 2 || !lines.last().isEmpty())
        return std::nullopt;
    return lines.mid(1, count);
}

void clickOn(Form &form, const Control &control)
{
    const QWidget *w = control.widget();
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier, w->mapTo(&form, w->rect().center()));
}

// Whole tasks, done now and then so that the walk gets as far as saves (some of which
// fail), deletes (confirmed or not) and quiz results.
QString saveWorksheet(wizard &editor, QRandomGenerator &random)
{
    static const QStringList titles = {u"Plants, animals"_s, u"a/b"_s, u"track"_s, u"Salt & Pepper"_s,
                                       u"Moon \"phases\""_s};
    const QString &title = titles[random.bounded(int(titles.size()))];
    fillWizard(editor, QString());
    editor.Text1->setFocus();
    QTest::keyClicks(editor.Text1->widget(), title);
    clickOn(editor, editor.Label3[1]); // "Save Worksheet"
    return u"wizard saved as \"%1\""_s.arg(title);
}

QString deleteWorksheet(worksheets &catalogue, QRandomGenerator &random)
{
    for (CheckBox *mode : {catalogue.Check1, catalogue.Check2}) {
        if (mode->value() != (mode == catalogue.Check2)) // "Delete Worksheet" alone ticked
            clickOn(catalogue, *mode);
    }
    QList<Label *> shown;
    for (int slot = 1; slot <= worksheets::kSlots; ++slot) {
        if (catalogue.Label2[slot].visible())
            shown << &catalogue.Label2[slot];
    }
    if (shown.isEmpty())
        return u"worksheets: nothing to delete"_s;
    Label &title = *shown[random.bounded(int(shown.size()))];
    clickOn(catalogue, title);
    return u"worksheets delete \"%1\""_s.arg(title.caption());
}

QString answerQuiz(TestApp &app, multiple &quiz, QRandomGenerator &random)
{
    for (int q = app.m.questno; q <= Module1::kQuestions; ++q) {
        const int choice = random.bounded(4) != 0 ? app.m.rightans[std::size_t(q)].toInt() : 1 + random.bounded(4);
        if (quiz.Option1.contains(choice))
            clickOn(quiz, quiz.Option1[choice]);
        clickOn(quiz, quiz.Label3[1]); // "Next Question >>", at last "Check Score >>"
    }
    return u"multiple answered to the end"_s;
}

// One mouse or key event, at random, to the window in front.
QString send(Form &front, QRandomGenerator &random)
{
    QWindow *window = front.windowHandle();
    // Aim at a control half the time (the walk then gets somewhere), anywhere else
    // the rest of the time, a little beyond the window's edges included.
    QPoint where(random.bounded(-20, front.width() + 20), random.bounded(-20, front.height() + 20));
    const QList<Control *> &controls = front.controls();
    if (!controls.isEmpty() && random.bounded(2) == 0) {
        const Control *target = controls[random.bounded(int(controls.size()))];
        if (target->visible() && target->widget())
            where = target->widget()->mapTo(&front, target->widget()->rect().center());
    }
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::LeftButton, Qt::LeftButton, Qt::RightButton,
                                       Qt::MiddleButton};
    const Qt::MouseButton button = buttons[random.bounded(5)];
    const QString name = front.formName();
    const QString at = u"%1 %2 at %3,%4"_s.arg(name).arg(int(button)).arg(where.x()).arg(where.y());
    const int kind = random.bounded(8);
    if (kind < 2) {
        QTest::mouseMove(window, where);
        return at + u" move"_s;
    }
    if (kind < 5) {
        QTest::mouseClick(window, button, Qt::NoModifier, where);
        return at + u" click"_s;
    }
    if (kind == 5) {
        const QPoint to(random.bounded(front.width()), random.bounded(front.height()));
        QTest::mousePress(window, button, Qt::NoModifier, where);
        QTest::mouseMove(window, (where + to) / 2);
        QTest::mouseMove(window, to);
        QTest::mouseRelease(window, button, Qt::NoModifier, to);
        return at + u" drag to %1,%2"_s.arg(to.x()).arg(to.y());
    }
    if (kind == 6) {
        // Typed as the keyboard sends it, to the window in front.
        static const QString typed = u"ab ,&\"éZ19"_s;
        const QString c = typed.at(random.bounded(int(typed.size())));
        QTest::sendKeyEvent(QTest::Press, window, Qt::Key_unknown, c, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, window, Qt::Key_unknown, c, Qt::NoModifier);
        return name + u" key '%1'"_s.arg(c);
    }
    const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Tab, Qt::Key_Space, Qt::Key_Escape, Qt::Key_Backspace};
    const Qt::Key key = keys[random.bounded(5)];
    QTest::keyClick(window, key);
    return name + u" key %1"_s.arg(int(key));
}

// Time passes between two events of a person: every timer that is on ticks once, and so
// does any timer such a tick switches on.
void letTimePass(TestApp &app)
{
    TestApp::settle();
    QList<Timer *> ticked;
    for (qsizetype before = -1; before != ticked.size();) {
        before = ticked.size();
        for (Form *form : app.forms.loadedForms()) {
            for (Timer *timer : form->timers()) {
                if (timer->enabled() && !ticked.contains(timer)) {
                    ticked << timer;
                    timer->fire();
                }
            }
        }
    }
    TestApp::settle();
}

// One form per slot, framed screens at their size, no score shown above its total.
QStringList checkForms(const FormRegistry &forms)
{
    static const QRegularExpression outOf(u"(\\d+) out of\\s*(\\d+)"_s);
    QStringList broken;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *form = qobject_cast<Form *>(widget);
        if (!form)
            continue;
        const QString name = form->formName();
        if (forms.loaded(name) != form)
            broken << u"a %1 is not the one in its slot"_s.arg(name);
        if (!form->isVisible())
            continue;
        // Every screen keeps its designed size, but for the backdrop and the title screen.
        if (name != QLatin1String("Grey") && name != Titlefrm::kFormName
            && (form->formWidth() != 12000 || form->formHeight() != 9000 || form->size() != QSize(800, 600)))
            broken << u"%1 is not 12000 by 9000 twips"_s.arg(name);
        for (const Control *control : form->controls()) {
            const auto *label = qobject_cast<const Label *>(control);
            const auto score = outOf.match(label && label->visible() ? label->caption() : QString());
            if (score.hasMatch() && score.captured(1).toInt() > score.captured(2).toInt())
                broken << u"%1 shows %2"_s.arg(name, score.captured(0));
        }
    }
    return broken;
}
} // namespace

struct Walker::Snapshot {
    QMap<QString, QByteArray> files; // every file of the data folder, hidden ones too
    qsizetype messages = 0;
    QString wizardFile; // the file a save from the open wizard writes
};

Walker::Walker(std::uint32_t seed)
    : m_seed(seed)
    , m_clock(std::make_unique<HeldTimers>())
{
    QCoreApplication::instance()->installEventFilter(m_clock.get());
    start();
}

Walker::~Walker() = default;

void Walker::start()
{
    if (!m_first) {
        m_first = std::make_unique<TestApp>();
        // A few titles to find in the catalogue, with their files, and a worksheet that
        // cannot be saved: a folder holds its file's name.
        m_first->writeDataFile(kList, " 2 \r\nPlants& animals\r\nMissing one\r\n");
        QFile::copy(m_first->dataPath(u"multiple/Ardovin Sevrani.txt"_s),
                    m_first->dataPath(u"multiple/Plants& animals.txt"_s));
        QDir(m_first->root).mkpath(u"multiple/Salt & Pepper.txt"_s);
    } else {
        // Started again on the same data folder, as on the same school computer.
        m_restarted = std::make_unique<TestApp>(false, m_first->root);
    }
    m_app = m_restarted ? m_restarted.get() : m_first.get();
    if (!showAndExpose(m_app->forms.ref<Titlefrm>()))
        qWarning("the title screen did not show");
}

Walker::Snapshot Walker::snapshot() const
{
    Snapshot s;
    const QString root = m_app->root + QLatin1Char('/');
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        s.files[f.fileName().mid(root.size())] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("?");
    }
    s.messages = m_app->messages.shown.size();
    if (const auto *editor = m_app->forms.loaded<wizard>())
        s.wizardFile = worksheetFile(listTitle(editor->Text1->text()));
    return s;
}

void Walker::step()
{
    QRandomGenerator random(m_seed ^ (std::uint32_t(m_event) * 2654435761u));
    // The message boxes' answers and the printer's mood come from the seed too.
    m_app->messages.answers = {random.bounded(2) == 0};
    m_app->printer.noPrinter = random.bounded(10) == 0;
    const QList<Form *> order = m_app->forms.stackingOrder();
    if (order.isEmpty()) {
        note(u"restart"_s);
        start();
        return;
    }
    Form &front = *order.last();
    m_screens.insert(front.formName());
    if (!front.windowHandle())
        return;
    if (auto *editor = qobject_cast<wizard *>(&front); editor && random.bounded(15) == 0)
        note(saveWorksheet(*editor, random));
    else if (auto *catalogue = qobject_cast<worksheets *>(&front); catalogue && random.bounded(6) == 0)
        note(deleteWorksheet(*catalogue, random));
    else if (auto *quiz = qobject_cast<multiple *>(&front); quiz && random.bounded(10) == 0)
        note(answerQuiz(*m_app, *quiz, random));
    else
        note(send(front, random));
    letTimePass(*m_app);
    // With what a clock's tick changes (the logo's frame, the focus), so that a replay
    // shows any dependence on the clock.
    const QWidget *focus = QApplication::focusWidget();
    m_events.last() += u" [frame %1, focus %2]"_s.arg(m_app->m.logoframe).arg(focus ? focus->objectName() : u"none"_s);
    if (m_app->ended) {
        note(u"the program ended; starting again"_s);
        ++m_restarts;
        start();
    }
}

void Walker::note(const QString &event)
{
    m_events << u"%1: %2"_s.arg(m_event).arg(event);
}

QString Walker::check(const Snapshot &before, const Snapshot &after)
{
    QStringList broken = checkForms(m_app->forms);
    if (m_app->platform.file1().isOpen())
        broken << u"file slot 1 left open"_s;
    bool saved = false, saveFailed = false;
    QStringList confirmed; // titles whose delete was answered with OK
    const QString deleting = u"Are you sure that you want to delete the worksheet "_s;
    for (const auto &box : m_app->messages.shown.mid(before.messages)) {
        saved = saved || box.text == QLatin1String("Your worksheet has been saved.");
        saveFailed = saveFailed || box.text.startsWith(QLatin1String("There was a problem saving your worksheet"));
        if (box.withCancel && box.answeredOk && box.text.startsWith(deleting))
            confirmed << commasToAmpersands(box.text.mid(deleting.size()).chopped(1));
    }
    m_saves += saved ? 1 : 0;
    const std::optional<QStringList> titles = listTitles(after.files);
    if (!titles)
        broken << u"the list file no longer parses"_s;
    for (const QString &title : listTitles(before.files).value_or(QStringList())) {
        if (!titles.value_or(QStringList()).contains(title) && !confirmed.contains(title))
            broken << u"the list lost \"%1\""_s.arg(title);
    }
    // A save writes its own worksheet and the list, a confirmed delete the list; nothing
    // else changes a file.
    QStringList files = before.files.keys() + after.files.keys();
    files.removeDuplicates();
    for (const QString &file : files) {
        const bool mayChange =
            (saved && file == after.wizardFile) || (file == kList && (saved || !confirmed.isEmpty()));
        if (!mayChange
            && (before.files.contains(file) != after.files.contains(file)
                || before.files.value(file) != after.files.value(file)))
            broken << u"%1 changed without a save of it%2"_s.arg(file,
                                                                 saveFailed ? u" (by a failed save)"_s : QString());
    }
    return broken.join(u"; "_s);
}

QString Walker::run(int events)
{
    Snapshot before = snapshot();
    for (m_event = 0; m_event < events; ++m_event) {
        step();
        Snapshot after = snapshot();
        const QString broken = check(before, after);
        if (!broken.isEmpty()) {
            return u"seed %1, event %2: %3\nlast events:\n  %4"_s.arg(m_seed)
                .arg(m_event)
                .arg(broken, m_events.mid(qMax<qsizetype>(0, m_events.size() - 25)).join(u"\n  "_s));
        }
        before = std::move(after);
    }
    return {};
}

} // namespace velmora::test
