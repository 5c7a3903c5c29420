#include "printer.h"

#include "toolkit/picture.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace velmora {

namespace {
// Printer dots per inch behind setDrawWidth().
constexpr double kPrinterDotsPerInch = 600.0;
constexpr double kTwipsPerInch = 1440.0;

// Where each character (grapheme cluster) of a text starts, and the text's end.
QList<qsizetype> characterBounds(const QString &text)
{
    QList<qsizetype> bounds{0};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
        bounds << at;
    return bounds;
}

QString withoutTrailingSpaces(QString text)
{
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text;
}
} // namespace

PrintError::PrintError(const QString &why)
    : std::runtime_error(why.toStdString())
    , m_why(why)
{
}

LinePrinter::LinePrinter(PrintTarget &target)
    : m_target(target)
    , m_font(QStringLiteral("Times New Roman"))
{
    m_font.setPointSizeF(12);
}

void LinePrinter::start()
{
    if (m_started)
        return;
    m_x = 0;
    m_y = 0;
    m_target.begin();
    m_started = true;
}

double LinePrinter::scaleWidth()
{
    start();
    return m_target.printableSize().width();
}

double LinePrinter::scaleHeight()
{
    start();
    return m_target.printableSize().height();
}

void LinePrinter::setFontName(const QString &family)
{
    m_font.setFamily(family);
}

void LinePrinter::setFontSize(double points)
{
    m_font.setPointSizeF(points);
}

double LinePrinter::textWidth(const QString &text)
{
    start();
    return m_target.textWidth(m_font, text);
}

double LinePrinter::textHeight()
{
    start();
    return m_target.lineHeight(m_font);
}

qsizetype LinePrinter::fittingLength(const QString &text, double room) const
{
    const QList<qsizetype> bounds = characterBounds(text);
    // Widths grow with every character, so the first prefix too wide ends the search.
    const auto tooWide = std::partition_point(bounds.begin() + 1, bounds.end(), [&](qsizetype end) {
        return m_target.textWidth(m_font, text.left(end)) <= room;
    });
    return *(tooWide - 1);
}

bool LinePrinter::fits(const QString &text, double width) const
{
    const QString shown = withoutTrailingSpaces(text);
    return shown.isEmpty() || m_target.textWidth(m_font, shown) <= width;
}

QStringList LinePrinter::wrap(const QString &text, double width)
{
    start();
    QStringList lines;
    QString line;
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    qsizetype from = 0;
    for (qsizetype to = breaks.toNextBoundary(); to > 0; to = breaks.toNextBoundary()) {
        QString piece = text.mid(from, to - from);
        from = to;
        if (fits(line + piece, width)) {
            line += piece;
            continue;
        }
        if (!withoutTrailingSpaces(line).isEmpty())
            lines << withoutTrailingSpaces(line);
        // A word wider than a whole line is broken between characters.
        while (!fits(piece, width)) {
            const qsizetype keep = std::max(fittingLength(piece, width), characterBounds(piece).value(1));
            lines << piece.left(keep);
            piece = piece.mid(keep);
        }
        line = piece;
    }
    if (lines.isEmpty() || !withoutTrailingSpaces(line).isEmpty())
        lines << withoutTrailingSpaces(line);
    return lines;
}

void LinePrinter::drawInside(const QString &text, double width)
{
    const QSizeF area = m_target.printableSize();
    // A line that does not fit between the top and bottom edges is lost whole. (The
    // slack keeps a line that a caller fitted by adding line heights.)
    constexpr double kSlack = 0.01;
    if (m_y < -kSlack || m_y + m_target.lineHeight(m_font) > area.height() + kSlack)
        return;
    if (m_x >= 0 && m_x + width <= area.width()) {
        m_target.drawText(m_x, m_y, m_font, m_color, text);
        return;
    }
    // Characters that start left of the area are lost, then those that would end past
    // its right edge.
    const QList<qsizetype> bounds = characterBounds(text);
    const auto first = std::partition_point(bounds.begin(), bounds.end(), [&](qsizetype start) {
        return m_x + m_target.textWidth(m_font, text.left(start)) < 0;
    });
    if (first == bounds.end())
        return;
    const double x = m_x + m_target.textWidth(m_font, text.left(*first));
    const QString rest = text.mid(*first);
    const qsizetype keep = fittingLength(rest, area.width() - x);
    if (keep > 0)
        m_target.drawText(x, m_y, m_font, m_color, rest.left(keep));
}

void LinePrinter::print(const QString &text, bool endLine)
{
    start();
    const double width = text.isEmpty() ? 0.0 : m_target.textWidth(m_font, text);
    if (!text.isEmpty())
        drawInside(text, width);
    if (endLine) {
        m_x = 0;
        m_y += m_target.lineHeight(m_font);
    } else {
        m_x += width;
    }
}

void LinePrinter::line(double x1, double y1, double x2, double y2, const QColor &color)
{
    start();
    m_target.drawLine(x1, y1, x2, y2, m_drawWidth * kTwipsPerInch / kPrinterDotsPerInch, color);
}

void LinePrinter::paintPicture(const Picture &picture, double x, double y)
{
    start();
    m_target.drawPicture(x, y, picture);
}

void LinePrinter::newPage()
{
    start();
    m_target.newPage();
    m_x = 0;
    m_y = 0;
}

void LinePrinter::endDoc()
{
    start();
    m_started = false;
    m_target.end();
    m_x = 0;
    m_y = 0;
}

void LinePrinter::abort()
{
    if (m_started)
        m_target.abort();
    m_started = false;
    m_x = 0;
    m_y = 0;
}

} // namespace velmora
