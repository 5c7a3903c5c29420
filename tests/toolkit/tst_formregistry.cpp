#include "toolkit/form.h"
#include "toolkit/formregistry.h"
#include "toolkit/label.h"
#include "toolkit/timer.h"

#include <QCoreApplication>
#include <QTest>

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

} // namespace

class TestFormRegistry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
