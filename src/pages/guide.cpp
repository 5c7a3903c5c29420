#include "guide.h"

#include "module1/module1.h"
#include "toolkit/hoverhighlight.h"
#include "toolkit/label.h"

namespace velmora {

guide::guide(Module1 &m)
    : PageViewer(kFormName, m)
{
    Label1->setCaption(pageText(1, kPages));
    m_hover = std::make_unique<HoverHighlight>(*this, Label3, HoverHighlight::Rule{indexRange(0, 3), false});
}

guide::~guide() = default;

void guide::load()
{
    m_m.setupform(*this);
}

void guide::showFirstPage()
{
    loadPage(QStringLiteral("guide1.wmf"));
    m_m.pageno = 1;
    showForm();
}

void guide::updatePage()
{
    const int page = qBound(1, int(m_m.pageno), kPages);
    loadPage(QStringLiteral("guide%1.wmf").arg(page));
    showPageNumber(page, kPages);
}

} // namespace velmora
