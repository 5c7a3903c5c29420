#pragma once

#include <QString>

namespace velmora {

// The product and its publisher, as the screens and printouts name them.
inline const QString kProductTitle = QStringLiteral("Velmora");
inline const QString kPublisherName = QStringLiteral("Halvorne Publishing Ltd");
// The publisher's web site: shown on the main menu and opened in the browser.
inline const QString kPublisherAddress = QStringLiteral("www.halvorne.example");
inline const QString kPublisherUrl = QStringLiteral("https://www.halvorne.example/");

} // namespace velmora
