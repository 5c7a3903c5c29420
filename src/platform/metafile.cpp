#include "metafile.h"

namespace velmora {

MetafileResult loadMetafile(const QByteArray &, const QString &source)
{
    return {Picture(), QStringLiteral("Metafiles are not read yet: %1").arg(source)};
}

} // namespace velmora
