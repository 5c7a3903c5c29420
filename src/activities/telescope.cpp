#include "telescope.h"

#include "dragboard.h"
#include "module1/entries.h"
#include "module1/module1.h"
#include "module1/pictures.h"
#include "toolkit/label.h"
#include "toolkit/line.h"
#include "toolkit/screenfont.h"

#include <array>

namespace velmora {

namespace {
const QString kHeading = QStringLiteral("Ardovin's Telescope");
const QString kDescription = QStringLiteral("Ardovin used a simple kind of telescope often called a spyglass.");

struct Part {
    const char16_t *word;
    const char16_t *explanation;
    double labelLeft, labelTop, boxLeft, boxTop;
};
constexpr std::array<Part, 6> kParts{{
    {u"convex lens", u"the objective lens of the telescope", 240, 6720, 1545, 120},
    {u"outer tube", u"the barrel of the telescope", 240, 7200, 3465, 120},
    {u"concave lens", u"the eyepiece of the telescope", 240, 6240, 9345, 2280},
    {u"mount", u"that supports the telescope", 2040, 6240, 3420, 4140},
    {u"inner sleeve", u"that can be slid within the outer tube to focus the image", 2040, 6720, 6705, 5400},
    {u"eye hole", u"that we look into when viewing an object through the telescope", 2040, 7200, 9465, 6000},
}};
// Leader lines from the boxes to the parts of the drawing.
constexpr std::array<std::array<double, 4>, 6> kLeaders{{
    {2400, 1440, 2400, 480},
    {4320, 1560, 4320, 480},
    {10200, 2640, 10200, 4200},
    {10320, 6000, 10320, 4680},
    {7560, 5400, 7560, 4200},
    {5160, 4320, 5880, 4320},
}};
constexpr double kWordWidth = 1725;
constexpr double kWordHeight = 375;
} // namespace

telescope::telescope(Module1 &m)
    : Form(kFormName)
    , m_m(m)
{
    Shape1 = add<RectangleOutline>(QStringLiteral("Shape1"));
    Shape1->setGeometry(7080, 120, 3615, 1605);
    Shape1->setForeColor(QColor(192, 192, 192));
    Shape1->setLineWidth(2);
    for (int i = 0; i < int(kLeaders.size()); ++i) {
        Line *line = add<Line>(Line1, QStringLiteral("Line1"), i);
        line->setForeColor(kYellow);
        line->setLineWidth(3);
        line->setPoints({kLeaders[i][0], kLeaders[i][1]}, {kLeaders[i][2], kLeaders[i][3]});
    }
    Label5 = styleText(add<Label>(QStringLiteral("Label5")), {kHeading, 7140, 120, 3495, 495}, screenFont(kArial, 18),
                       kYellow, Alignment::Center);
    Label8 = styleText(add<Label>(QStringLiteral("Label8")), {kDescription, 7140, 600, 3495, 1095},
                       screenFont(kArial, 14.25), kYellow, Alignment::Center);
    Label8->setWordWrap(true);
    Label7 = styleText(add<Label>(QStringLiteral("Label7")),
                       {QStringLiteral("Label the cross section of Ardovin's telescope using the key words below."),
                        240, 4920, 3555, 1185},
                       screenFont(kTimes, 15.75), kYellow, Alignment::Center);
    Label7->setWordWrap(true);

    const QFont wordFont = screenFont(kTahoma, 11.25);
    for (int i = 0; i < int(kParts.size()); ++i) {
        Label *home = add<Label>(Label4, QStringLiteral("Label4"), i);
        home->setBackStyle(BackStyle::Transparent);
        home->setBorderStyle(BorderStyle::FixedSingle);
    }
    for (int i = 0; i < int(kParts.size()); ++i) {
        addEntry(*this, Label1, QStringLiteral("Label1"),
                 {i, QString::fromUtf16(kParts[i].word), kParts[i].boxLeft, kParts[i].boxTop, kWordWidth, kWordHeight},
                 wordFont);
    }
    DragBoard::addButtons(*this, Label3);
    Label6 =
        styleText(add<Label>(QStringLiteral("Label6")), {QStringLiteral("0 out of 6 correct"), 6960, 6720, 2700, 600},
                  screenFont(kTimes, 26.25, false), kYellow, Alignment::Center);
    Label6->setAutoSize(true);
    Label6->setVisible(false);
    Label6->setAnnounced(true);
    // The key words lie above everything else, the last one uppermost.
    for (int i = 0; i < int(kParts.size()); ++i) {
        addEntry(*this, Label2, QStringLiteral("Label2"),
                 {i, QString(), kParts[i].labelLeft, kParts[i].labelTop, kWordWidth, kWordHeight}, wordFont);
    }

    m_board =
        std::make_unique<DragBoard>(*this, m, DragBoard::Controls{Label2, Label1, Label4, Label3, Label6},
                                    DragBoard::Hooks{[this](int i) {
                                                         Label5->setCaption(Label2[i].caption());
                                                         Label8->setCaption(QString::fromUtf16(kParts[i].explanation));
                                                     },
                                                     [this] {
                                                         Label5->setCaption(kHeading);
                                                         Label8->setCaption(kDescription);
                                                     },
                                                     [](int i) { return QString::number(i + 1); }});
}

telescope::~telescope() = default;

void telescope::load()
{
    m_m.setupform(*this);
    setBackColor(QColor(9, 63, 137));
    m_m.total = 6;
    loadpicture(m_m, *this, QStringLiteral("Images\\telescope.jpg"));
    m_board->arrange([](int i) { return QLatin1Char(' ') + QString::number(i + 1) + QLatin1Char('.'); });
}

} // namespace velmora
