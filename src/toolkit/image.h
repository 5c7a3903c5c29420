#pragma once

#include "control.h"
#include "picture.h"

class QPainter;
class QRect;

namespace velmora {

// A picture control: it takes the picture's own size when a picture is set, draws
// nothing of its own otherwise, and lies flat on its container (no border).
class Image : public Control
{
    Q_OBJECT

public:
    Image(QWidget *parent, QString name, int index = -1);

    const Picture &picture() const { return m_picture; }
    void setPicture(const Picture &picture);
    // Shows, in place of a picture that could not be loaded, which file is missing (or
    // there but unreadable).
    // The control keeps its size (or takes a small default one when it has none).
    void setMissingPicture(const QString &source, bool unreadable = false);
    QString missingSource() const { return m_missing; }
    // Whether the file shown as the stand-in is there but could not be read.
    bool missingIsUnreadable() const { return m_unreadable; }

private:
    void paint(QPainter &painter);

    Picture m_picture;
    QString m_missing;
    bool m_unreadable = false;
};

// A picture box: a filled box with an optional border that shows its picture from its
// top-left corner, clipped to the box, and can hold other controls.
class PictureBox : public Control
{
    Q_OBJECT

public:
    PictureBox(QWidget *parent, QString name, int index = -1);

    const Picture &picture() const { return m_picture; }
    void setPicture(const Picture &picture);
    void setMissingPicture(const QString &source, bool unreadable = false);
    QString missingSource() const { return m_missing; }
    // Whether the file shown as the stand-in is there but could not be read.
    bool missingIsUnreadable() const { return m_unreadable; }

    bool hasBorder() const { return m_border; }
    void setBorder(bool border);

private:
    void paint(QPainter &painter);

    Picture m_picture;
    QString m_missing;
    bool m_unreadable = false;
    bool m_border = true;
};

// Draws the stand-in for a picture that could not be loaded: a hatched box that names
// the file and says whether it is missing or there but unreadable, so a teacher can
// tell the school's technician what to restore.
void drawMissingPicture(QPainter &painter, const QRect &rect, const QString &source, bool unreadable = false);
} // namespace velmora
