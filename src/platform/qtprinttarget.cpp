#include "qtprinttarget.h"

#include "toolkit/picture.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace velmora {

namespace {
constexpr int kTwipsPerInch = 1440;
} // namespace

QPageSize localePaper(const QLocale &locale)
{
    const QLocale::Territory territory = locale.territory();
    const bool letter = territory == QLocale::UnitedStates || territory == QLocale::Canada;
    return QPageSize(letter ? QPageSize::Letter : QPageSize::A4);
}

std::optional<QPageSize> paperNamed(const QString &name)
{
    if (name.compare(QLatin1String("a4"), Qt::CaseInsensitive) == 0)
        return QPageSize(QPageSize::A4);
    if (name.compare(QLatin1String("letter"), Qt::CaseInsensitive) == 0)
        return QPageSize(QPageSize::Letter);
    return std::nullopt;
}

QtPrintTarget::QtPrintTarget() = default;

QtPrintTarget::QtPrintTarget(QString folder)
    : m_pdfFolder(std::move(folder))
{
}

QtPrintTarget::~QtPrintTarget()
{
    abort();
}

QString QtPrintTarget::nextPdfName() const
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QDir folder(m_pdfFolder);
    QString name = folder.filePath(QStringLiteral("velmora-%1.pdf").arg(stamp));
    for (int n = 2; QFile::exists(name); ++n)
        name = folder.filePath(QStringLiteral("velmora-%1-%2.pdf").arg(stamp).arg(n));
    return name;
}

void QtPrintTarget::begin()
{
    abort();
    if (m_pdfFolder.isEmpty()) {
        // A default QPrinter says it is valid even when the system has no printer.
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            throw PrintError(QStringLiteral("no default printer"));
        m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        // The queue keeps its own paper unless the user chose one.
        if (m_paper && !m_printer->setPageSize(*m_paper)) {
            m_printer.reset();
            throw PrintError(QStringLiteral("the printer has no %1 paper").arg(m_paper->name()));
        }
    } else {
        if (!QDir(m_pdfFolder).exists() && !QDir().mkpath(m_pdfFolder))
            throw PrintError(QStringLiteral("cannot create %1").arg(m_pdfFolder));
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_lastFile = nextPdfName();
        m_printer->setOutputFileName(m_lastFile);
        m_printer->setPageSize(m_paper.value_or(localePaper(QLocale::system())));
    }
    m_printer->setResolution(kTwipsPerInch);
    m_printer->setFullPage(false);
    m_printer->setDocName(QStringLiteral("Velmora"));
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        m_painter.reset();
        m_printer.reset();
        throw PrintError(QStringLiteral("the printer would not start"));
    }
    m_lastLayout = m_printer->pageLayout();
    clipToPrintableArea();
}

void QtPrintTarget::clipToPrintableArea()
{
    // Without it a text runs on into the margin and off the sheet.
    m_painter->setClipRect(QRectF(QPointF(0, 0), printableSize()));
}

QPainter &QtPrintTarget::painter()
{
    if (!m_painter || !m_painter->isActive())
        throw PrintError(QStringLiteral("no document in progress"));
    return *m_painter;
}

QSizeF QtPrintTarget::printableSize() const
{
    if (!m_printer)
        throw PrintError(QStringLiteral("no document in progress"));
    return m_printer->pageLayout().paintRectPixels(kTwipsPerInch).size();
}

double QtPrintTarget::textWidth(const QFont &font, const QString &text) const
{
    if (!m_printer)
        throw PrintError(QStringLiteral("no document in progress"));
    return QFontMetricsF(font, m_printer.get()).horizontalAdvance(text);
}

double QtPrintTarget::lineHeight(const QFont &font) const
{
    if (!m_printer)
        throw PrintError(QStringLiteral("no document in progress"));
    return QFontMetricsF(font, m_printer.get()).height();
}

void QtPrintTarget::drawText(double x, double y, const QFont &font, const QColor &color, const QString &text)
{
    QPainter &p = painter();
    QFont printerFont(font, m_printer.get());
    p.setFont(printerFont);
    p.setPen(color);
    p.drawText(QPointF(x, y + QFontMetricsF(printerFont, m_printer.get()).ascent()), text);
}

void QtPrintTarget::drawLine(double x1, double y1, double x2, double y2, double width, const QColor &color)
{
    QPainter &p = painter();
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QtPrintTarget::drawPicture(double x, double y, const Picture &picture)
{
    picture.draw(painter(), QPointF(x, y), 1.0);
}

void QtPrintTarget::newPage()
{
    painter();
    if (!m_printer->newPage())
        throw PrintError(QStringLiteral("the printer refused a new page"));
    clipToPrintableArea();
}

void QtPrintTarget::end()
{
    painter();
    const bool ended = m_painter->end();
    m_painter.reset();
    const bool failed = m_printer->printerState() == QPrinter::Error;
    m_printer.reset();
    if (!ended || failed)
        throw PrintError(QStringLiteral("the printer did not take the document"));
}

void QtPrintTarget::abort()
{
    if (m_printer && m_painter && m_painter->isActive()) {
        // Ask the printer to drop the job; a PDF file half written is removed.
        m_printer->abort();
        m_painter->end();
        if (!m_pdfFolder.isEmpty() && !m_lastFile.isEmpty())
            QFile::remove(m_lastFile);
    }
    m_painter.reset();
    m_printer.reset();
}

} // namespace velmora
