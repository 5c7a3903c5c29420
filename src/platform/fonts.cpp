#include "fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace velmora {

namespace {
bool resolves(const QString &family, const QStringList &twins)
{
    const QString real = QFontInfo(QFont(family)).family();
    return real.compare(family, Qt::CaseInsensitive) == 0 || twins.contains(real, Qt::CaseInsensitive);
}
} // namespace

QString registerScreenFonts()
{
    const QString tahoma = QStringLiteral("Tahoma");
    if (!resolves(tahoma, {})) {
        for (const char *file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
            const QString path = QString::fromLatin1(file);
            if (QFile::exists(path))
                QFontDatabase::addApplicationFont(path);
        }
    }
    QStringList missing;
    if (!resolves(tahoma, {}))
        missing << tahoma;
    if (!resolves(QStringLiteral("Times New Roman"), {QStringLiteral("Liberation Serif")}))
        missing << QStringLiteral("Times New Roman");
    if (!resolves(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")}))
        missing << QStringLiteral("Arial");
    return missing.join(QStringLiteral(", "));
}

} // namespace velmora
