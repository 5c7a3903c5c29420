#include "toolkit/form.h"
#include "toolkit/formregistry.h"
#include "toolkit/label.h"
#include "toolkit/timer.h"

#include <QCoreApplication>
#include <QTest>
#include <QWindow>

using namespace velmora;

namespace {

// A form that records what its load handler saw, and can reach into its registry.
class Probe : public Form
{
public:
    static inline const QString kFormName = QStringLiteral("Probe");

    explicit Probe(QStringList &log)
        : Form(kFormName)
        , m_log(log)
    {
        caption = add<Label>(QStringLiteral("Label1"));
        caption->setCaption(QStringLiteral("designed"));
        tick = addTimer(QStringLiteral("Timer1"), 10);
        caption->onClick = [this] {
            m_log << QStringLiteral("click");
            unload();
            // The handler goes on after unloading its own form.
            caption->setCaption(QStringLiteral("after unload"));
            m_log << QStringLiteral("handler ended");
        };
    }

    void load() override
    {
        m_log << QStringLiteral("load sees caption ") + caption->caption();
        // Referring to itself while loading finds this form, not a second one.
        m_log << (&registry()->ref<Probe>() == this ? QStringLiteral("self") : QStringLiteral("other"));
    }

    Label *caption;
    Timer *tick;

private:
    QStringList &m_log;
};

// A plain screen whose window-manager close either unloads it (as most "Exit"s do) or
// leaves it (as the main menu, which asks first).
class Screen : public Form
{
public:
    Screen(const QString &name, bool closeUnloads)
        : Form(name)
        , m_closeUnloads(closeUnloads)
    {
        setFormSize(3000, 2000);
    }
    void closeRequested() override
    {
        if (m_closeUnloads)
            unload();
    }

private:
    bool m_closeUnloads;
};

} // namespace

class TestFormRegistry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void screensStandOverTheirOpenerAndCloseWithIt()
    {
        FormRegistry forms;
        for (const QString &name :
             {QStringLiteral("menu"), QStringLiteral("catalogue"), QStringLiteral("quiz"), QStringLiteral("results")})
            forms.define(name, [name] { return new Screen(name, name != QLatin1String("menu")); });
        Form &menu = forms.ref(QStringLiteral("menu"));
        menu.showForm();
        Form &catalogue = forms.ref(QStringLiteral("catalogue"));
        catalogue.showForm();
        Form &quiz = forms.ref(QStringLiteral("quiz"));
        quiz.showForm();
        QCOMPARE(forms.openedFrom(quiz), &catalogue);
        QCOMPARE(quiz.windowHandle()->transientParent(), catalogue.windowHandle());
        // Showing a screen again does not move it over the one in front.
        menu.showForm();
        QCOMPARE(forms.openedFrom(menu), nullptr);
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
            auto *grey = new Screen(QStringLiteral("Grey"), false);
            grey->setBackdrop(true);
            return grey;
        });
        for (const QString &name : {QStringLiteral("menu"), QStringLiteral("page"), QStringLiteral("confirm")})
            forms.define(name, [name] { return new Screen(name, true); });
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

    void referenceCreatesAndLoadsOnce()
    {
        QStringList log;
        FormRegistry forms;
        forms.define(Probe::kFormName, [&log] { return new Probe(log); });
        QVERIFY(!forms.loaded<Probe>());
        Probe &first = forms.ref<Probe>();
        Probe &again = forms.ref<Probe>();
        QCOMPARE(&first, &again);
        QCOMPARE(log, QStringList({QStringLiteral("load sees caption designed"), QStringLiteral("self")}));
        QVERIFY(!first.isVisible()); // a reference alone does not show
    }

    void unloadThenReferenceBuildsFreshDesignedForm()
    {
        QStringList log;
        FormRegistry forms;
        forms.define(Probe::kFormName, [&log] { return new Probe(log); });
        Probe &first = forms.ref<Probe>();
        first.caption->setCaption(QStringLiteral("changed"));
        first.tick->setEnabled(true);
        QPointer<Form> old(&first);
        first.unload();
        QVERIFY(!forms.loaded<Probe>());
        QVERIFY(!first.tick->enabled()); // unloading stops the form's timers
        Probe &fresh = forms.ref<Probe>();
        QVERIFY(&fresh != old.data());
        QCOMPARE(fresh.caption->caption(), QStringLiteral("designed"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(old.isNull());
    }

    void unloadFromOwnHandlerIsSafe()
    {
        QStringList log;
        FormRegistry forms;
        forms.define(Probe::kFormName, [&log] { return new Probe(log); });
        Probe &form = forms.ref<Probe>();
        form.showForm();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QPointer<Form> guard(&form);
        const QPoint centre = form.caption->widget()->geometry().center();
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier, centre);
        QVERIFY(log.endsWith(QStringLiteral("handler ended")));
        QVERIFY(!forms.loaded<Probe>());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());
    }

    void showRaisesAndEndClosesEverything()
    {
        QStringList log;
        FormRegistry forms;
        bool ended = false;
        forms.onEnd = [&ended] { ended = true; };
        forms.define(Probe::kFormName, [&log] { return new Probe(log); });
        Probe &form = forms.ref<Probe>();
        form.showForm();
        form.showForm(); // showing twice keeps one entry in the stacking order
        QCOMPARE(forms.stackingOrder(), QList<Form *>({&form}));
        forms.end();
        QVERIFY(ended);
        QVERIFY(forms.loadedForms().isEmpty());
    }
};

QTEST_MAIN(TestFormRegistry)
#include "tst_formregistry.moc"
