#include "pagelayout.h"

#include "wmfwriter/wmfwriter.h"

#include <QFontMetricsF>
#include <QImage>

namespace velmora::pages {

namespace {

constexpr int kTwipsPerInch = 1440;

PageText emptyPage()
{
    return PageText{QString(), {}};
}

// Font metrics in twips: a paint device of 1440 dots per inch.
const QImage &metricsDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMetre = qRound(kTwipsPerInch / 0.0254);
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        return image;
    }();
    return device;
}

QFont qtFont(const QString &face, double points, bool bold)
{
    QFont font(face);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

wmf::Font wmfFont(const QString &face, double points, bool bold)
{
    wmf::Font font;
    font.face = face;
    font.height = -qRound(points * 20); // the em height, in twips
    font.weight = bold ? 700 : 400;
    return font;
}

// Breaks a text into lines no wider than `width` twips.
QStringList wrap(const QString &text, const QFont &font, double width)
{
    const QFontMetricsF metrics(font, &metricsDevice());
    QStringList lines;
    QString line;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
            lines << line;
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

struct Line {
    QString text;
    bool heading;
    bool bullet;
    int y;
};

struct Layout {
    std::vector<Line> lines;
    int bottom = 0;
};

const QString kSerif = QStringLiteral("Times New Roman");
const QString kSans = QStringLiteral("Arial");

Layout layOut(const PageText &page, const PageStyle &style, double body, int top, int left, int right)
{
    const QFont headingFont = qtFont(kSans, style.headingPoints * body / style.bodyPoints, true);
    const QFont bodyFont = qtFont(kSerif, body, false);
    const QFontMetricsF headingMetrics(headingFont, &metricsDevice());
    const QFontMetricsF bodyMetrics(bodyFont, &metricsDevice());
    const int indent = qRound(bodyMetrics.horizontalAdvance(QStringLiteral("\u2022  ")));
    Layout layout;
    int y = top;
    for (const Block &block : page.blocks) {
        if (block.kind == Block::Heading) {
            y += qRound(headingMetrics.height() * 0.5);
            for (const QString &text : wrap(block.text, headingFont, right - left)) {
                layout.lines.push_back({text, true, false, y});
                y += qRound(headingMetrics.height());
            }
            y += qRound(headingMetrics.height() * 0.15);
            continue;
        }
        const bool point = block.kind == Block::Point;
        const QStringList lines = wrap(block.text, bodyFont, right - left - (point ? indent : 0));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            layout.lines.push_back({lines[i], false, point && i == 0, y});
            y += qRound(bodyMetrics.height());
        }
        y += qRound(bodyMetrics.height() * 0.3);
    }
    layout.bottom = y;
    Q_UNUSED(style);
    return layout;
}

} // namespace

PageText parsePage(const QString &source)
{
    PageText page = emptyPage();
    for (const QString &raw : source.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("## ")))
            page.blocks.push_back({Block::Heading, line.mid(3)});
        else if (line.startsWith(QLatin1String("# ")))
            page.title = line.mid(2);
        else if (line.startsWith(QLatin1String("- ")))
            page.blocks.push_back({Block::Point, line.mid(2)});
        else
            page.blocks.push_back({Block::Paragraph, line});
    }
    return page;
}

QByteArray renderPage(const PageText &page, PageStyle style, QStringList &problems)
{
    const int width = style.size.width();
    const int height = style.size.height();
    const int margin = style.screen ? 300 : 0;
    const QColor ink = style.screen ? QColor(30, 30, 50) : QColor(0, 0, 0);
    const QColor accent = style.screen ? QColor(39, 63, 137) : QColor(0, 0, 0);

    wmf::MetafileWriter w(QRect(0, 0, width, height), kTwipsPerInch);
    w.mapFrameToWindow();
    w.setBackgroundMode(wmf::BackgroundMode::Transparent);
    w.setTextAlign(wmf::Align::Left | wmf::Align::Top);

    // The paper and the title band.
    const QFont titleFont = qtFont(kSerif, style.titlePoints, true);
    const QFontMetricsF titleMetrics(titleFont, &metricsDevice());
    const int bandHeight = qRound(titleMetrics.height() * 1.5);
    if (style.screen) {
        w.selectNewPen(QColor(90, 70, 40), 30);
        w.selectNewBrush(QColor(253, 248, 232));
        w.rectangle(QRect(15, 15, width - 30, height - 30));
        w.selectNewPen(accent, 0, wmf::PenStyle::Null);
        w.selectNewBrush(accent);
        w.rectangle(QRect(15, 15, width - 30, bandHeight));
        w.setTextColor(QColor(255, 255, 0));
    } else {
        w.setTextColor(ink);
    }
    w.selectNewFont(wmfFont(kSerif, style.titlePoints, true));
    const QStringList titleLines = wrap(page.title, titleFont, width - 2 * margin - 300);
    const int titleWidth = qRound(titleMetrics.horizontalAdvance(titleLines.value(0)));
    w.textOut(QPoint((width - titleWidth) / 2, 15 + (bandHeight - qRound(titleMetrics.height())) / 2),
              titleLines.value(0));
    int top = 15 + bandHeight + 120;
    if (!style.screen) {
        w.selectNewPen(ink, 20);
        w.moveTo(QPoint(0, top - 60));
        w.lineTo(QPoint(width, top - 60));
    }

    // The body, shrunk until it fits.
    const int left = margin + 150;
    const int right = width - margin - 150;
    double body = style.bodyPoints;
    Layout layout = layOut(page, style, body, top, left, right);
    while (layout.bottom > height - 150 && body > style.bodyPoints * 0.6) {
        body -= 0.25;
        layout = layOut(page, style, body, top, left, right);
    }
    if (layout.bottom > height - 150)
        problems
            << QStringLiteral("\"%1\" runs %2 twips past the bottom").arg(page.title).arg(layout.bottom - height + 150);

    const double headingPoints = style.headingPoints * body / style.bodyPoints;
    const QFontMetricsF bodyMetrics(qtFont(kSerif, body, false), &metricsDevice());
    const int indent = qRound(bodyMetrics.horizontalAdvance(QStringLiteral("\u2022  ")));
    const wmf::ObjectHandle headingFont = w.createFont(wmfFont(kSans, headingPoints, true));
    const wmf::ObjectHandle bodyFont = w.createFont(wmfFont(kSerif, body, false));
    bool inPoint = false;
    for (const Line &line : layout.lines) {
        if (line.heading) {
            w.selectObject(headingFont);
            w.setTextColor(accent);
            w.textOut(QPoint(left, line.y), line.text);
            inPoint = false;
            continue;
        }
        w.selectObject(bodyFont);
        w.setTextColor(ink);
        if (line.bullet) {
            w.textOut(QPoint(left, line.y), QStringLiteral("\u2022"));
            inPoint = true;
        }
        w.textOut(QPoint(left + (inPoint ? indent : 0), line.y), line.text);
    }
    problems << w.problems();
    return w.finish();
}

} // namespace velmora::pages
