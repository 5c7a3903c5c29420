#pragma once

#include <QColor>
#include <QFont>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace velmora {

class Picture;

// A failed print: no printer, a printer that would not start, or a failure on the way.
class PrintError : public std::runtime_error
{
public:
    explicit PrintError(const QString &why);
    QString why() const { return m_why; }

private:
    QString m_why;
};

// Where printed pages go. Coordinates are twips from the top-left corner of the
// printable area. Nothing appears outside that area: a target clips every text, line
// and picture at its edges, whatever the paper. A target starts a document on begin()
// and sends it on end(); every call may throw PrintError.
class PrintTarget
{
public:
    virtual ~PrintTarget() = default;

    virtual void begin() = 0;
    // The printable area of the page, in twips.
    virtual QSizeF printableSize() const = 0;
    virtual double textWidth(const QFont &font, const QString &text) const = 0;
    // The height of one line of text in the font: the printer's own line spacing.
    virtual double lineHeight(const QFont &font) const = 0;
    // Text with its top-left corner at (x, y).
    virtual void drawText(double x, double y, const QFont &font, const QColor &color, const QString &text) = 0;
    virtual void drawLine(double x1, double y1, double x2, double y2, double width, const QColor &color) = 0;
    virtual void drawPicture(double x, double y, const Picture &picture) = 0;
    virtual void newPage() = 0;
    virtual void end() = 0;
    // Drops a document that failed part-way; nothing of it is printed where avoidable.
    virtual void abort() = 0;
};

// The printer as the screens use it: a line printer with a movable pen. A printed text
// starts at the current position; printing "a line" then moves to the left edge of the
// next line, one line height of the current font further down; printing "on the line"
// leaves the position after the text. The first output starts a document, endDoc()
// sends it. Any failure throws PrintError; the caller then calls abort().
//
// What lies past an edge of the printable area is lost, as on a real line printer. A
// text keeps only the characters that lie wholly inside (a line of text crossing the
// top or bottom edge is lost whole), so a PDF holds no words that cannot be seen on the
// paper; the target clips lines and pictures.
class LinePrinter
{
public:
    explicit LinePrinter(PrintTarget &target);

    // The printable area, in twips (starts the document if needed, as the size belongs
    // to the printer in use).
    double scaleWidth();
    double scaleHeight();

    double currentX() const { return m_x; }
    double currentY() const { return m_y; }
    void setCurrentX(double twips) { m_x = twips; }
    void setCurrentY(double twips) { m_y = twips; }

    QString fontName() const { return m_font.family(); }
    void setFontName(const QString &family);
    double fontSize() const { return m_font.pointSizeF(); }
    void setFontSize(double points);
    void setForeColor(const QColor &color) { m_color = color; }
    // Line width in printer dots (600 to the inch, so 2 dots are about 0.08 mm).
    void setDrawWidth(int dots) { m_drawWidth = dots; }

    // Width of a text in the current font, in twips.
    double textWidth(const QString &text);
    double textHeight();
    // Splits a text into lines no wider than `width` in the current font: where a line
    // may break (after a space or a hyphen), and inside a word only when the word alone
    // is too wide. Each line holds at least one character; trailing spaces are dropped;
    // an empty text is one empty line.
    QStringList wrap(const QString &text, double width);

    // Prints a text at the current position; with endLine the pen goes to the start of
    // the next line, otherwise it stays right after the text.
    void print(const QString &text, bool endLine = true);
    void line(double x1, double y1, double x2, double y2, const QColor &color);
    void paintPicture(const Picture &picture, double x, double y);
    void newPage();
    void endDoc();
    // Gives up the document in progress after a failure; safe to call at any time.
    void abort();

    bool inDocument() const { return m_started; }

private:
    void start();
    void drawInside(const QString &text, double width);
    // Length of the longest run of whole characters at the start of `text` that fits
    // in `room` (0 when not even the first one does).
    qsizetype fittingLength(const QString &text, double room) const;
    bool fits(const QString &text, double width) const;

    PrintTarget &m_target;
    QFont m_font;
    QColor m_color{0, 0, 0};
    int m_drawWidth = 1;
    double m_x = 0;
    double m_y = 0;
    bool m_started = false;
};

} // namespace velmora
