#include "toolkit/form.h"
#include "toolkit/formregistry.h"
#include "toolkit/label.h"
#include "toolkit/timer.h"

#include <QCoreApplication>
#include <QTest>
#include <QWindow>

using namespace velmora;

namespace {

// A plain screen whose window-manager close either unloads it (as most "Exit"s do) or
// leaves it (as the main menu, which asks first). It logs what its load handler saw, and
// its label's click unloads it and goes on.
class Screen : public Form
{
public:
    Screen(const QString &name, QStringList *log = nullptr, bool closeUnloads = true)
        : Form(name)
        , m_log(log)
        , m_closeUnloads(closeUnloads)
    {
        setFormSize(3000, 2000);
        caption = add<Label>(QStringLiteral("Label1"));
        caption->setCaption(QStringLiteral("designed"));
        tick = addTimer(QStringLiteral("Timer1"), 10);
        caption->onClick = [this] {
            unload();
            caption->setCaption(QStringLiteral("after unload"));
            *m_log << QStringLiteral("handler ended");
        };
    }
    void load() override
    {
        // Referring to itself while loading finds this form, not a second one.
        if (m_log)
            *m_log << QStringLiteral("load sees caption ") + caption->caption()
                   << (&registry()->ref(formName()) == this ? QStringLiteral("self") : QStringLiteral("other"));
    }
    void closeRequested() override
    {
        if (m_closeUnloads)
            unload();
    }

    Label *caption;
    Timer *tick;

private:
    QStringList *m_log;
    bool m_closeUnloads;
};

// Registers a plain screen under each name.
void define(FormRegistry &forms, const QStringList &names, QStringList *log = nullptr)
{
    for (const QString &name : names)
        forms.define(name, [name, log] { return new Screen(name, log, name != QLatin1String("menu")); });
}

} // namespace

class TestFormRegistry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void screensStandOverTheirOpenerAndCloseWithIt()
    {
        FormRegistry forms;
        define(forms, {QStringLiteral("menu"), QStringLiteral("catalogue"), QStringLiteral("quiz"),
                       QStringLiteral("results")});
        Form &menu = forms.ref(QStringLiteral("menu"));
        menu.showForm();
        Form &catalogue = forms.ref(QStringLiteral("catalogue"));
        catalogue.showForm();
        Form &quiz = forms.ref(QStringLiteral("quiz"));
        quiz.showForm();
        QCOMPARE(forms.openedFrom(quiz), &catalogue);
        QCOMPARE(quiz.windowHandle()->transientParent(), catalogue.windowHandle());
        // Showing a screen again does not move it over the one in front, nor add it twice.
        menu.showForm();
        menu.showForm();
        QCOMPARE(forms.openedFrom(menu), nullptr);
        QCOMPARE(forms.stackingOrder(), QList<Form *>({&catalogue, &quiz, &menu}));
        // The quiz ends: its results stand over the catalogue once the quiz is gone.
        quiz.showForm();
        Form &results = forms.ref(QStringLiteral("results"));
        results.showForm();
        quiz.unload();
        QCOMPARE(forms.openedFrom(results), &catalogue);
        QCOMPARE(results.windowHandle()->transientParent(), catalogue.windowHandle());
        // Closing the menu through the window manager leaves everything (it asks first);
        // closing the catalogue closes what was opened from it.
        forms.closeRequested(menu);
        QCOMPARE(forms.loadedForms().size(), 3);
        forms.closeRequested(catalogue);
        QCOMPARE(forms.loadedForms(), QList<Form *>({&menu}));
    }

    void theBackdropShownAgainCoversEveryScreen()
    {
        FormRegistry forms;
        forms.define(QStringLiteral("Grey"), [] {
            auto *grey = new Screen(QStringLiteral("Grey"));
            grey->setBackdrop(true);
            return grey;
        });
        define(forms, {QStringLiteral("page"), QStringLiteral("confirm"), QStringLiteral("menu")});
        Form &grey = forms.ref(QStringLiteral("Grey"));
        grey.showForm();
        Form &menu = forms.ref(QStringLiteral("menu"));
        menu.showForm();
        Form &page = forms.ref(QStringLiteral("page"));
        page.showForm();
        grey.showForm();
        QVERIFY(!menu.isVisible() && !page.isVisible());
        Form &confirm = forms.ref(QStringLiteral("confirm"));
        confirm.showForm();
        QCOMPARE(forms.openedFrom(confirm), nullptr);
        QCOMPARE(forms.stackingOrder(), QList<Form *>({&menu, &page, &grey, &confirm}));
        // "Cancel": showing the menu brings the covered screens back in their order.
        menu.showForm();
        confirm.unload();
        QVERIFY(menu.isVisible() && page.isVisible());
        QCOMPARE(forms.stackingOrder(), QList<Form *>({&grey, &page, &menu}));
        QCOMPARE(forms.openedFrom(page), &menu);
    }

    // A reference creates and loads the form once, without showing it; after an unload
    // (which stops its timers) the next reference builds it afresh, as designed.
    void referenceLoadsOnceAndUnloadBuildsAfresh()
    {
        QStringList log;
        FormRegistry forms;
        define(forms, {QStringLiteral("page")}, &log);
        QVERIFY(!forms.loaded(QStringLiteral("page")));
        auto &first = static_cast<Screen &>(forms.ref(QStringLiteral("page")));
        QCOMPARE(&forms.ref(QStringLiteral("page")), &first);
        QCOMPARE(log, QStringList({QStringLiteral("load sees caption designed"), QStringLiteral("self")}));
        QVERIFY(!first.isVisible());
        first.caption->setCaption(QStringLiteral("changed"));
        first.tick->setEnabled(true);
        QPointer<Form> old(&first);
        first.unload();
        QVERIFY(!forms.loaded(QStringLiteral("page")));
        QVERIFY(!first.tick->enabled());
        auto &fresh = static_cast<Screen &>(forms.ref(QStringLiteral("page")));
        QVERIFY(&fresh != old.data());
        QCOMPARE(fresh.caption->caption(), QStringLiteral("designed"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(old.isNull());
    }

    void unloadFromOwnHandlerIsSafe()
    {
        QStringList log;
        FormRegistry forms;
        define(forms, {QStringLiteral("page")}, &log);
        auto &form = static_cast<Screen &>(forms.ref(QStringLiteral("page")));
        form.showForm();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QPointer<Form> guard(&form);
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          form.caption->widget()->geometry().center());
        QVERIFY(log.endsWith(QStringLiteral("handler ended")));
        QVERIFY(!forms.loaded(QStringLiteral("page")));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());
    }
};

QTEST_MAIN(TestFormRegistry)
#include "tst_formregistry.moc"
