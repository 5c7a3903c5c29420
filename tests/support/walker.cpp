#include "walker.h"

#include "app/titlefrm.h"
#include "module1/worksheetfile.h"
#include "platform/fileslot.h"
#include "testapp.h"
#include "toolkit/control.h"
#include "toolkit/form.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <map>

namespace velmora::test {

namespace {
bool name_is(const Form &form, const char *name)
{
    return form.formName() == QLatin1String(name);
}

// Forms that keep a size of their own: the backdrop and the title screen.
bool framed(const Form &form)
{
    return form.formName() != QLatin1String("Grey") && form.formName() != QLatin1String("Titlefrm");
}

QStringList listTitles(const QByteArray &bytes, bool *parses)
{
    QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    bool ok = false;
    const int count = lines.value(0).trimmed().toInt(&ok);
    *parses = ok && count >= 0 && lines.size() >= count + 1;
    return *parses ? lines.mid(1, count) : QStringList();
}
} // namespace

struct Walker::Snapshot {
    std::map<QString, QByteArray> files; // worksheet folder: name -> hash
    QByteArray list;
    qsizetype messages = 0;
    QString wizardFile; // the file a save from the open wizard would write
};

Walker::Walker(std::uint32_t seed)
    : m_seed(seed)
{
    start();
}

Walker::~Walker() = default;

void Walker::start()
{
    if (!m_first) {
        m_first = std::make_unique<TestApp>();
        // A few titles to find in the catalogue, with their files.
        m_first->writeDataFile(QStringLiteral("multiple/track.txt"), " 2 \r\nPlants& animals\r\nMissing one\r\n");
        QFile::copy(m_first->dataPath(QStringLiteral("multiple/Ardovin Sevrani.txt")),
                    m_first->dataPath(QStringLiteral("multiple/Plants& animals.txt")));
    } else {
        // Started again on the same data folder, as on the same school computer.
        m_restarted = std::make_unique<TestApp>(m_first->root);
    }
    m_app = m_restarted ? m_restarted.get() : m_first.get();
    Titlefrm &title = m_app->forms.ref<Titlefrm>();
    title.showForm();
    if (!QTest::qWaitForWindowExposed(&title))
        qWarning("the title screen did not show");
}

Walker::Snapshot Walker::snapshot() const
{
    Snapshot s;
    const QDir folder(m_app->dataPath(QStringLiteral("multiple")));
    for (const QString &name : folder.entryList(QDir::Files)) {
        QFile f(folder.filePath(name));
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = f.readAll();
            s.files[name] = QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
            if (name == QLatin1String("track.txt"))
                s.list = bytes;
        }
    }
    s.messages = m_app->messages.shown.size();
    if (Form *editor = m_app->forms.loaded(QStringLiteral("wizard"))) {
        if (const auto *title = editor->control(QStringLiteral("Text1")))
            s.wizardFile = listTitle(title->widget()->property("text").toString()) + QStringLiteral(".txt");
    }
    return s;
}

void Walker::note(const QString &event)
{
    m_recent.append(QStringLiteral("%1: %2").arg(m_event).arg(event));
    if (m_recent.size() > 25)
        m_recent.removeFirst();
}

void Walker::step()
{
    TestApp &app = *m_app;
    QRandomGenerator random(m_seed ^ (std::uint32_t(m_event) * 2654435761u));
    // The message boxes' answers and the printer's mood come from the seed too.
    app.messages.answers = {random.bounded(2) == 0};
    app.printer.noPrinter = random.bounded(10) == 0;

    const QList<Form *> order = app.forms.stackingOrder();
    if (order.isEmpty()) {
        note(QStringLiteral("restart"));
        start();
        return;
    }
    Form &front = *order.last();
    if (!m_screens.contains(front.formName()))
        m_screens << front.formName();
    QWindow *window = front.windowHandle();
    if (!window)
        return;

    // Aim at a control half the time (the walk then gets somewhere), anywhere else
    // the rest of the time, a little beyond the window's edges included.
    QPoint where(random.bounded(-20, front.width() + 20), random.bounded(-20, front.height() + 20));
    const QList<Control *> &controls = front.controls();
    if (!controls.isEmpty() && random.bounded(2) == 0) {
        const Control *target = controls[random.bounded(int(controls.size()))];
        if (target->visible() && target->widget())
            where = target->widget()->mapTo(&front, target->widget()->rect().center());
    }
    // Now and then a teacher fills the whole wizard, so that saves happen too.
    if (name_is(front, "wizard") && random.bounded(15) == 0) {
        static const QStringList titles = {QStringLiteral("Plants, animals"), QStringLiteral("a/b"),
                                           QStringLiteral("track"), QStringLiteral("Salt & Pepper"),
                                           QStringLiteral("Moon \"phases\"")};
        const QString &title = titles[random.bounded(int(titles.size()))];
        note(QStringLiteral("wizard filled in as \"%1\"").arg(title));
        for (Control *control : controls) {
            if (control->name() != QLatin1String("Text1") && control->name() != QLatin1String("Text2")
                && control->name() != QLatin1String("Text3"))
                continue;
            control->setFocus();
            QWidget *box = control->widget();
            box->setProperty("text", QString());
            QTest::keyClicks(box, control->name() == QLatin1String("Text1")
                                      ? title
                                      : QStringLiteral("text %1").arg(control->index()));
        }
        const int right = random.bounded(4);
        for (Control *control : controls) {
            const bool tickIt = control->name() == QLatin1String("Check1") && control->index() % 4 == right;
            const bool save = control->name() == QLatin1String("Label3") && control->index() == 1;
            if (tickIt || save) {
                const QPoint at = control->widget()->mapTo(&front, QPoint(6, control->widget()->height() / 2));
                if (save)
                    TestApp::settle();
                QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier,
                                  save ? control->widget()->mapTo(&front, control->widget()->rect().center()) : at);
            }
        }
        TestApp::settle();
        return;
    }
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::LeftButton, Qt::LeftButton, Qt::RightButton,
                                       Qt::MiddleButton};
    const Qt::MouseButton button = buttons[random.bounded(5)];
    const QString name = front.formName();
    switch (random.bounded(8)) {
    case 0:
    case 1:
        note(QStringLiteral("%1 move %2,%3").arg(name).arg(where.x()).arg(where.y()));
        QTest::mouseMove(window, where);
        break;
    case 2:
    case 3:
    case 4:
        note(QStringLiteral("%1 click %2 at %3,%4").arg(name).arg(int(button)).arg(where.x()).arg(where.y()));
        QTest::mouseClick(window, button, Qt::NoModifier, where);
        break;
    case 5: {
        const QPoint to(random.bounded(front.width()), random.bounded(front.height()));
        note(QStringLiteral("%1 drag %2 %3,%4 -> %5,%6")
                 .arg(name)
                 .arg(int(button))
                 .arg(where.x())
                 .arg(where.y())
                 .arg(to.x())
                 .arg(to.y()));
        QTest::mousePress(window, button, Qt::NoModifier, where);
        QTest::mouseMove(window, (where + to) / 2);
        QTest::mouseMove(window, to);
        QTest::mouseRelease(window, button, Qt::NoModifier, to);
        break;
    }
    case 6: {
        static const QString typed = QStringLiteral("ab ,&\"éZ19");
        const QChar c = typed[random.bounded(int(typed.size()))];
        note(QStringLiteral("%1 key '%2'").arg(name, c));
        // Typed as the keyboard sends it, to the window in front.
        QTest::sendKeyEvent(QTest::Press, window, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, window, Qt::Key_unknown, QString(c), Qt::NoModifier);
        break;
    }
    default: {
        const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Tab, Qt::Key_Space, Qt::Key_Escape, Qt::Key_Backspace};
        const Qt::Key key = keys[random.bounded(5)];
        note(QStringLiteral("%1 key %2").arg(name).arg(int(key)));
        QTest::keyClick(window, key);
        break;
    }
    }
    TestApp::settle();
    if (app.ended) {
        note(QStringLiteral("the program ended; starting again"));
        ++m_restarts;
        start();
    }
}

QString Walker::check(const Snapshot &before)
{
    TestApp &app = *m_app;
    QStringList broken;
    // Visible forms are the ones in their slots, at their designed size.
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *form = qobject_cast<Form *>(widget);
        if (!form || !form->isVisible())
            continue;
        if (app.forms.loaded(form->formName()) != form)
            broken << QStringLiteral("visible %1 is not in its slot").arg(form->formName());
        if (framed(*form)
            && (form->formWidth() != 12000 || form->formHeight() != 9000 || form->size() != QSize(800, 600)))
            broken << QStringLiteral("%1 is not 12000 by 9000 twips").arg(form->formName());
    }
    if (app.platform.file1().isOpen())
        broken << QStringLiteral("file slot 1 left open");
    if (app.m.score > app.m.total && app.m.total >= 0)
        broken << QStringLiteral("score %1 above total %2").arg(app.m.score).arg(app.m.total);

    const Snapshot after = snapshot();
    const QStringList shown = [&] {
        QStringList texts;
        for (qsizetype i = before.messages; i < app.messages.shown.size(); ++i)
            texts << app.messages.shown[i].text;
        return texts;
    }();
    const bool saved = shown.contains(QStringLiteral("Your worksheet has been saved."));
    const bool saveFailed = std::any_of(shown.begin(), shown.end(), [](const QString &text) {
        return text.startsWith(QStringLiteral("There was a problem saving your worksheet"));
    });
    if (saved)
        ++m_saves;
    // A save writes its own worksheet and the list, and nothing else; a failed one
    // leaves every file as it was.
    const auto mayChange = [&](const QString &file) {
        return saved && (file == before.wizardFile || file == after.wizardFile || file == QLatin1String("track.txt"));
    };
    // Deleting asks first; only a confirmed title may leave the list.
    QStringList confirmed;
    for (qsizetype i = before.messages; i < app.messages.shown.size(); ++i) {
        const auto &box = app.messages.shown[i];
        const QString prefix = QStringLiteral("Are you sure that you want to delete the worksheet ");
        if (box.withCancel && box.answeredOk && box.text.startsWith(prefix))
            confirmed << commasToAmpersands(box.text.mid(prefix.size()).chopped(1));
    }
    bool parses = false;
    const QStringList was = listTitles(before.list, &parses);
    const QStringList now = listTitles(after.list, &parses);
    if (!after.list.isEmpty() && !parses)
        broken << QStringLiteral("the list file no longer parses");
    for (const QString &title : was) {
        if (!now.contains(title) && !confirmed.contains(title))
            broken << QStringLiteral("the list lost \"%1\"").arg(title);
    }
    for (const auto &[file, hash] : before.files) {
        const auto it = after.files.find(file);
        const bool changed = it == after.files.end() || it->second != hash;
        const bool listChangedByDelete = file == QLatin1String("track.txt") && !confirmed.isEmpty();
        if (changed && !mayChange(file) && !listChangedByDelete)
            broken << QStringLiteral("%1 changed without a save of it%2")
                          .arg(file, saveFailed ? QStringLiteral(" (by a failed save)") : QString());
    }
    for (const auto &[file, hash] : after.files) {
        if (!before.files.count(file) && !mayChange(file))
            broken << QStringLiteral("%1 appeared without a save of it").arg(file);
    }
    return broken.join(QStringLiteral("; "));
}

QString Walker::run(int events)
{
    for (m_event = 0; m_event < events; ++m_event) {
        const Snapshot before = snapshot();
        step();
        const QString broken = check(before);
        if (!broken.isEmpty()) {
            return QStringLiteral("seed %1, event %2: %3\nlast events:\n  %4")
                .arg(m_seed)
                .arg(m_event)
                .arg(broken, m_recent.join(QStringLiteral("\n  ")));
        }
    }
    return {};
}

} // namespace velmora::test
