#include "ardovinord.h"

#include "dragboard.h"
#include "module1/entries.h"
#include "module1/module1.h"
#include "toolkit/label.h"
#include "toolkit/line.h"
#include "toolkit/screenfont.h"

#include <array>

namespace velmora {

namespace {

struct Event {
    const char16_t *text;
    double boxTop; // the box beside its year
    double labelTop; // where the event starts, in the column on the left
};
constexpr std::array<Event, 6> kEvents{{
    {u"Ardovin built his own telescope", 2880, 2040},
    {u"Ardovin was born in Pisa", 480, 2880},
    {u"Ardovin completed his last book", 5280, 5400},
    {u"Ardovin was appointed Professor", 1680, 6240},
    {u"Ardovin was questioned by the Inquisition", 4080, 4560},
    {u"Ardovin died in Florence", 6480, 3720},
}};
constexpr double kBoxLeft = 8400;
constexpr double kLabelLeft = 1200;
constexpr double kWidth = 3075;
constexpr double kHeight = 645;
} // namespace

ardovinord::ardovinord(Module1 &m)
    : Form(kFormName)
    , m_m(m)
{
    const QFont tahoma12 = screenFont(kTahoma, 12);
    Label6 = styleText(add<Label>(QStringLiteral("Label6")), {QStringLiteral("Worksheet 1"), 120, 120, 4425, 705},
                       screenFont(kTimes, 24, false), kYellow, Alignment::Center);
    Label8 =
        styleText(add<Label>(QStringLiteral("Label8")),
                  {QStringLiteral("Put these events in the correct order along the timeline."), 240, 840, 5040, 1065},
                  screenFont(kTimes, 20.25, false), QColor(0, 255, 0), Alignment::Center);
    Label8->setWordWrap(true);
    Label9 = styleText(add<Label>(QStringLiteral("Label9")),
                       {QStringLiteral("Drag the labels into the correct boxes."), 120, 7800, 3105, 705}, tahoma12,
                       QColor(128, 255, 255), Alignment::Center);
    Label9->setWordWrap(true);

    const std::array<std::pair<Label **, const char16_t *>, 6> years{{{&Label7, u"1564"},
                                                                      {&Label10, u"1589"},
                                                                      {&Label11, u"1609"},
                                                                      {&Label12, u"1616"},
                                                                      {&Label13, u"1639"},
                                                                      {&Label14, u"1642"}}};
    const std::array<const char *, 6> yearNames{"Label7", "Label10", "Label11", "Label12", "Label13", "Label14"};
    for (std::size_t k = 0; k < years.size(); ++k) {
        *years[k].first = styleText(add<Label>(QString::fromLatin1(yearNames[k])),
                                    {QString::fromUtf16(years[k].second), 6720, 600.0 + 1200 * k, 1065, 345}, tahoma12,
                                    kYellow, Alignment::Right);
    }
    Line1 = add<Line>(QStringLiteral("Line1"));
    Line1->setForeColor(kYellow);
    Line1->setLineWidth(3);
    Line1->setPoints({7920, 720}, {7920, 6720});
    const std::array<std::pair<int, double>, 6> ticks{
        {{0, 720}, {1, 1920}, {2, 3120}, {3, 4320}, {4, 5520}, {6, 6720}}};
    for (const auto &[index, y] : ticks) {
        Line *tick = add<Line>(Line2, QStringLiteral("Line2"), index);
        tick->setForeColor(kYellow);
        tick->setLineWidth(3);
        tick->setPoints({8160, y}, {7920, y});
    }

    for (int i = 0; i < int(kEvents.size()); ++i) {
        Label *home = add<Label>(Label4, QStringLiteral("Label4"), i);
        home->setBackStyle(BackStyle::Transparent);
        home->setBorderStyle(BorderStyle::FixedSingle);
    }
    for (int i = 0; i < int(kEvents.size()); ++i) {
        addEntry(*this, Label1, QStringLiteral("Label1"),
                 {i, QString::fromUtf16(kEvents[i].text), kBoxLeft, kEvents[i].boxTop, kWidth, kHeight}, tahoma12);
    }
    DragBoard::addButtons(*this, Label3);
    Label5 =
        styleText(add<Label>(QStringLiteral("Label5")), {QStringLiteral("0 out of 6 correct"), 3360, 7200, 5280, 705},
                  screenFont(kTimes, 24, false), kYellow, Alignment::Center);
    Label5->setVisible(false);
    Label5->setAnnounced(true);
    for (int i = 0; i < int(kEvents.size()); ++i) {
        addEntry(*this, Label2, QStringLiteral("Label2"),
                 {i, QString(), kLabelLeft, kEvents[i].labelTop, kWidth, kHeight}, tahoma12)
            ->setWordWrap(true);
    }
    // A screen reader names each box by the year beside it.
    m_board = std::make_unique<DragBoard>(*this, m, DragBoard::Controls{Label2, Label1, Label4, Label3, Label5},
                                          DragBoard::Hooks{{}, {}, [years](int i) {
                                                               const auto row = int((kEvents[i].boxTop - 480) / 1200);
                                                               return (*years[row].first)->caption();
                                                           }});
}

ardovinord::~ardovinord() = default;

void ardovinord::setHeading(const QString &heading)
{
    Label6->setCaption(heading);
}

void ardovinord::load()
{
    m_m.setupform(*this);
    m_m.total = 6;
    m_board->arrange([](int) { return QString(); });
}

} // namespace velmora
