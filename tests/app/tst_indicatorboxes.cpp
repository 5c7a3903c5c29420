// Option buttons and tick boxes answer a click anywhere in their designed box, as a
// pupil or teacher clicks them: beside the text as well as on the dot or the caption.
#include "app/ardovin.h"
#include "app/intro0.h"
#include "quiz/multiple.h"
#include "support/testapp.h"
#include "toolkit/checkbox.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "worksheets/wizard.h"
#include "worksheets/worksheets.h"

#include <QTest>
#include <QWidget>

using namespace velmora;
using namespace velmora::test;

namespace {

// The four corner pixels and the centre of a control's box, in its form's window; the
// centre comes last.
QList<QPoint> cornersAndCentre(const Form &form, const Control &control)
{
    const QWidget *w = control.widget();
    const QRect r = w->rect();
    QList<QPoint> points;
    for (const QPoint &p : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight(), r.center()})
        points << w->mapTo(&form, p);
    return points;
}

void clickPixel(Form &form, const QPoint &pixel)
{
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier, pixel);
}

struct Box {
    IndicatorButton *control;
    std::function<void()> clear; // puts the control back to unselected or unticked
};

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

    void clickAnywhereInTheBox()
    {
        QFETCH(QString, screen);
        TestApp app;
        Form &form = app.forms.ref(screen);
        QVERIFY(showAndExpose(form));
        QList<Box> boxes;
        if (auto *menu = qobject_cast<intro0 *>(&form)) {
            boxes << Box{menu->Option1, [menu] { menu->Option2->setValue(true); }}
                  << Box{menu->Option2, [menu] { menu->Option1->setValue(true); }};
        } else if (auto *quiz = qobject_cast<multiple *>(&form)) {
            for (int i = 1; i <= 4; ++i)
                boxes << Box{&quiz->Option1[i], [quiz] { quiz->Option1[5].setValue(true); }};
        } else if (auto *editor = qobject_cast<wizard *>(&form)) {
            for (const auto &[index, tick] : editor->Check1)
                boxes << Box{tick, [tick = tick] { tick->setValue(false); }};
        } else if (auto *catalogue = qobject_cast<worksheets *>(&form)) {
            for (CheckBox *tick : {catalogue->Check1, catalogue->Check2})
                boxes << Box{tick, [tick] { tick->setValue(false); }};
        }
        QVERIFY(!boxes.isEmpty());
        for (const Box &box : boxes) {
            const QList<QPoint> points = cornersAndCentre(form, *box.control);
            QCOMPARE(form.childAt(points.last()), box.control->widget());
            for (const QPoint &pixel : points) {
                // The wizard's answer boxes are designed to overlap the last column of
                // the tick boxes beside them; a point covered so belongs to the box above.
                if (form.childAt(pixel) != box.control->widget())
                    continue;
                box.clear();
                QVERIFY(!box.control->value());
                clickPixel(form, pixel);
                QVERIFY2(box.control->value(), qPrintable(QStringLiteral("%1(%2) at %3,%4")
                                                              .arg(box.control->name())
                                                              .arg(box.control->index())
                                                              .arg(pixel.x())
                                                              .arg(pixel.y())));
            }
        }
    }

    void aClickJustOutsideTheBoxDoesNotCount()
    {
        TestApp app;
        wizard &editor = app.forms.ref<wizard>();
        QVERIFY(showAndExpose(editor));
        // Answer B's tick box: the next pixel to its left is bare form.
        const CheckBox &tick = editor.Check1[1];
        clickPixel(editor, tick.widget()->mapTo(&editor, QPoint(-1, tick.widget()->height() / 2)));
        QVERIFY(!tick.value());
    }

    void fullScoreClickingTheRightHandEndOfEachRightAnswer()
    {
        TestApp app;
        ardovin &page = app.forms.ref<ardovin>();
        QVERIFY(showAndExpose(page));
        const auto centreOf = [](const Control &c) {
            return QPointF(c.left() + c.width() / 2, c.top() + c.height() / 2);
        };
        clickAt(page, centreOf(page.Label3[0]).x(), centreOf(page.Label3[0]).y()); // Multiple Choice
        multiple *quiz = app.forms.loaded<multiple>();
        QVERIFY(quiz && QTest::qWaitForWindowExposed(quiz));
        for (int q = 1; q <= 10; ++q) {
            const OptionButton &right = quiz->Option1[app.m.rightans[q].toInt()];
            const QRect box = right.widget()->rect();
            clickPixel(*quiz, right.widget()->mapTo(quiz, QPoint(box.right(), box.center().y())));
            clickAt(*quiz, centreOf(quiz->Label3[1]).x(), centreOf(quiz->Label3[1]).y());
        }
        QCOMPARE(app.m.score, 10);
    }
};

QTEST_MAIN(TestIndicatorBoxes)
#include "tst_indicatorboxes.moc"
