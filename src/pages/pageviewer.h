#pragma once

#include "toolkit/controlarray.h"
#include "toolkit/form.h"

namespace velmora {

class Image;
class Label;
class Module1;

// What the two page viewers share: the page on screen (Image1), its print version
// (Image2, hidden), the page label (Label1), the entries Print, Exit, Next Page and
// Previous Page (Label3 0 to 3), and printing the page.
class PageViewer : public Form
{
    Q_OBJECT

public:
    Image *Image1;
    Image *Image2;
    Label *Label1;
    ControlArray<Label> Label3;

protected:
    PageViewer(const QString &formName, Module1 &m);

    // Prints the print version at 1000 twips from the left and the top of the page.
    // No printer or a failed print is told to the user; the page on show stays.
    void printPage();
    // "Page 2 of 5".
    static QString pageText(int page, int count);
    // Loads the screen and print versions of a page ("wmf\" and "wmf2\" + name).
    void loadPage(const QString &fileName);
    // Loads page pageno and shows its number; called after every turn of the page.
    virtual void updatePage() = 0;
    // "Page 2 of 5" under the page, and the paging entries that lead somewhere.
    void showPageNumber(int page, int count);

    Module1 &m_m;

private:
    void Label3_Click(int index);
};

} // namespace velmora
