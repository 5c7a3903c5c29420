// The baselines of the start-up benchmark: a bare Qt window of the title screen's size,
// and the same window with one line of text (which pays for starting the font system).
//   bare_window [--with-text] --startup-probe NS
#include "firstpaintprobe.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const qsizetype probe = args.indexOf(QStringLiteral("--startup-probe"));
    QWidget window;
    window.setFixedSize(364, 438); // the title screen's size
    if (args.contains(QStringLiteral("--with-text")))
        new QLabel(QStringLiteral("Velmora"), &window);
    if (probe >= 0 && probe + 1 < args.size())
        window.installEventFilter(new velmora::FirstPaintProbe(args[probe + 1].toLongLong(), &app));
    window.show();
    return QApplication::exec();
}
