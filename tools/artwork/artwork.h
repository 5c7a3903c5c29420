// Velmora artwork generator: shared declarations.
//
// Every picture is painted from scratch with QPainter so the images that ship
// with Velmora can be rebuilt at any time from this source.

#pragma once

#include <QImage>
#include <QStringList>

namespace artwork {

// Title screen picture (320 x 240): a brass refracting telescope on a wooden
// tripod, aimed at a starry night sky with a crescent moon.
QImage paintTitlePicture();

// Publisher's logo (120 x 100): emblem and name of Halvorne Publishing Ltd on
// a light card, so it stands out on the dark title screen.
QImage paintPublisherLogo();

// Background of the unit page (800 x 600): an antique celestial globe on its
// stand, glowing behind the portrait, on a star chart, with a parchment
// banner at the top left for the scientist's name.
QImage paintGlobeBackground();

// Portrait of Ardovin Sevrani (240 x 330) in a gilt frame.
QImage paintPortrait();

// The same portrait cropped to head and shoulders for the quiz's small
// picture box (57 x 41).
QImage paintSmallPortrait();

// Cut-away drawing of Sevrani's telescope (800 x 520) for the "label the
// diagram" activity; light drawing on deep blue.
QImage paintTelescopeDiagram();

// Checks a painted (or re-read) telescope diagram against the activity's
// layout: each labelled point must sit on its part and the text areas must be
// plain background. Appends one line per check to `report`.
bool checkTelescopeDiagram(const QImage &image, QStringList &report);

// Publisher's bitmap for the acknowledgments page (120 x 89): the Halvorne
// emblem with "Halvorne" and "Publishing" on white.
QImage paintPublisherBitmap();

// The spinning logo on the teacher's page: frame `frame` (0 ..
// kLogoFrameCount - 1) of a 120 x 120 loop on the page's blue.
constexpr int kLogoFrameCount = 20;
QImage paintLogoFrame(int frame);

} // namespace artwork
