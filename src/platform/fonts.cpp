#include "fonts.h"

#include <QFile>
#include <QFontDatabase>

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace velmora {

QString registerScreenFonts()
{
    // Registered without asking fontconfig first: a match query costs more at start-up
    // than reading the two files, and a system Tahoma, if any, has the same metrics.
    // Times New Roman and Arial come from fontconfig's metric aliases for Liberation.
    bool tahoma = false;
    for (const char *file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
        const QString path = QString::fromLatin1(file);
        if (QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0)
            tahoma = true;
    }
    return tahoma ? QString() : QStringLiteral("Tahoma");
}

FontConfigurationReadAhead::FontConfigurationReadAhead()
{
    // fontconfig builds its configuration once per process, safely from any thread: Qt's
    // font database takes this one when it first asks.
    try {
        m_read = std::async(std::launch::async, [] { FcInit(); });
    } catch (const std::system_error &) {
        // No thread to be had: Qt reads the configuration itself when it first needs it.
    }
}

void FontConfigurationReadAhead::wait()
{
    if (m_read.valid())
        m_read.get();
}

} // namespace velmora
