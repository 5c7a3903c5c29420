#include "titlefrm.h"

#include "grey.h"
#include "intro0.h"
#include "module1/entries.h"
#include "module1/module1.h"
#include "module1/publisher.h"
#include "platform/platform.h"
#include "platform/screen.h"
#include "toolkit/commandbutton.h"
#include "toolkit/formregistry.h"
#include "toolkit/frame.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/screenfont.h"

namespace velmora {

namespace {
const QColor kGrey(192, 192, 192);
const QColor kBlue(0, 0, 255);
} // namespace

Titlefrm::Titlefrm(Module1 &m)
    : Form(kFormName)
    , m_m(m)
{
    // Named like every other screen: a blank caption left the program's taskbar entry
    // blank while the title screen was up.
    setCaption(kProductTitle);
    setBackColor(kGrey);
    setFormSize(5460, 6570);

    Frame1 = add<Frame>(QStringLiteral("Frame1"));
    Frame1->setGeometry(0, -90, 5480, 6660);

    Label4 = add<Label>(QStringLiteral("Label4"), -1, Frame1);
    Label4->setGeometry(60, 300, 5355, 825);
    Label4->setCaption(kProductTitle);
    Label4->setFont(screenFont(kTimes, 27.75));
    Label4->setForeColor(kBlue);
    Label4->setAlignment(Alignment::Center);
    Label4->setBackStyle(BackStyle::Transparent);

    Picture1 = add<PictureBox>(QStringLiteral("Picture1"), -1, Frame1);
    Picture1->setGeometry(300, 1200, 4800, 3600);
    Picture1->setBorder(false);

    Label1 = add<Label>(QStringLiteral("Label1"), -1, Frame1);
    Label1->setGeometry(360, 5040, 4695, 615);
    Label1->setCaption(QStringLiteral("Ardovin Sevrani, astronomer"));
    Label1->setFont(screenFont(kTimes, 18, false));
    Label1->setForeColor(kBlue);
    Label1->setAlignment(Alignment::Center);
    Label1->setBackStyle(BackStyle::Transparent);

    Label2 = add<Label>(QStringLiteral("Label2"), -1, Frame1);
    Label2->setGeometry(0, 6420, 5415, 255);
    Label2->setCaption(QStringLiteral("Published by %1").arg(kPublisherName));
    Label2->setFont(screenFont(kArial, 8.25, false));
    Label2->setForeColor(QColor(0, 128, 0));
    Label2->setAlignment(Alignment::Center);
    Label2->setBackStyle(BackStyle::Transparent);

    Command1 = add<CommandButton>(QStringLiteral("Command1"), -1, Frame1);
    Command1->setGeometry(1320, 6000, 1335, 375);
    Command1->setCaption(QStringLiteral("OK"));
    Command1->setBackColor(kGrey);
    Command1->onClick = [this] { Command1_Click(); };

    Command2 = add<CommandButton>(QStringLiteral("Command2"), -1, Frame1);
    Command2->setGeometry(2760, 6000, 1335, 375);
    Command2->setCaption(QStringLiteral("Exit"));
    Command2->setBackColor(kGrey);
    Command2->onClick = [this] { Command2_Click(); };
}

void Titlefrm::load()
{
    // Centred by the title screen's own size, not by the frame of the other screens.
    const QSizeF screen = m_m.platform().screen().sizeTwips();
    setTop(screen.height() / 2 - formHeight() / 2);
    setLeft(screen.width() / 2 - formWidth() / 2);
    setCentred(true);
    // The backdrop comes up (or forward, covering the main menu) behind this screen.
    m_m.forms().ref<Grey>().showForm();
    const auto picture = m_m.platform().pictures().load(kPicture);
    if (picture.ok()) {
        Picture1->setPicture(picture.picture);
        return;
    }
    // Recovery: take the standard frame and try the picture once more; when it is
    // still missing, the box says which file is.
    m_m.setupform(*this);
    const auto again = m_m.platform().pictures().load(kPicture);
    if (again.ok())
        Picture1->setPicture(again.picture);
    else
        Picture1->setMissingPicture(kPicture, again.found);
}

void Titlefrm::showAsExitConfirmation()
{
    Command1->setCaption(QStringLiteral("Cancel"));
    showForm();
}

void Titlefrm::Command1_Click()
{
    m_m.forms().ref<intro0>().showForm();
    unload();
}

void Titlefrm::Command2_Click()
{
    m_m.forms().end();
}

void Titlefrm::escapePressed()
{
    if (Command1->caption() == QLatin1String("Cancel"))
        Command1_Click();
}

void Titlefrm::closeRequested()
{
    // Closing the exit confirmation answers nothing: it is "Cancel". Closing the first
    // title screen ends the program, as its "Exit" does.
    if (Command1->caption() == QLatin1String("Cancel"))
        Command1_Click();
    else
        Command2_Click();
}

} // namespace velmora
