#include "pictures.h"

#include <QFileInfo>
#include <QWidget>

#include <array>

namespace velmora {

namespace {

struct Description {
    const char16_t *file; // the name alone, in lower case
    const char16_t *name;
    const char16_t *description;
};

constexpr std::array<Description, 7> kDescriptions{{
    {u"quintaransm.jpg", u"A brass telescope under the night sky",
     u"A brass telescope on a tripod points at a starry sky with a crescent moon."},
    {u"logo2.jpg", u"Halvorne Publishing", u"The publisher's logo: an open book beneath a star."},
    {u"halvorn2.bmp", u"Halvorne Publishing", u"The publisher's logo: an open book beneath a star."},
    {u"globe.jpg", u"A celestial globe among the stars",
     u"A celestial globe on a wooden stand, with the moon, a planet, a compass rose and constellations."},
    {u"ardovin1.jpg", u"Portrait of Ardovin Sevrani",
     u"A painted portrait of Ardovin Sevrani, red-haired and bearded, in a black doublet with a white ruff, "
     u"in a gold frame."},
    {u"ardovin1sm.jpg", u"Portrait of Ardovin Sevrani",
     u"A small painted portrait of Ardovin Sevrani, red-haired and bearded, in a gold frame."},
    {u"telescope.jpg", u"Cross section of Ardovin's telescope",
     u"A drawing of a spyglass on a tripod, cut open along its length to show the lenses, the tubes and the "
     u"eye hole, with six numbered boxes pointing at its parts."},
}};

} // namespace

PictureWords pictureWords(const QString &file, const Picture &picture)
{
    QString base = file;
    base.replace(QLatin1Char('\\'), QLatin1Char('/'));
    base = QFileInfo(base).fileName().toLower();
    for (const Description &d : kDescriptions) {
        if (base == QStringView(d.file))
            return {QString::fromUtf16(d.name), QString::fromUtf16(d.description)};
    }
    if (base.startsWith(QLatin1String("kest")))
        return {QStringLiteral("Halvorne Publishing"), QStringLiteral("The publisher's turning compass logo.")};
    // A page of text: its first line names it, and all of its words are read.
    const QString words = picture.text();
    if (!words.isEmpty())
        return {words.section(QLatin1Char('\n'), 0, 0), words};
    return {};
}

} // namespace velmora
