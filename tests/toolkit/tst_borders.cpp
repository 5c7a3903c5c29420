// Single-line borders at fractional scaling (run at 150 %): every edge of every
// bordered label is drawn, each exactly one device pixel wide, wherever the label
// falls on the device pixel grid.
#include "toolkit/form.h"
#include "toolkit/label.h"

#include <QImage>
#include <QTest>

using namespace velmora;

namespace {

bool dark(QRgb pixel)
{
    return qRed(pixel) < 60 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}

// How many whole rows (or columns) near `around` are border-dark across the middle
// of the span [from, to).
int darkLines(const QImage &image, bool rows, int around, int from, int to)
{
    int lines = 0;
    for (int line = around - 2; line <= around + 2; ++line) {
        int count = 0;
        for (int along = from; along < to; ++along)
            count += dark(rows ? image.pixel(along, line) : image.pixel(line, along)) ? 1 : 0;
        if (count >= (to - from) * 9 / 10)
            ++lines;
    }
    return lines;
}

} // namespace

class TestBorders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyEdgeOnePixelAtAnyPlace()
    {
        Form form(QStringLiteral("Board"));
        form.setFormSize(6000, 4000);
        form.setBackColor(QColor(255, 255, 255));
        // Lefts and tops of every parity of logical pixel, as the telescope's boxes lie.
        for (int i = 0; i < 6; ++i) {
            auto *label = form.add<Label>(QStringLiteral("Label1"), i);
            label->setGeometry(240 + 915 * i + 15 * (i % 2), 300 + 465 * i + 15 * (i / 2 % 2), 870, 375);
            label->setBorderStyle(BorderStyle::FixedSingle);
            label->setBackStyle(BackStyle::Transparent);
        }
        const QImage image = form.grab().toImage();
        const qreal ratio = image.devicePixelRatio();
        QCOMPARE(ratio, 1.5); // ctest runs this test at 150 %
        for (const Control *label : form.controls()) {
            const QRect r = label->widget()->geometry();
            const int x0 = qRound(r.left() * ratio), x1 = qRound((r.left() + r.width()) * ratio) - 1;
            const int y0 = qRound(r.top() * ratio), y1 = qRound((r.top() + r.height()) * ratio) - 1;
            const int inX = x0 + 4, outX = x1 - 4, inY = y0 + 4, outY = y1 - 4;
            const QString where = QStringLiteral("label %1").arg(label->index());
            QVERIFY2(darkLines(image, false, x0, inY, outY) == 1, qPrintable(where + QStringLiteral(" left")));
            QVERIFY2(darkLines(image, false, x1, inY, outY) == 1, qPrintable(where + QStringLiteral(" right")));
            QVERIFY2(darkLines(image, true, y0, inX, outX) == 1, qPrintable(where + QStringLiteral(" top")));
            QVERIFY2(darkLines(image, true, y1, inX, outX) == 1, qPrintable(where + QStringLiteral(" bottom")));
        }
    }
};

QTEST_MAIN(TestBorders)
#include "tst_borders.moc"
