#include "intro0.h"

#include "ardovin.h"
#include "module1/entries.h"
#include "module1/module1.h"
#include "module1/pictures.h"
#include "module1/publisher.h"
#include "pages/guide.h"
#include "pages/teacher.h"
#include "platform/desktopshell.h"
#include "platform/fileslot.h"
#include "platform/platform.h"
#include "titlefrm.h"
#include "toolkit/commandbutton.h"
#include "toolkit/formregistry.h"
#include "toolkit/frame.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "toolkit/screenfont.h"
#include "toolkit/timer.h"
#include "worksheets/wizard.h"
#include "worksheets/worksheets.h"

namespace velmora {

namespace {
const QColor kNavy(0, 0, 128);
const QColor kMenuBlue(39, 63, 137);

// The other scientists of the series; their units are sold separately, so their
// entries are shown disabled.
const EntryDesign kScientists[] = {
    {0, QStringLiteral("Isolde Marrick"), 120, 2040, 3195, 375},
    {2, QStringLiteral("Tobiah Fenwright"), 120, 3480, 3195, 375},
    {3, QStringLiteral("Maren Ostreva"), 120, 4200, 3195, 375},
    {4, QStringLiteral("Corvin Ashdale"), 120, 4920, 3195, 375},
    {5, QStringLiteral("Leopold Quayne"), 120, 5640, 3195, 375},
    {6, QStringLiteral("Sabine Torvell"), 3420, 2040, 3195, 375},
    {7, QStringLiteral("Edric Halloway"), 3420, 2760, 3195, 375},
    {8, QStringLiteral("Petra Vanholt"), 3420, 3480, 3195, 375},
    {9, QStringLiteral("Caspian Dree"), 3420, 4200, 3195, 375},
    {10, QStringLiteral("Helena Morcott"), 3420, 4920, 3195, 375},
    {11, QStringLiteral("Anselm Grieve"), 3420, 5640, 3195, 375},
};
} // namespace

intro0::intro0(Module1 &m)
    : Form(kFormName)
    , m_m(m)
{
    Label1 = add<Label>(QStringLiteral("Label1"));
    Label1->setGeometry(0, 120, 12000, 900);
    Label1->setCaption(kProductTitle);
    Label1->setFont(screenFont(kTahoma, 32.25));
    Label1->setForeColor(kYellow);
    Label1->setAlignment(Alignment::Center);
    Label1->setBackStyle(BackStyle::Transparent);

    Option1 = add<OptionButton>(QStringLiteral("Option1"));
    Option1->setGeometry(10440, 120, 1455, 255);
    Option1->setCaption(QStringLiteral("Sound On"));
    Option1->setValue(true);
    Option2 = add<OptionButton>(QStringLiteral("Option2"));
    Option2->setGeometry(10440, 480, 1455, 255);
    Option2->setCaption(QStringLiteral("Sound Off"));
    for (OptionButton *option : {Option1, Option2}) {
        option->setFont(screenFont(kTahoma, 9.75));
        option->setForeColor(kYellow);
    }

    Frame1 = add<Frame>(QStringLiteral("Frame1"));
    Frame1->setGeometry(6780, 1080, 5055, 3975);
    Image1 = add<Image>(QStringLiteral("Image1"), -1, Frame1);
    Image1->move(120, 240);

    Image2 = add<Image>(QStringLiteral("Image2"));
    Image2->move(4920, 6240);
    Image2->onClick = [this] { openPublisherSite(); };
    Image2->widget()->setCursor(Qt::PointingHandCursor);

    Label3 = add<Label>(QStringLiteral("Label3"));
    Label3->setGeometry(120, 8220, 4320, 315);
    Label3->setCaption(QStringLiteral("Published by %1").arg(kPublisherName));
    Label3->setFont(screenFont(kTahoma, 9.75, false));
    Label3->setForeColor(kYellow);
    Label3->setAlignment(Alignment::Center);
    Label3->setBackStyle(BackStyle::Transparent);

    const QString entry = QStringLiteral("Label2");
    addEntry(*this, Label2, entry, {20, QStringLiteral("Teachers' Guide"), 120, 1080, 3075, 495},
             screenFont(kTahoma, 14.25), kNavy);
    addEntry(*this, Label2, entry, {1, QStringLiteral("Ardovin Sevrani"), 120, 2760, 3195, 375},
             screenFont(kTahoma, 12));
    for (const EntryDesign &scientist : kScientists)
        addEntry(*this, Label2, entry, scientist, screenFont(kTahoma, 12))->setEnabled(false);
    addEntry(*this, Label2, entry, {19, QStringLiteral("Acknowledgments"), 120, 7440, 3075, 495},
             screenFont(kTahoma, 14.25), kNavy);
    addEntry(*this, Label2, entry, {17, QStringLiteral("Multiple Choice Wizard"), 7005, 5760, 4635, 495},
             screenFont(kTahoma, 18), kNavy);
    addEntry(*this, Label2, entry, {18, QStringLiteral("Worksheet Catalogue"), 7005, 6600, 4635, 495},
             screenFont(kTahoma, 18), kNavy);
    addEntry(*this, Label2, entry, {12, kPublisherAddress, 7005, 8040, 3315, 375}, screenFont(kArial, 12));
    addEntry(*this, Label2, entry, exitEntry(16), screenFont(kTahoma, 18));
    for (const auto &[index, label] : Label2)
        label->onClick = [this, index = index] { Label2_Click(index); };

    QList<int> resetRange = indexRange(0, 12);
    resetRange.append(indexRange(16, 20));
    m_hover = std::make_unique<HoverHighlight>(*this, Label2, HoverHighlight::Rule{resetRange, true});

    Timer1 = addTimer(QStringLiteral("Timer1"), 1);
    Timer1->onTick = [this] { Timer1_Timer(); };
}

intro0::~intro0() = default;

void intro0::load()
{
    m_m.setupform(*this);
    loadpicture(m_m, *Image1, QStringLiteral("Images\\quintaransm.jpg"));
    loadpicture(m_m, *Image2, QStringLiteral("Images\\logo2.jpg"));
    Option1->setBackColor(kMenuBlue);
    Option2->setBackColor(kMenuBlue);
    Frame1->setBackColor(kMenuBlue);
    Timer1->setEnabled(true);
}

void intro0::Label2_Click(int index)
{
    switch (index) {
    case 1:
        m_m.forms().ref<ardovin>().showForm();
        break;
    case 12:
        openPublisherSite();
        break;
    case 16: {
        // Building the title screen anew brings the backdrop over this menu, which
        // stays loaded behind it with everything as it was.
        m_m.forms().ref<Titlefrm>().showAsExitConfirmation();
        break;
    }
    case 17:
        m_m.forms().ref<wizard>().showForm();
        break;
    case 18:
        m_m.forms().ref<worksheets>().showForm();
        unload();
        break;
    case 19:
        openAcknowledgments();
        break;
    case 20:
        openGuide();
        break;
    default:
        break;
    }
}

void intro0::openAcknowledgments()
{
    // The first reference builds the viewer, whose load handler runs before any of this.
    m_m.forms().ref<teacher>().showAcknowledgments();
}

void intro0::openGuide()
{
    m_m.forms().ref<guide>().showFirstPage();
}

void intro0::closeRequested()
{
    Label2_Click(16);
}

void intro0::openPublisherSite()
{
    m_m.platform().shell().open(kPublisherUrl, this);
}

void intro0::Timer1_Timer()
{
    // The list is read once, right after the menu is on the screen: a list on a slow
    // network folder must not keep the title screen standing. A tick that comes before
    // the first drawing waits for the next one; a menu that is never drawn (minimised
    // at once, say) waits a moment at most.
    constexpr int kTicksToWaitForPaint = 500;
    if (isVisible() && !hasPainted() && m_ticksWaited < kTicksToWaitForPaint) {
        ++m_ticksWaited;
        return;
    }
    // Any failure is silent: the count and the titles read so far stay, and the
    // catalogue reads the list again itself.
    try {
        m_m.readtracklist(QStringLiteral("multiple\\track.txt"));
    } catch (const FileError &) {
        m_m.platform().file1().abandon();
    }
    Timer1->setEnabled(false);
}

} // namespace velmora
