#include "guide.h"

#include "module1/module1.h"
#include "toolkit/hoverhighlight.h"
#include "toolkit/label.h"

namespace velmora {

guide::guide(Module1 &m)
    : PageViewer(kFormName, m)
{
    Label1->setCaption(pageText(1, kPages));
    for (const auto &[index, label] : Label3)
        label->onClick = [this, index = index] { Label3_Click(index); };
    m_hover = std::make_unique<HoverHighlight>(*this, Label3, HoverHighlight::Rule{indexRange(0, 3), false});
}

guide::~guide() = default;

void guide::load()
{
    m_m.setupform(*this);
}

void guide::Label3_Click(int index)
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
        updatePage();
        break;
    case 3:
        m_m.pageno -= 1;
        updatePage();
        break;
    default:
        break;
    }
}

void guide::updatePage()
{
    const int page = qBound(1, int(m_m.pageno), kPages);
    loadPage(QStringLiteral("guide%1.wmf").arg(page));
    Label3[3].setEnabled(page > 1);
    Label3[2].setEnabled(page < kPages);
    Label1->setCaption(QStringLiteral("Page %1 of 5").arg(page));
}

} // namespace velmora
