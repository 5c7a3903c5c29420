#include "toolkit/form.h"
#include "toolkit/formregistry.h"
#include "toolkit/label.h"
#include "toolkit/timer.h"

#include <QCoreApplication>
#include <QTest>
#include <QWindow>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// A plain screen. "Grey" is a backdrop; the window-manager close of "menu" leaves it (the
// main menu asks first), any other's unloads it, as most "Exit"s do. It logs what its
// load handler saw, and its label's click unloads it and goes on.
class Screen : public Form
{
public:
    explicit Screen(const QString &name)
        : Form(name)
    {
        setFormSize(3000, 2000);
        setBackdrop(name == u"Grey"_s);
        caption = add<Label>(u"Label1"_s);
        caption->setCaption(u"designed"_s);
        tick = addTimer(u"Timer1"_s, 10);
        caption->onClick = [this] {
            unload();
            caption->setCaption(u"after unload"_s);
            log << u"handler ended"_s;
        };
    }
    void load() override
    {
        // Referring to itself while loading finds this form, not a second one.
        log << u"load sees caption "_s + caption->caption()
            << (&registry()->ref(formName()) == this ? u"self"_s : u"other"_s);
    }
    void closeRequested() override
    {
        if (formName() != u"menu"_s)
            unload();
    }

    Label *caption;
    Timer *tick;
    QStringList log;
};

// Registers a plain screen under each name.
void define(FormRegistry &forms, const QStringList &names)
{
    for (const QString &name : names)
        forms.define(name, [name] { return new Screen(name); });
}

Form &show(FormRegistry &forms, const QString &name)
{
    Form &form = forms.ref(name);
    form.showForm();
    return form;
}

} // namespace

class TestFormRegistry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void screensStandOverTheirOpenerAndCloseWithIt()
    {
        FormRegistry forms;
        define(forms, {u"menu"_s, u"catalogue"_s, u"quiz"_s, u"results"_s});
        Form &menu = show(forms, u"menu"_s);
        Form &catalogue = show(forms, u"catalogue"_s);
        Form &quiz = show(forms, u"quiz"_s);
        QCOMPARE(forms.openedFrom(quiz), &catalogue);
        QCOMPARE(quiz.windowHandle()->transientParent(), catalogue.windowHandle());
        // Showing a screen again does not move it over the one in front, nor add it twice.
        menu.showForm();
        menu.showForm();
        QCOMPARE(forms.openedFrom(menu), nullptr);
        QCOMPARE(forms.stackingOrder(), QList<Form *>({&catalogue, &quiz, &menu}));
        // The quiz ends: its results stand over the catalogue once the quiz is gone.
        quiz.showForm();
        Form &results = show(forms, u"results"_s);
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
        define(forms, {u"Grey"_s, u"page"_s, u"confirm"_s, u"menu"_s});
        Form &grey = show(forms, u"Grey"_s);
        Form &menu = show(forms, u"menu"_s);
        Form &page = show(forms, u"page"_s);
        grey.showForm();
        QVERIFY(!menu.isVisible() && !page.isVisible());
        Form &confirm = show(forms, u"confirm"_s);
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
        FormRegistry forms;
        define(forms, {u"page"_s});
        QVERIFY(!forms.loaded(u"page"_s));
        auto &first = static_cast<Screen &>(forms.ref(u"page"_s));
        QCOMPARE(&forms.ref(u"page"_s), &first);
        QCOMPARE(first.log, QStringList({u"load sees caption designed"_s, u"self"_s}));
        QVERIFY(!first.isVisible());
        first.caption->setCaption(u"changed"_s);
        first.tick->setEnabled(true);
        QPointer<Form> old(&first);
        first.unload();
        QVERIFY(!forms.loaded(u"page"_s));
        QVERIFY(!first.tick->enabled());
        auto &fresh = static_cast<Screen &>(forms.ref(u"page"_s));
        QVERIFY(&fresh != old.data());
        QCOMPARE(fresh.caption->caption(), u"designed"_s);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(old.isNull());
    }

    void unloadFromOwnHandlerIsSafe()
    {
        FormRegistry forms;
        define(forms, {u"page"_s});
        auto &form = static_cast<Screen &>(show(forms, u"page"_s));
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QPointer<Form> guard(&form);
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          form.caption->widget()->geometry().center());
        QVERIFY(guard && form.log.endsWith(u"handler ended"_s)); // deleted only once back in the event loop
        QVERIFY(!forms.loaded(u"page"_s));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());
    }
};

QTEST_MAIN(TestFormRegistry)
#include "tst_formregistry.moc"
