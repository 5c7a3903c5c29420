#pragma once

#include "module1.h"
#include "platform/platform.h"

#include "toolkit/control.h"

#include <QWidget>

#include <QAccessible>
#include <QString>

#include <type_traits>

namespace velmora {

// What a screen reader says of a picture: a short name and a longer description. The
// supplied pictures are described by hand; a page of text is named by its first line
// and described by all of its words, in reading order.
struct PictureWords {
    QString name;
    QString description;
};
PictureWords pictureWords(const QString &file, const Picture &picture);

// Loads a picture file into a form, picture control or picture box. A file that is
// missing or unreadable never stops a screen: the target shows which file is missing.
// Returns whether the picture loaded.
template <class Target>
bool loadpicture(const Module1 &m, Target &target, const QString &file)
{
    const PictureLoader::Result loaded = m.platform().pictures().load(file);
    if (loaded.ok())
        target.setPicture(loaded.picture);
    else
        target.setMissingPicture(file, loaded.found);
    const PictureWords words = loaded.ok() ? pictureWords(file, loaded.picture) : PictureWords{};
    if constexpr (std::is_base_of_v<Control, Target>) {
        target.setAccessibleRole(QAccessible::Graphic);
        target.setAccessibleName(loaded.ok() ? words.name : QStringLiteral("Picture missing: ") + file);
        target.setAccessibleDescription(words.description);
    } else {
        // A screen's own background picture describes the screen.
        target.setAccessibleDescription(words.description);
    }
    return loaded.ok();
}

} // namespace velmora
