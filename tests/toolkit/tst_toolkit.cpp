// The toolkit: pointer events routed to the controls, the controls' own behaviour, and the
// registry of forms (stacking, opening, loading and unloading), all at 150 % scaling.
#include "toolkit/form.h"
#include "toolkit/formregistry.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/line.h"
#include "toolkit/optionbutton.h"
#include "toolkit/textbox.h"
#include "toolkit/timer.h"

#include <QCoreApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// A point of a form in window pixels, from twips.
QPoint at(double x, double y)
{
    return {qRound(x / 15.0), qRound(y / 15.0)};
}

// A bare form with one of each kind of pointer target, and a log of who got what.
class Board : public Form
{
public:
    Board()
        : Form(u"Board"_s)
    {
        setFormSize(6000, 3000);
        active = add<Label>(u"Active"_s);
        active->setGeometry(0, 0, 1500, 750);
        auto *disabled = add<Label>(u"Disabled"_s);
        disabled->setGeometry(1500, 0, 1500, 750);
        disabled->setEnabled(false);
        add<Image>(u"Plain"_s)->setGeometry(3000, 0, 1500, 750);
        Line *line = add<Line>(u"Line"_s);
        line->setPoints(QPointF(4500, 1500), QPointF(6000, 1500));
        line->setLineWidth(3);
        const auto logs = [this](const char *what) {
            return [this, what](const MouseArgs &a) {
                log << u"%1 %2 at %3,%4"_s.arg(QLatin1String(what)).arg(a.buttons).arg(a.x).arg(a.y);
            };
        };
        active->onMouseMove = logs("active move");
        active->onMouseDown = logs("active down");
        active->onMouseUp = logs("active up");
        active->onClick = [this] { log << u"active click"_s; };
        disabled->onMouseMove = logs("disabled move");
        disabled->onClick = [this] { log << u"disabled click"_s; };
        onMouseMove = logs("form move");
    }

    Label *active;
    QStringList log;
};

// Runs the event loop until a 1 ms timer of Qt's own has ticked three times: long enough
// for any timer that is on to tick.
bool clockTicked()
{
    QTimer clock;
    clock.setTimerType(Qt::PreciseTimer);
    QSignalSpy ticks(&clock, &QTimer::timeout);
    clock.start(1);
    return QTest::qWaitFor([&ticks] { return ticks.size() >= 3; });
}

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
            *log << u"handler ended"_s;
        };
    }
    void load() override
    {
        // Referring to itself while loading finds this form, not a second one.
        *log << u"load sees caption "_s + caption->caption()
             << (&registry()->ref(formName()) == this ? u"self"_s : u"other"_s);
    }
    void closeRequested() override
    {
        if (formName() != u"menu"_s)
            unload();
    }

    Label *caption;
    Timer *tick;
    std::shared_ptr<QStringList> log = std::make_shared<QStringList>(); // outlives the form
};

Form &show(FormRegistry &forms, const QString &name)
{
    Form &form = forms.ref(name);
    form.showForm();
    return form;
}

// How many whole rows (or columns) near `around` are border-dark across the middle
// of the span [from, to).
int darkLines(const QImage &image, bool rows, int around, int from, int to)
{
    int lines = 0;
    for (int line = around - 2; line <= around + 2; ++line) {
        int count = 0;
        for (int along = from; along < to; ++along) {
            const QRgb pixel = rows ? image.pixel(along, line) : image.pixel(line, along);
            count += qRed(pixel) < 60 && qGreen(pixel) < 60 && qBlue(pixel) < 60 ? 1 : 0;
        }
        if (count >= (to - from) * 9 / 10)
            ++lines;
    }
    return lines;
}

} // namespace

class TestToolkit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pointerRouting_data()
    {
        QTest::addColumn<QPoint>("where");
        QTest::addColumn<QString>("expected");
        QTest::newRow("enabled label takes the move") << at(750, 375) << u"active move 0 at 750,375"_s;
        QTest::newRow("disabled label passes it to the form") << at(2250, 375) << u"form move 0 at 2250,375"_s;
        QTest::newRow("plain picture swallows it") << at(3750, 375) << QString();
        QTest::newRow("a line is no target") << at(5250, 1500) << u"form move 0 at 5250,1500"_s;
        QTest::newRow("bare form") << at(3000, 2500) << u"form move 0 at 3000,2505"_s;
    }

    void pointerRouting()
    {
        QFETCH(QPoint, where);
        QFETCH(QString, expected);
        Board board;
        board.show();
        QVERIFY(QTest::qWaitForWindowExposed(&board));
        board.log.clear();
        QTest::mouseMove(board.windowHandle(), where);
        QCOMPARE(board.log.join(QLatin1Char('|')), expected);
    }

    void clickNeedsPressAndReleaseOverTheControl()
    {
        Board board;
        board.show();
        QVERIFY(QTest::qWaitForWindowExposed(&board));
        QWindow *w = board.windowHandle();
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at(750, 375));
        QVERIFY(board.log.contains(u"active click"_s));
        // Pressed on the label and released over the form: the label keeps the pointer
        // (its up arrives, with the position relative to the label) but no click.
        board.log.clear();
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, at(750, 375));
        QTest::mouseMove(w, at(3000, 2500));
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, at(3000, 2500));
        QCOMPARE(board.log.filter(u"form"_s), QStringList());
        QVERIFY(board.log.contains(u"active up 1 at 3000,2505"_s));
        // The right button never clicks; a disabled label never clicks.
        QTest::mouseClick(w, Qt::RightButton, Qt::NoModifier, at(750, 375));
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at(2250, 375));
        QCOMPARE(board.log.filter(u"click"_s), QStringList());
        QVERIFY(board.log.contains(u"active down 2 at 750,375"_s));
    }

    // A label keeps its place exactly in twips, its widget on whole pixels, edges rounded;
    // sized to its text, it grows with the text, and downwards once it wraps.
    void labelGeometryInTwips()
    {
        Board board;
        Label *label = board.active;
        label->move(1537.5, 322.5);
        QCOMPARE(QPointF(label->left(), label->top()), QPointF(1537.5, 322.5));
        QCOMPARE(label->widget()->geometry(), QRect(103, 22, 100, 50));
        label->setAutoSize(true);
        label->setCaption(u"W"_s);
        const double narrow = label->width();
        label->setCaption(u"A much longer caption"_s);
        QVERIFY(label->width() > narrow);
        label->setWordWrap(true);
        label->setWidth(600);
        label->setCaption(u"wraps onto several lines of text"_s);
        QVERIFY(label->height() > 600);
        QCOMPARE(label->width(), 600.0);
    }

    // A text the program sets shows whole, past the maximum; typing adds nothing to it,
    // and once it is shortened below the maximum, typing stops there again.
    void textBoxKeepsALongerTextItWasGiven()
    {
        Board board;
        auto *box = board.add<TextBox>(u"Text1"_s);
        box->setMaxLength(5);
        box->setText(u"123456789"_s);
        QTest::keyClick(box->widget(), Qt::Key_End);
        QTest::keyClicks(box->widget(), u"x"_s);
        QCOMPARE(box->text(), u"123456789"_s);
        QTest::keyClicks(box->widget(), u"\b\b\b\b\b\bwxyz"_s); // six backspaces, then four letters
        QCOMPARE(box->text(), u"123wx"_s);
    }

    void nativeControlsTakeTheirColours()
    {
        Board board;
        auto *option = board.add<OptionButton>(u"Option1"_s);
        option->setGeometry(0, 1500, 1500, 255);
        option->setBackColor(QColor(39, 63, 137));
        const QImage shot = option->widget()->grab().toImage();
        QCOMPARE(QColor(shot.pixel(shot.width() - 2, 2)), QColor(39, 63, 137));
    }

    void timerTicksOnlyWhileOnWithAnInterval()
    {
        Board board;
        Timer *timer = board.addTimer(u"Timer1"_s, 0);
        int ticks = 0;
        timer->onTick = [&ticks] { ++ticks; };
        timer->setEnabled(true);
        QVERIFY(clockTicked());
        QCOMPARE(ticks, 0); // an interval of 0 never ticks
        timer->setInterval(1);
        timer->setEnabled(true);
        QTRY_VERIFY(ticks > 0);
        timer->setEnabled(false);
        const int seen = ticks;
        QVERIFY(clockTicked());
        QCOMPARE(ticks, seen);
    }

    // Screens stand over the screen they were opened from and close with it; the backdrop
    // shown again covers every screen until one of them is shown again.
    void screensStandOverTheirOpenerAndCloseWithIt()
    {
        FormRegistry forms;
        for (const QString &name :
             {u"menu"_s, u"catalogue"_s, u"quiz"_s, u"results"_s, u"page"_s, u"Grey"_s, u"confirm"_s})
            forms.define(name, [name] { return new Screen(name); });
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

        // The exit confirmation: the backdrop, shown again, covers the menu and a page opened
        // from it, and the confirmation, shown over the backdrop, stands over no screen.
        Form &grey = show(forms, u"Grey"_s);
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
    // (which stops its timers) the next reference builds it afresh, as designed. An unload
    // from the form's own click handler lets the handler run to its end.
    void referenceLoadsOnceAndUnloadBuildsAfresh()
    {
        FormRegistry forms;
        forms.define(u"page"_s, [] { return new Screen(u"page"_s); });
        QVERIFY(!forms.loaded(u"page"_s));
        auto &first = static_cast<Screen &>(forms.ref(u"page"_s));
        QCOMPARE(&forms.ref(u"page"_s), &first);
        QCOMPARE(*first.log, QStringList({u"load sees caption designed"_s, u"self"_s}));
        QVERIFY(!first.isVisible());
        first.caption->setCaption(u"changed"_s);
        first.tick->setEnabled(true);
        QPointer<Form> old(&first);
        first.unload();
        QVERIFY(!forms.loaded(u"page"_s) && !first.tick->enabled());
        auto &fresh = static_cast<Screen &>(show(forms, u"page"_s));
        QVERIFY(&fresh != old.data());
        QCOMPARE(fresh.caption->caption(), u"designed"_s);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(old.isNull());

        QVERIFY(QTest::qWaitForWindowExposed(&fresh));
        old = &fresh;
        const std::shared_ptr<QStringList> log = fresh.log;
        QTest::mouseClick(fresh.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          fresh.caption->widget()->geometry().center());
        QVERIFY(log->endsWith(u"handler ended"_s) && !forms.loaded(u"page"_s));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(old.isNull());
    }

    // Single-line borders at fractional scaling (ctest runs this suite at 150 %): every edge
    // of every bordered label is drawn, each exactly one device pixel wide, wherever the
    // label falls on the device pixel grid.
    void everyEdgeOnePixelAtAnyPlace()
    {
        Form form(u"Board"_s);
        form.setFormSize(6000, 4000);
        form.setBackColor(QColor(255, 255, 255));
        // Lefts and tops of every parity of logical pixel, as the telescope's boxes lie.
        for (int i = 0; i < 6; ++i) {
            auto *label = form.add<Label>(u"Label1"_s, i);
            label->setGeometry(240 + 915 * i + 15 * (i % 2), 300 + 465 * i + 15 * (i / 2 % 2), 870, 375);
            label->setBorderStyle(BorderStyle::FixedSingle);
            label->setBackStyle(BackStyle::Transparent);
        }
        const QImage image = form.grab().toImage();
        const qreal ratio = image.devicePixelRatio();
        QCOMPARE(ratio, 1.5);
        for (const Control *label : form.controls()) {
            const QRect r = label->widget()->geometry();
            const int x0 = qRound(r.left() * ratio), x1 = qRound((r.left() + r.width()) * ratio) - 1;
            const int y0 = qRound(r.top() * ratio), y1 = qRound((r.top() + r.height()) * ratio) - 1;
            const int inX = x0 + 4, outX = x1 - 4, inY = y0 + 4, outY = y1 - 4;
            const QString where = u"label %1"_s.arg(label->index());
            QVERIFY2(darkLines(image, false, x0, inY, outY) == 1, qPrintable(where + u" left"_s));
            QVERIFY2(darkLines(image, false, x1, inY, outY) == 1, qPrintable(where + u" right"_s));
            QVERIFY2(darkLines(image, true, y0, inX, outX) == 1, qPrintable(where + u" top"_s));
            QVERIFY2(darkLines(image, true, y1, inX, outX) == 1, qPrintable(where + u" bottom"_s));
        }
    }
};

QTEST_MAIN(TestToolkit)
#include "tst_toolkit.moc"
