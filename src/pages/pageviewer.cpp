#include "pageviewer.h"

#include "module1/entries.h"
#include "module1/messages.h"
#include "module1/module1.h"
#include "module1/pictures.h"
#include "module1/publisher.h"
#include "platform/messageboxes.h"
#include "platform/platform.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/screenfont.h"

namespace velmora {

PageViewer::PageViewer(const QString &formName, Module1 &m)
    : Form(formName)
    , m_m(m)
{
    Image1 = add<Image>(QStringLiteral("Image1"));
    Image1->move(120, 0);
    Image2 = add<Image>(QStringLiteral("Image2"));
    Image2->setVisible(false);

    const QFont font = screenFont(kTahoma, 15.75);
    Label1 = add<Label>(QStringLiteral("Label1"));
    Label1->setGeometry(4200, 7920, 2295, 495);
    Label1->setFont(font);
    Label1->setForeColor(QColor(0, 0, 0));
    Label1->setBackColor(QColor(255, 255, 255));
    Label1->setBorderStyle(BorderStyle::FixedSingle);
    Label1->setAlignment(Alignment::Center);

    const QString entry = QStringLiteral("Label3");
    addEntry(*this, Label3, entry, {0, QStringLiteral("Print"), 10680, 120, 1125, 495}, font);
    addEntry(*this, Label3, entry, {1, QStringLiteral("Exit"), 10680, 7920, 1125, 495}, font);
    addEntry(*this, Label3, entry, {2, QStringLiteral("Next Page"), 6720, 7920, 2685, 495}, font);
    addEntry(*this, Label3, entry, {3, QStringLiteral("Previous Page"), 1320, 7920, 2685, 495}, font)
        ->setEnabled(false);
    for (const auto &[index, label] : Label3)
        label->onClick = [this, index = index] { Label3_Click(index); };

    // Pages are large: when the viewer goes, so do its pictures and the loader's copies.
    connect(this, &QObject::destroyed, [image1 = Image1, image2 = Image2, &pictures = m.platform().pictures()] {
        image1->setPicture(Picture());
        image2->setPicture(Picture());
        pictures.release();
    });
}

QString PageViewer::pageText(int page, int count)
{
    return QStringLiteral("Page %1 of %2").arg(page).arg(count);
}

void PageViewer::Label3_Click(int index)
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

void PageViewer::showPageNumber(int page, int count)
{
    Label3[3].setEnabled(page > 1);
    Label3[2].setEnabled(page < count);
    Label1->setCaption(pageText(page, count));
}

void PageViewer::loadPage(const QString &fileName)
{
    loadpicture(m_m, *Image1, QStringLiteral("wmf\\") + fileName);
    loadpicture(m_m, *Image2, QStringLiteral("wmf2\\") + fileName);
}

void PageViewer::printPage()
{
    MessageBoxes &messages = m_m.platform().messages();
    if (Image2->picture().isNull()) {
        messages.ok(Image2->missingIsUnreadable()
                        ? QStringLiteral("The printed version of this page cannot be read, so it cannot be printed.")
                        : QStringLiteral("The printed version of this page is missing, so it cannot be printed."),
                    kProductTitle);
        return;
    }
    LinePrinter &printer = m_m.platform().printer();
    try {
        printer.print(QString()); // starts the job
        printer.paintPicture(Image2->picture(), 1000, 1000);
        printer.endDoc();
    } catch (const PrintError &) {
        printer.abort();
        messages.ok(kPrintProblem, kProductTitle);
    }
}

} // namespace velmora
