#include "wrong.h"

#include "module1/entries.h"
#include "module1/module1.h"
#include "toolkit/formregistry.h"
#include "toolkit/label.h"
#include "toolkit/screenfont.h"

namespace velmora {

namespace {
QFont tahoma(double points)
{
    return screenFont(kTahoma, points);
}
} // namespace

Wrong::Wrong(Module1 &m)
    : Form(kFormName)
    , m_m(m)
{
    Label6 = styleText(add<Label>(QStringLiteral("Label6")), {QString(), 0, 120, 12000, 540}, tahoma(20.25), kYellow,
                       Alignment::Center);
    Label4 = styleText(add<Label>(QStringLiteral("Label4")),
                       {QStringLiteral("You answered the following questions incorrectly."), 240, 960, 12000, 540},
                       tahoma(15.75), kYellow, Alignment::Left);
    for (int k = 0; k < kLines; ++k) {
        styleText(add<Label>(Label2, QStringLiteral("Label2"), k), {QString(), 120, 1680.0 + 600 * k, 12000, 540},
                  tahoma(15.75), QColor(255, 255, 255), Alignment::Left)
            ->setVisible(false);
    }
    Label5 = styleText(add<Label>(QStringLiteral("Label5")),
                       {QStringLiteral("Read the Key Facts and try again."), 0, 7920, 12000, 540}, tahoma(20.25),
                       kYellow, Alignment::Center);
    addEntry(*this, Label3, QStringLiteral("Label3"), exitEntry(1), tahoma(15.75))->onClick = [this] { exitBoth(); };
}

void Wrong::load()
{
    m_m.setupform(*this);
}

void Wrong::setQuizTitle(const QString &title)
{
    Label6->setCaption(title);
}

void Wrong::listWrongAnswer(int line, const QString &text)
{
    Label2[line].setCaption(text);
    Label2[line].setVisible(true);
}

void Wrong::exitBoth()
{
    if (Form *results = m_m.forms().loaded(QStringLiteral("Welldone")))
        results->unload();
    unload();
}

void Wrong::closeRequested()
{
    exitBoth();
}

} // namespace velmora
