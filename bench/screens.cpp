// Screen changes: from a click to the next screen painted, for every way between the
// screens, and the resident memory after visiting them all.
//   bench_screens [ROUNDS]
#include "activities/ardovinord.h"
#include "activities/telescope.h"
#include "app/ardovin.h"
#include "app/intro0.h"
#include "pages/guide.h"
#include "pages/teacher.h"
#include "quiz/multiple.h"
#include "quiz/welldone.h"
#include "quiz/wrong.h"
#include "support/testapp.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "worksheets/wizard.h"
#include "worksheets/worksheets.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

using namespace velmora;
using namespace velmora::test;

namespace {

// Notes when a window has painted.
class PaintWatch : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

std::map<std::string, std::vector<double>> timings;

QPoint centreOf(const Control &control)
{
    return control.widget()->mapTo(control.widget()->window(), control.widget()->rect().center());
}

// Clicks a control with a routed click and waits until `next()` is painted.
void timeClick(const char *what, Control &control, const std::function<Form *()> &next)
{
    QWindow *window = control.widget()->window()->windowHandle();
    QElapsedTimer timer;
    PaintWatch watch;
    timer.start();
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centreOf(control));
    Form *target = next();
    if (!target) {
        std::fprintf(stderr, "%s: no screen came\n", what);
        return;
    }
    target->installEventFilter(&watch);
    target->update();
    while (!watch.painted && timer.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    timings[what].push_back(double(timer.nsecsElapsed()) / 1e6);
    target->removeEventFilter(&watch);
}

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtFatalMsg || type == QtCriticalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
    TestApp app;
    auto &forms = app.forms;
    intro0 *menu = &forms.ref<intro0>();
    menu->showForm();
    if (!QTest::qWaitForWindowExposed(menu))
        qWarning("the main menu did not show");

    for (int round = 0; round < rounds; ++round) {
        timeClick("menu -> unit page", menu->Label2[1], [&] { return forms.loaded<ardovin>(); });
        ardovin *page = forms.loaded<ardovin>();
        timeClick("unit page -> key facts", page->Label3[4], [&] { return forms.loaded<teacher>(); });
        teacher *viewer = forms.loaded<teacher>();
        timeClick("key facts: next page", viewer->Label3[2], [&] { return viewer; });
        timeClick("key facts -> unit page (exit)", viewer->Label3[1], [&] { return page; });
        TestApp::settle();
        timeClick("unit page -> quiz", page->Label3[0], [&] { return forms.loaded<multiple>(); });
        for (int q = 1; q <= 10; ++q) {
            multiple *quiz = forms.loaded<multiple>();
            quiz->Option1[app.m.rightans[q].toInt()].setValue(q != 4);
            if (q < 10)
                timeClick("quiz: next question", quiz->Label3[1], [&] { return quiz; });
            else
                timeClick("quiz -> results (end of quiz)", quiz->Label3[1], [&] { return forms.loaded<Welldone>(); });
        }
        TestApp::settle();
        Welldone *results = forms.loaded<Welldone>();
        timeClick("results -> wrong answers", results->Label3[0], [&] { return forms.loaded<Wrong>(); });
        timeClick("wrong answers -> unit page", forms.loaded<Wrong>()->Label3[1], [&] { return page; });
        TestApp::settle();
        timeClick("unit page -> telescope", page->Label3[1], [&] { return forms.loaded<telescope>(); });
        timeClick("telescope -> unit page", forms.loaded<telescope>()->Label3[0], [&] { return page; });
        TestApp::settle();
        timeClick("unit page -> timeline", page->Label3[3], [&] { return forms.loaded<ardovinord>(); });
        timeClick("timeline -> unit page", forms.loaded<ardovinord>()->Label3[0], [&] { return page; });
        TestApp::settle();
        timeClick("unit page -> menu", page->Label3[2], [&] { return menu; });
        TestApp::settle();
        timeClick("menu -> teachers' guide", menu->Label2[20], [&] { return forms.loaded<guide>(); });
        guide *pages = forms.loaded<guide>();
        timeClick("guide: next page", pages->Label3[2], [&] { return pages; });
        pages->unload();
        TestApp::settle();
        timeClick("menu -> acknowledgments", menu->Label2[19], [&] { return forms.loaded<teacher>(); });
        forms.loaded<teacher>()->unload();
        TestApp::settle();
        timeClick("menu -> wizard", menu->Label2[17], [&] { return forms.loaded<wizard>(); });
        forms.loaded<wizard>()->unload();
        TestApp::settle();
        timeClick("menu -> catalogue", menu->Label2[18], [&] { return forms.loaded<worksheets>(); });
        TestApp::settle();
        timeClick("catalogue -> menu", forms.loaded<worksheets>()->Label2[0], [&] { return forms.loaded<intro0>(); });
        TestApp::settle();
        menu = forms.loaded<intro0>();
    }

    std::printf("%-34s %9s %9s %6s\n", "screen change (click -> painted)", "median ms", "max ms", "runs");
    double worst = 0;
    for (auto &[what, ms] : timings) {
        std::sort(ms.begin(), ms.end());
        worst = std::max(worst, ms[ms.size() / 2]);
        std::printf("%-34s %9.2f %9.2f %6zu\n", what.c_str(), ms[ms.size() / 2], ms.back(), ms.size());
    }
    std::printf("slowest median: %.2f ms (goal: under 16.7)\n", worst);
    std::printf("resident memory after visiting every screen: %.1f MB (goal: under 80)\n",
                double(residentKilobytes()) / 1024.0);
    return 0;
}
