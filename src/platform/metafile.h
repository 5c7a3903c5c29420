#pragma once

#include "toolkit/picture.h"

#include <QByteArray>
#include <QString>

namespace velmora {

struct MetafileResult {
    Picture picture;
    QString error; // empty on success
    // The memory the picture takes, estimated: its drawing operations and the screen
    // rendering it keeps once shown.
    qint64 bytes = 0;
};

// A Windows Metafile page, placeable or plain, played once by libwmf's lite player
// into a picture that draws real lines and real text at any scale (screen, printer,
// PDF). A placeable file's size is its header's frame at its units per inch; a plain
// one is framed by the window it sets before drawing (a twip a unit for large
// anisotropic windows, a point for small ones, the mode's own unit otherwise) or, when
// it sets none, by what it draws.
// Damaged or hostile bytes are refused before libwmf reads them: the picture is then
// null and `error` says why, naming `source`. Needs a QGuiApplication (for the fonts).
MetafileResult loadMetafile(const QByteArray &bytes, const QString &source);

} // namespace velmora
