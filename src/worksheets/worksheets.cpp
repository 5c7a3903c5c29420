#include "worksheets.h"

#include "module1/entries.h"
#include "module1/filefailure.h"
#include "module1/module1.h"
#include "module1/publisher.h"
#include "module1/worksheetfile.h"
#include "platform/fileslot.h"
#include "platform/messageboxes.h"
#include "platform/platform.h"
#include "quiz/multiple.h"
#include "toolkit/checkbox.h"
#include "toolkit/formregistry.h"
#include "toolkit/hoverhighlight.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/screenfont.h"
#include "toolkit/textbox.h"
#include "wizard.h"

namespace velmora {

namespace {
const QColor kFrameBlue(39, 63, 137);
// The main menu lies in a layer above this one; it is reached through its slot.
const QString kMenu = QStringLiteral("intro0");
} // namespace

worksheets::worksheets(Module1 &m)
    : Form(kFormName)
    , m_m(m)
{
    styleText(add<Label>(QStringLiteral("Label1")), {QStringLiteral("Worksheets Catalogue"), 0, 0, 12000, 780},
              screenFont(kTahoma, 24), kYellow, Alignment::Center);
    Check1 = add<CheckBox>(QStringLiteral("Check1"));
    Check1->setGeometry(120, 120, 2535, 375);
    Check1->setCaption(QStringLiteral("Edit Worksheet"));
    Check1->setFont(screenFont(kTahoma, 12));
    Check1->setForeColor(kYellow);
    Check2 = add<CheckBox>(QStringLiteral("Check2"));
    Check2->setGeometry(9240, 120, 2535, 375);
    Check2->setCaption(QStringLiteral("Delete Worksheet"));
    Check2->setFont(screenFont(kTahoma, 12));
    Check2->setForeColor(QColor(255, 0, 0));
    // The two boxes exclude each other; unticking one changes nothing else.
    Check1->onClick = [this] {
        if (Check1->value())
            Check2->setValue(false);
    };
    Check2->onClick = [this] {
        if (Check2->value())
            Check1->setValue(false);
    };

    addEntry(*this, Label2, QStringLiteral("Label2"), exitEntry(0), screenFont(kTahoma, 18))->onClick = [this] {
        exitToMenu();
    };
    for (int i = 1; i <= kSlots; ++i) {
        const double left = i <= 12 ? 120 : 6120;
        Label *slot = addEntry(*this, Label2, QStringLiteral("Label2"),
                               {i, QString(), left, 720 + 600.0 * ((i - 1) % 12), 5715, 375}, screenFont(kTahoma, 12));
        slot->setVisible(false);
        slot->onClick = [this, i] { titleClicked(i); };
    }
    m_hover = std::make_unique<HoverHighlight>(*this, Label2, HoverHighlight::Rule{indexRange(0, kSlots), true});

    const QFont paging = screenFont(kTahoma, 15.75);
    addEntry(*this, Label3, QStringLiteral("Label3"), {0, QStringLiteral("<< Previous Page"), 2640, 7920, 3195, 495},
             paging)
        ->setVisible(false);
    addEntry(*this, Label3, QStringLiteral("Label3"), {1, QStringLiteral("Next Page >>"), 6000, 7920, 3195, 495},
             paging)
        ->setVisible(false);
    Label3[0].onClick = [this] {
        m_m.workpageno -= 1;
        workpage();
    };
    Label3[1].onClick = [this] {
        m_m.workpageno += 1;
        workpage();
    };
    Label4 = add<Label>(QStringLiteral("Label4"));
    Label4->setGeometry(120, 7920, 1995, 495);
    Label4->setCaption(QStringLiteral("Page 1"));
    Label4->setFont(paging);
    Label4->setForeColor(QColor(0, 0, 255));
    Label4->setBackColor(QColor(255, 255, 255));
    Label4->setBorderStyle(BorderStyle::FixedSingle);
    Label4->setAlignment(Alignment::Center);
}

worksheets::~worksheets() = default;

void worksheets::load()
{
    m_m.setupform(*this);
    // A missing or short list is passed over: the titles last held in memory stay.
    try {
        m_m.readtracklist(QStringLiteral("multiple\\track.txt"));
    } catch (const FileError &) {
        m_m.platform().file1().abandon();
    }
    Check1->setBackColor(kFrameBlue);
    Check2->setBackColor(kFrameBlue);
    m_m.workpageno = 0;
    for (int i = 1; i <= kSlots; ++i) {
        Label2[i].setVisible(false);
        QFont font = Label2[i].font();
        font.setPointSizeF(12);
        Label2[i].setFont(font);
    }
    long long filled = m_m.trackcount;
    if (m_m.trackcount >= kSlots + 1) {
        Label3[1].setVisible(true);
        filled = kSlots;
    }
    for (long long i = 1; i <= filled; ++i) {
        showTitle(int(i), i);
        Label2[int(i)].setVisible(true);
    }
}

void worksheets::showTitle(int slot, long long entry)
{
    // The list holds titles as stored, each "," as "&"; only the slot shows them back.
    const bool listed = entry >= 1 && entry <= Module1::kListCapacity;
    Label2[slot].setCaption(listed ? ampersandsToCommas(m_m.tracklist[std::size_t(entry)]) : QString());
}

void worksheets::workpage()
{
    for (int i = 1; i <= kSlots; ++i) {
        Label2[i].setCaption(QString());
        Label2[i].setVisible(false);
    }
    Label3[0].setVisible(true);
    Label3[1].setVisible(true);
    if (m_m.workpageno == 0)
        Label3[0].setVisible(false);
    if (m_m.workpageno == kLastPage)
        Label3[1].setVisible(false);
    Label4->setCaption(QStringLiteral("Page") + number(m_m.workpageno + 1));
    const long long first = 24LL * m_m.workpageno + 1;
    long long last = 24LL * m_m.workpageno + 24;
    if (m_m.trackcount < 24LL * m_m.workpageno + 25) {
        last = m_m.trackcount;
        Label3[1].setVisible(false);
    }
    for (long long e = first; e <= last; ++e) {
        showTitle(int(e - 24LL * m_m.workpageno), e);
        Label2[int(e - 24LL * m_m.workpageno)].setVisible(true);
    }
}

void worksheets::titleClicked(int slot)
{
    const QString caption = Label2[slot].caption();
    FileSlot &file = m_m.platform().file1();
    MessageBoxes &messages = m_m.platform().messages();
    try {
        file.openForInput(worksheetFile(commasToAmpersands(caption)));
        m_m.loadquiz();
        file.close();
        if (Check1->value()) {
            // A correct answer that is not 1 to 4 would tick no box, or another
            // question's: such a worksheet still runs, but is damaged for editing.
            if (!correctAnswersEditable())
                throw FileError(FileError::Kind::BadNumber, QStringLiteral("a correct answer is not 1 to 4"));
            editworksheet();
        } else if (Check2->value()) {
            if (!messages.okCancel(QStringLiteral("Are you sure that you want to delete the worksheet ") + caption
                                       + QLatin1Char('?'),
                                   QString()))
                return;
            m_m.deltitle = caption;
            delworksheet();
        } else {
            // Run mode: the quiz takes the main menu's picture and heading.
            Form &menu = m_m.forms().ref(kMenu);
            multiple &quiz = m_m.forms().ref<multiple>();
            const auto *picture = menu.find<Image>(QStringLiteral("Image1"));
            const auto *heading = menu.find<Label>(QStringLiteral("Label1"));
            if (picture && heading)
                quiz.setHeading(picture->picture(), heading->caption());
            quiz.showForm();
        }
    } catch (const FileError &error) {
        messages.ok(fileFailureMessage(QStringLiteral("This worksheet seems to be corrupted."), error), kProductTitle);
    }
}

bool worksheets::correctAnswersEditable() const
{
    for (int q = 1; q <= Module1::kQuestions; ++q) {
        bool isNumber = false;
        const int r = m_m.rightans[std::size_t(q)].trimmed().toInt(&isNumber);
        if (!isNumber || r < 1 || r > 4)
            return false;
    }
    return true;
}

void worksheets::editworksheet()
{
    wizard &editor = m_m.forms().ref<wizard>();
    editor.fillFromQuizSet();
    editor.showForm();
}

void worksheets::delworksheet()
{
    // The list holds titles with "," written as "&" (the shown caption has them back).
    if (!m_m.removeFromWorksheetList(commasToAmpersands(m_m.deltitle))) {
        m_m.platform().messages().ok(QStringLiteral("The worksheet ") + m_m.deltitle
                                         + QStringLiteral(" is no longer in the list, so nothing was deleted."),
                                     kProductTitle);
        return;
    }
    redraw();
}

void worksheets::redraw()
{
    const long long base = 24LL * m_m.workpageno;
    for (int slot = 1; slot <= kSlots; ++slot) {
        Label2[slot].setVisible(false);
        showTitle(slot, base + slot);
    }
    const long long shown = qMin<long long>(kSlots, m_m.trackcount - base);
    for (long long slot = 1; slot <= shown; ++slot)
        Label2[int(slot)].setVisible(true);
}

void worksheets::exitToMenu()
{
    m_m.forms().ref(kMenu).showForm();
    unload();
}

void worksheets::closeRequested()
{
    exitToMenu();
}

} // namespace velmora
