#pragma once

#include "toolkit/picture.h"

#include <QByteArray>
#include <QString>

namespace velmora {

struct MetafileResult {
    Picture picture;
    QString error; // empty on success
};

// Windows Metafile pages (placeholder until the metafile player lands).
MetafileResult loadMetafile(const QByteArray &bytes, const QString &source);

} // namespace velmora
