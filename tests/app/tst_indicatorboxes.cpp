// Option buttons and tick boxes answer a click anywhere in their designed box, as a
// pupil or teacher clicks them: beside the text as well as on the dot or the caption.
#include "quiz/multiple.h"
#include "support/testapp.h"
#include "toolkit/checkbox.h"
#include "toolkit/form.h"
#include "toolkit/optionbutton.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

// Puts a box back to unticked, or an option to unselected by selecting another.
void clear(Form &form, IndicatorButton &box)
{
    box.setValue(false);
    for (Control *control : form.controls()) {
        auto *other = qobject_cast<OptionButton *>(control);
        if (qobject_cast<OptionButton *>(&box) && other && other != &box) {
            other->setValue(true);
            return;
        }
    }
}

} // namespace

class TestIndicatorBoxes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clickAnywhereInTheBox_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::newRow("main menu: sound options") << QStringLiteral("intro0");
        QTest::newRow("quiz: answers A to D") << QStringLiteral("multiple");
        QTest::newRow("wizard: 40 tick boxes") << QStringLiteral("wizard");
        QTest::newRow("catalogue: edit and delete") << QStringLiteral("worksheets");
    }

    // A click at each corner pixel of the box and at its centre sets it; a click on the
    // bare form just left of the box does not.
    void clickAnywhereInTheBox()
    {
        QFETCH(QString, screen);
        TestApp app;
        Form &form = app.forms.ref(screen);
        QVERIFY(showAndExpose(form));
        int boxes = 0;
        for (Control *control : form.controls()) {
            auto *box = qobject_cast<IndicatorButton *>(control);
            // The quiz's "no answer chosen" lies under its picture, out of reach by design.
            if (!box || !box->visible() || (qobject_cast<multiple *>(&form) && box->index() == multiple::kNoChoice))
                continue;
            ++boxes;
            const QWidget *w = box->widget();
            const QRect r = w->rect();
            QCOMPARE(form.childAt(w->mapTo(&form, r.center())), w);
            for (const QPoint &p :
                 {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight(), r.center(), QPoint(-1, r.center().y())}) {
                const QPoint pixel = w->mapTo(&form, p);
                const bool inside = r.contains(p);
                // The wizard's answer boxes are designed to overlap the last column of
                // the tick boxes beside them; a point covered so belongs to the box above.
                if (form.childAt(pixel) != (inside ? w : nullptr))
                    continue;
                clear(form, *box);
                QVERIFY(!box->value());
                QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier, pixel);
                QVERIFY2(box->value() == inside, qPrintable(QStringLiteral("%1(%2) at %3,%4")
                                                                .arg(box->name())
                                                                .arg(box->index())
                                                                .arg(pixel.x())
                                                                .arg(pixel.y())));
            }
        }
        QVERIFY(boxes > 0);
    }
};

QTEST_MAIN(TestIndicatorBoxes)
#include "tst_indicatorboxes.moc"
