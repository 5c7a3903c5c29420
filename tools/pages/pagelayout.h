#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

class QByteArray;

namespace velmora::pages {

// One page of text as written in tools/pages/text/*.txt:
//   # Title          the page's title
//   ## Heading       a heading
//   - text           a point (bulleted paragraph)
//   text             a plain paragraph
struct Block {
    enum Kind { Heading, Point, Paragraph } kind;
    QString text;
};
struct PageText {
    QString title;
    std::vector<Block> blocks;
};

PageText parsePage(const QString &source);

// How a page is drawn: its size in twips and whether it is the screen version (a
// paper-coloured page with a coloured title band, sized to the viewer) or the print
// version (black on white, sized for A4 or Letter paper).
struct PageStyle {
    QSize size;
    bool screen;
    double titlePoints;
    double headingPoints;
    double bodyPoints;
};

// Lays the page out and writes it as a placeable metafile (one logical unit = one
// twip). The body shrinks, down to a limit, until everything fits; `problems` lists
// what could not be helped (text that still runs off the page).
QByteArray renderPage(const PageText &page, PageStyle style, QStringList &problems);

} // namespace velmora::pages
