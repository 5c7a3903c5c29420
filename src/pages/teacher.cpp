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
    for (const auto &[index, label] : Label3)
        label->onClick = [this, index = index] { Label3_Click(index); };
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

void teacher::Label3_Click(int index)
{
    switch (index) {
    case 0:
        printPage();
        break;
    case 1:
        unload();
        break;
    case 2:
        m_m.pageno += 1;
        Label3[3].setEnabled(true);
        updatePage();
        break;
    case 3:
        m_m.pageno -= 1;
        Label3[2].setEnabled(true);
        updatePage();
        break;
    default:
        break;
    }
}

void teacher::updatePage()
{
    if (m_m.pageno == m_m.pagecount)
        Label3[2].setEnabled(false);
    if (m_m.pageno == 1)
        Label3[3].setEnabled(false);
    // A set has one to three pages: "a", "b" and "c".
    const QChar letter(u'a' + qBound(0, m_m.pageno - 1, 2));
    loadPage(m_m.pagename + letter + QStringLiteral(".wmf"));
    Label1->setCaption(pageText(m_m.pageno, m_m.pagecount));
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
