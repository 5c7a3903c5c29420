#include "teacher.h"

#include "module1/module1.h"
#include "module1/pictures.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/timer.h"

namespace velmora {

teacher::teacher(Module1 &m)
    : PageViewer(kFormName, m)
{
    Picture1 = add<PictureBox>(QStringLiteral("Picture1"));
    Picture1->setGeometry(8520, 4320, 1800, 1800);
    Picture1->setBorder(false);
    Picture1->setVisible(false);
    Picture2 = add<PictureBox>(QStringLiteral("Picture2"));
    Picture2->setGeometry(8550, 6240, 1800, 1335);
    Picture2->setBorder(false);
    Picture2->setVisible(false);
    Timer1 = addTimer(QStringLiteral("Timer1"), 25);
    Timer1->onTick = [this] { Timer1_Timer(); };
}

void teacher::load()
{
    m_m.setupform(*this);
    if (m_m.pagecount == 1) {
        Label1->setVisible(false);
        Label3[2].setVisible(false);
        Label3[3].setVisible(false);
    }
    m_m.pageno = 1;
    Label1->setCaption(pageText(m_m.pageno, m_m.pagecount));
}

void teacher::showFirstPage()
{
    loadPage(m_m.pagename + QStringLiteral("a.wmf"));
    showForm();
}

void teacher::showAcknowledgments()
{
    Label1->setVisible(false);
    Label3[2].setVisible(false);
    Label3[3].setVisible(false);
    loadpicture(m_m, *Image1, QStringLiteral("wmf\\acknowledgments.wmf"));
    loadpicture(m_m, *Picture2, QStringLiteral("logo\\halvorn2.bmp"));
    loadpicture(m_m, *Image2, QStringLiteral("wmf2\\acknowledgments.wmf"));
    setBackColor(QColor(49, 130, 212));
    Timer1->setEnabled(true);
    showForm();
}

void teacher::updatePage()
{
    // A set has one to three pages: "a", "b" and "c".
    const QChar letter(u'a' + qBound(0, m_m.pageno - 1, 2));
    loadPage(m_m.pagename + letter + QStringLiteral(".wmf"));
    showPageNumber(m_m.pageno, m_m.pagecount);
}

void teacher::Timer1_Timer()
{
    m_m.logoframe += 1;
    if (m_m.logoframe == 20)
        m_m.logoframe = 0;
    // Frames 0 to 19: logo\kest0000.gif to logo\kest0019.gif.
    const QString prefix = m_m.logoframe < 10 ? QStringLiteral("logo\\kest000") : QStringLiteral("logo\\kest00");
    loadpicture(m_m, *Picture1, prefix + QString::number(m_m.logoframe) + QStringLiteral(".gif"));
    Picture1->setVisible(true);
    Picture2->setVisible(true);
}

} // namespace velmora
