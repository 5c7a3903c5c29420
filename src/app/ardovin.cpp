#include "ardovin.h"

#include "activities/ardovinord.h"
#include "activities/telescope.h"
#include "intro0.h"
#include "module1/entries.h"
#include "module1/module1.h"
#include "module1/pictures.h"
#include "module1/publisher.h"
#include "module1/worksheetfile.h"
#include "pages/teacher.h"
#include "platform/fileslot.h"
#include "platform/messageboxes.h"
#include "platform/platform.h"
#include "quiz/multiple.h"
#include "toolkit/formregistry.h"
#include "toolkit/hoverhighlight.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/screenfont.h"

namespace velmora {

ardovin::ardovin(Module1 &m)
    : Form(kFormName)
    , m_m(m)
{
    Label1 = add<Label>(QStringLiteral("Label1"));
    Label1->setGeometry(240, 0, 6120, 900);
    Label1->setCaption(QStringLiteral("Ardovin Sevrani"));
    Label1->setFont(screenFont(kTimes, 27.75));
    Label1->setForeColor(QColor(0, 0, 0));
    Label1->setBackStyle(BackStyle::Transparent);

    Image1 = add<Image>(QStringLiteral("Image1"));
    Image1->setTop(1560);

    const QFont font = screenFont(kTahoma, 15.75);
    const QString entry = QStringLiteral("Label3");
    addEntry(*this, Label3, entry, {4, QStringLiteral("Key Facts"), 6360, 120, 1995, 495}, font);
    addEntry(*this, Label3, entry, {5, QStringLiteral("Teacher's Notes"), 8640, 120, 3195, 495}, font);
    addEntry(*this, Label3, entry, {0, QStringLiteral("Multiple Choice"), 120, 7920, 3195, 495}, font);
    addEntry(*this, Label3, entry, {1, QStringLiteral("Ardovin's Telescope"), 3600, 7920, 3195, 495}, font);
    addEntry(*this, Label3, entry, {3, QStringLiteral("Ardovin Timeline"), 7080, 7920, 3195, 495}, font);
    addEntry(*this, Label3, entry, exitEntry(2), font);
    for (const auto &[index, label] : Label3)
        label->onClick = [this, index = index] { Label3_Click(index); };
    // Entries light up under the pointer and nothing turns them off again.
    m_hover = std::make_unique<HoverHighlight>(*this, Label3, HoverHighlight::Rule{{}, true});
}

ardovin::~ardovin() = default;

void ardovin::load()
{
    m_m.setupform(*this);
    setBackColor(QColor(0, 0, 0));
    loadpicture(m_m, *this, QStringLiteral("Images\\globe.jpg"));
    loadpicture(m_m, *Image1, QStringLiteral("Images\\ardovin1.jpg"));
    Image1->setLeft((12000 - Image1->width()) / 2);
}

void ardovin::Label3_Click(int index)
{
    switch (index) {
    case 0:
        startQuiz();
        break;
    case 1: {
        // The caption replaces the one the activity's own load handler gave it.
        telescope &activity = m_m.forms().ref<telescope>();
        activity.setCaption(Label3[1].caption());
        activity.showForm();
        break;
    }
    case 2:
        m_m.forms().ref<intro0>().showForm();
        unload();
        break;
    case 3: {
        ardovinord &timeline = m_m.forms().ref<ardovinord>();
        timeline.setCaption(Label3[3].caption());
        timeline.setHeading(Label1->caption());
        timeline.showForm();
        break;
    }
    case 4:
        openPages(QStringLiteral("key ardovin"));
        break;
    case 5:
        openPages(QStringLiteral("ardovin"));
        break;
    default:
        break;
    }
}

void ardovin::closeRequested()
{
    Label3_Click(2);
}

void ardovin::openPages(const QString &pagename)
{
    // The viewer reads the page count when it is created, so it is set first.
    m_m.pagecount = 2;
    m_m.pagename = pagename;
    m_m.forms().ref<teacher>().showFirstPage();
}

void ardovin::startQuiz()
{
    FileSlot &file = m_m.platform().file1();
    try {
        file.openForInput(kUnitQuizFile);
        m_m.loadquiz();
        file.close();
    } catch (const FileError &) {
        // The quiz needs its file; without it the page stays as it was.
        file.abandon();
        m_m.platform().messages().ok(
            QStringLiteral("The quiz on Ardovin Sevrani cannot start: its file \"multiple\\Ardovin Sevrani.txt\" is "
                           "missing or damaged. Please reinstall Velmora."),
            kProductTitle);
        return;
    }
    // Setting the picture builds the quiz form, whose load reads the quiz set just read.
    multiple &quiz = m_m.forms().ref<multiple>();
    quiz.setHeading(QStringLiteral("images\\ardovin1sm.jpg"), kProductTitle);
    quiz.showForm();
}

} // namespace velmora
