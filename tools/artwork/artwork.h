// Velmora artwork generator: shared declarations.
//
// Every picture is painted from scratch with QPainter so the images that ship
// with Velmora can be rebuilt at any time from this source.

#pragma once

#include <QImage>

namespace artwork {

// Title screen picture (320 x 240): a brass refracting telescope on a wooden
// tripod, aimed at a starry night sky with a crescent moon.
QImage paintTitlePicture();

// Publisher's logo (120 x 100): emblem and name of Halvorne Publishing Ltd on
// a light card, so it stands out on the dark title screen.
QImage paintPublisherLogo();

} // namespace artwork
