#pragma once

#include "control.h"
#include "screenfont.h"

#include <QFont>

#include <optional>

class QPainter;

namespace velmora {

enum class Alignment { Left, Right, Center };
enum class BackStyle { Transparent, Opaque };
enum class BorderStyle { None, FixedSingle };

// A label that paints itself: caption, font, colours, opaque or transparent background,
// single-line border, alignment and word wrap. Text always wraps at word boundaries to
// the label's width; with auto-size on, the label grows to its text instead (wider when
// word wrap is off, taller when it is on). A caption too long for a fixed-size label is
// drawn smaller until all of it shows. A transparent label still takes the pointer.
class Label : public Control
{
    Q_OBJECT

public:
    Label(QWidget *parent, QString name, int index = -1);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

    QFont font() const { return m_font; }
    void setFont(const QFont &font);

    Alignment alignment() const { return m_alignment; }
    void setAlignment(Alignment alignment);
    BackStyle backStyle() const { return m_backStyle; }
    void setBackStyle(BackStyle style);
    bool isOpaque() const { return m_backStyle == BackStyle::Opaque; }
    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);
    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wrap);
    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);
    // A clickable label (an entry): reached with Tab, clicked with Enter or Space, and
    // framed while it has the keyboard focus. The mouse sees no difference.
    bool isClickable() const { return m_clickable; }
    void setClickable(bool clickable);
    // A text that screen readers announce when it appears or changes (a score, a
    // result): read as an alert rather than as plain text.
    void setAnnounced(bool announced);

    // A label picked up by the keyboard to be carried: drawn lifted, above the others.
    bool isLifted() const { return m_lifted; }
    void setLifted(bool lifted);

private:
    void paint(QPainter &painter);
    void fitToText();
    // The caption, its font or its box changed: fit it anew and repaint.
    void textChanged();
    const FittedText &fittedText(const QRect &textRect) const;
    void geometryChanged() override;
    int textFlags() const;
    bool clicksFromKeyboard() const override { return m_clickable; }

    QString m_caption;
    QFont m_font;
    Alignment m_alignment = Alignment::Left;
    BackStyle m_backStyle = BackStyle::Opaque;
    BorderStyle m_borderStyle = BorderStyle::None;
    bool m_wordWrap = false;
    bool m_autoSize = false;
    bool m_clickable = false;
    bool m_lifted = false;
    // How the caption is drawn, worked out once per caption, font and size.
    mutable std::optional<FittedText> m_fitted;
};

} // namespace velmora
