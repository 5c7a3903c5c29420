#pragma once

#include "printer.h"

#include <QPageLayout>
#include <QPageSize>

#include <memory>
#include <optional>

class QLocale;
class QPainter;
class QPrinter;

namespace velmora {

// The paper people use where the locale's country is: Letter in the United States and
// Canada, A4 everywhere else.
QPageSize localePaper(const QLocale &locale);
// The paper a user names: "a4" or "letter", in any case; nothing for any other name.
std::optional<QPageSize> paperNamed(const QString &name);

// Prints with Qt: on the system's default printer (through CUPS), or as PDF files in a
// folder for schools without a printer. The printer is set to 1440 dots per inch, so
// one device unit is one twip and fonts keep their point sizes. The painter is clipped
// to the printable area.
class QtPrintTarget final : public PrintTarget
{
public:
    // Prints on the default printer, on the paper its queue is set up with.
    QtPrintTarget();
    // Writes each document as a new PDF file in `folder`, on the paper of the user's
    // locale.
    explicit QtPrintTarget(QString folder);
    ~QtPrintTarget() override;

    // Prints on this paper instead, from the next document on. A printer that has no
    // such paper fails to start.
    void setPaper(const QPageSize &paper) { m_paper = paper; }

    void begin() override;
    QSizeF printableSize() const override;
    double textWidth(const QFont &font, const QString &text) const override;
    double lineHeight(const QFont &font) const override;
    void drawText(double x, double y, const QFont &font, const QColor &color, const QString &text) override;
    void drawLine(double x1, double y1, double x2, double y2, double width, const QColor &color) override;
    void drawPicture(double x, double y, const Picture &picture) override;
    void newPage() override;
    void end() override;
    void abort() override;

    // The file the last PDF document went to (PDF folder only).
    QString lastFile() const { return m_lastFile; }
    // The paper and printable area of the last document begun.
    QPageLayout lastLayout() const { return m_lastLayout; }

private:
    QPainter &painter();
    QString nextPdfName() const;
    void clipToPrintableArea();

    QString m_pdfFolder;
    std::optional<QPageSize> m_paper;
    QString m_lastFile;
    QPageLayout m_lastLayout;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
};

} // namespace velmora
