#pragma once

#include "pageviewer.h"

namespace velmora {

class PictureBox;
class Timer;

// The page viewer of the key facts, the teacher's notes and the acknowledgments. The
// opener decides the page set (pagecount and pagename, set before the viewer is
// created) and loads page 1; in acknowledgments mode the main menu also hides the
// paging, shows the publisher's bitmap and starts the logo animation.
class teacher : public PageViewer
{
    Q_OBJECT

public:
    static inline const QString kFormName = QStringLiteral("teacher");

    explicit teacher(Module1 &m);

    void load() override;

    // Loads page 1 of the page set and shows the viewer.
    void showFirstPage();
    // The publisher's acknowledgments: one page without paging, on blue, with the
    // publisher's bitmap and its logo animation.
    void showAcknowledgments();

    PictureBox *Picture1;
    PictureBox *Picture2;
    Timer *Timer1;

private:
    void updatePage() override;
    void Timer1_Timer();
};

} // namespace velmora
