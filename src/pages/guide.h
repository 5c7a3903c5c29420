#pragma once

#include "pageviewer.h"

#include <memory>

namespace velmora {

class HoverHighlight;

// The five-page teachers' guide. The main menu loads page 1 and sets pageno to 1
// before showing it. Its entries start as black boxes and turn into plain bordered
// text for good once the pointer first crosses the bare form.
class guide : public PageViewer
{
    Q_OBJECT

public:
    static inline const QString kFormName = QStringLiteral("guide");
    static constexpr int kPages = 5;

    explicit guide(Module1 &m);
    ~guide() override;

    void load() override;

    // Opens the guide at its first page.
    void showFirstPage();

private:
    void updatePage() override;

    std::unique_ptr<HoverHighlight> m_hover;
};

} // namespace velmora
