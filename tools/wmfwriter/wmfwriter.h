#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QImage;

namespace velmora::wmf {

// Mapping modes, as the metafile stores them.
enum class MapMode : quint16 {
    Text = 1,
    LoMetric = 2,
    HiMetric = 3,
    LoEnglish = 4,
    HiEnglish = 5,
    Twips = 6,
    Isotropic = 7,
    Anisotropic = 8,
};

enum class PenStyle : quint16 { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Null = 5, InsideFrame = 6 };
enum class BrushStyle : quint16 { Solid = 0, Null = 1, Hatched = 2 };
enum class Hatch : quint16 {
    Horizontal = 0,
    Vertical = 1,
    ForwardDiagonal = 2,
    BackwardDiagonal = 3,
    Cross = 4,
    DiagonalCross = 5
};
enum class BackgroundMode : quint16 { Transparent = 1, Opaque = 2 };
enum class FillMode : quint16 { Alternate = 1, Winding = 2 };

// Text alignment flags; combine one horizontal and one vertical value.
namespace Align {
inline constexpr quint16 Left = 0;
inline constexpr quint16 Right = 2;
inline constexpr quint16 Center = 6;
inline constexpr quint16 Top = 0;
inline constexpr quint16 Bottom = 8;
inline constexpr quint16 Baseline = 24;
inline constexpr quint16 UpdateCurrentPosition = 1;
} // namespace Align

// ExtTextOut options.
namespace TextOption {
inline constexpr quint16 Opaque = 0x0002;
inline constexpr quint16 Clipped = 0x0004;
} // namespace TextOption

// Bits per pixel of an embedded bitmap. The indexed depths keep the image's own colour
// table (at most 2, 16 or 256 entries); 24 bits store the pixels as they are.
enum class DibDepth { Indexed1 = 1, Indexed4 = 4, Indexed8 = 8, Rgb24 = 24 };

struct Font {
    QString face = QStringLiteral("Arial");
    // In logical units. Negative: the height of the characters (the em); positive: the
    // height of the character cell, internal leading included. Zero picks a default.
    int height = -12;
    // Average character width in logical units; zero keeps the face's own proportions.
    int width = 0;
    // Tenths of a degree, counter-clockwise.
    int escapement = 0;
    int weight = 400; // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// A slot in the metafile's object table. Slots are reused after deleteObject, exactly as
// a player allocates them, so a handle is only valid until its object is deleted.
struct ObjectHandle {
    int slot = -1;
    bool isValid() const { return slot >= 0; }
};

// Writes a placeable Windows Metafile: the header names the picture's frame in logical
// units and how many of them make an inch; records follow in the order they are called.
// Coordinates are 16-bit in the file: values outside -32768..32767 are clamped and
// reported by problems(), as are text the file's code page (Windows-1252) cannot hold
// and records of more than 65535 points or characters (cut short).
//
// Players differ in two respects worth knowing. Some select an object as soon as it is
// created: selecting every object right after creating it (as the selectNew... calls
// do) draws the same everywhere. And Windows refuses to delete a selected object while
// some players let the next object created in its slot take its place: select another
// object before deleting one.
//
// Arcs, pies and chords run counter-clockwise from where the line from the box's centre
// through `start` meets the ellipse to where the one through `end` does. A pen of width
// 0 is one device pixel wide on any device.
class MetafileWriter
{
public:
    MetafileWriter(QRect frame, int unitsPerInch);

    // Mapping
    void setMapMode(MapMode mode);
    void setWindowOrg(QPoint origin);
    void setWindowExt(QSize extent);
    void offsetWindowOrg(QPoint by);
    // Multiplies the window's extent by xNum / xDenom and yNum / yDenom.
    void scaleWindowExt(int xNum, int xDenom, int yNum, int yDenom);
    // The usual preamble: anisotropic mapping with the window equal to the frame.
    void mapFrameToWindow();

    // Objects
    ObjectHandle createPen(QColor color, int width = 0, PenStyle style = PenStyle::Solid);
    ObjectHandle createBrush(QColor color, BrushStyle style = BrushStyle::Solid, Hatch hatch = Hatch::Horizontal);
    ObjectHandle createFont(const Font &font);
    void selectObject(ObjectHandle handle);
    void deleteObject(ObjectHandle handle);
    // Creates and selects in one go.
    ObjectHandle selectNewPen(QColor color, int width = 0, PenStyle style = PenStyle::Solid);
    ObjectHandle selectNewBrush(QColor color, BrushStyle style = BrushStyle::Solid, Hatch hatch = Hatch::Horizontal);
    ObjectHandle selectNewFont(const Font &font);

    // State
    void setTextColor(QColor color);
    void setBackgroundColor(QColor color);
    void setBackgroundMode(BackgroundMode mode);
    void setTextAlign(quint16 align);
    // Extra space after every character, logical units.
    void setTextCharacterExtra(int extra);
    void setPolyFillMode(FillMode mode);
    void saveDC();
    void restoreDC();
    void intersectClipRect(QRect rect);
    void excludeClipRect(QRect rect);

    // Drawing. A QRect(x, y, w, h) is stored as left x, top y, right x + w, bottom y + h.
    void moveTo(QPoint point);
    void lineTo(QPoint point);
    void polyline(const QPolygon &points);
    void polygon(const QPolygon &points);
    void polyPolygon(const QList<QPolygon> &polygons);
    void rectangle(QRect rect);
    void roundRect(QRect rect, QSize corner);
    void ellipse(QRect rect);
    void arc(QRect box, QPoint start, QPoint end);
    void pie(QRect box, QPoint start, QPoint end);
    void chord(QRect box, QPoint start, QPoint end);
    void textOut(QPoint at, const QString &text);
    // `dx`, when given, holds one advance per character in logical units.
    void extTextOut(QPoint at, const QString &text, quint16 options = 0, QRect rect = {}, const QList<int> &dx = {});
    void stretchDib(QRect dest, const QImage &image, DibDepth depth = DibDepth::Rgb24);

    // The complete file: placeable header, metafile header and an end record. The
    // writer can go on recording afterwards; a later call returns the longer file.
    QByteArray finish() const;
    QStringList problems() const { return m_problems; }

    QRect frame() const { return m_frame; }
    int unitsPerInch() const { return m_unitsPerInch; }

private:
    void record(quint16 function, const QList<quint16> &params);
    void recordBytes(quint16 function, const QByteArray &params);
    quint16 coord(int value);
    quint16 count(qsizetype n);
    ObjectHandle allocate();
    void appendRect(QList<quint16> &params, QRect rect);
    void appendPoints(QList<quint16> &params, const QPolygon &points);
    QByteArray encodeText(const QString &text);

    QRect m_frame;
    int m_unitsPerInch;
    QByteArray m_records;
    quint32 m_maxRecordWords = 0;
    QList<bool> m_slots;
    int m_peakObjects = 0;
    QStringList m_problems;
};

} // namespace velmora::wmf
