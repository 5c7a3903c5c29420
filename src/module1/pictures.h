#pragma once

#include "module1.h"
#include "platform/platform.h"

#include <QString>

namespace velmora {

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
        target.setMissingPicture(file);
    return loaded.ok();
}

} // namespace velmora
