#include "printer.h"

#include "toolkit/picture.h"

namespace velmora {

namespace {
// Printer dots per inch behind setDrawWidth().
constexpr double kPrinterDotsPerInch = 600.0;
constexpr double kTwipsPerInch = 1440.0;
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

void LinePrinter::print(const QString &text, bool endLine)
{
    start();
    if (!text.isEmpty())
        m_target.drawText(m_x, m_y, m_font, m_color, text);
    if (endLine) {
        m_x = 0;
        m_y += m_target.lineHeight(m_font);
    } else {
        m_x += m_target.textWidth(m_font, text);
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
