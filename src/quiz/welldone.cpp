#include "welldone.h"

#include "module1/entries.h"
#include "module1/module1.h"
#include "module1/pictures.h"
#include "module1/printjob.h"
#include "module1/publisher.h"
#include "platform/messageboxes.h"
#include "platform/platform.h"
#include "toolkit/formregistry.h"
#include "toolkit/hoverhighlight.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/screenfont.h"
#include "toolkit/textbox.h"
#include "toolkit/timer.h"
#include "wrong.h"

#include <QFontMetricsF>

#include <array>

namespace velmora {

namespace {
const QString kHint = QStringLiteral("Click the button above to check which questions you answered incorrectly.");
} // namespace

Welldone::Welldone(Module1 &m)
    : Form(kFormName)
    , m_m(m)
{
    Label4 = styleText(add<Label>(QStringLiteral("Label4")), {QStringLiteral("Well Done!"), 0, 120, 12000, 900},
                       screenFont(kTahoma, 36), kYellow, Alignment::Center);
    Picture1 = add<PictureBox>(QStringLiteral("Picture1"));
    Picture1->setGeometry(5880, 1440, 4800, 3600);
    Picture1->setBorder(false);

    const QFont entryFont = screenFont(kTahoma, 15.75);
    addEntry(*this, Label3, QStringLiteral("Label3"), {0, QString(), 240, 1800, 3765, 495}, entryFont)
        ->setVisible(false);
    addEntry(*this, Label3, QStringLiteral("Label3"), exitEntry(1), entryFont);
    for (const auto &[index, label] : Label3)
        label->onClick = [this, index = index] { Label3_Click(index); };
    m_hover = std::make_unique<HoverHighlight>(*this, Label3, HoverHighlight::Rule{indexRange(0, 1), true});

    Label1 = styleText(add<Label>(QStringLiteral("Label1")), {QString(), 0, 5400, 12000, 855},
                       screenFont(kTimes, 24, false), kYellow, Alignment::Center);
    Label5 = styleText(add<Label>(QStringLiteral("Label5")), {QString(), 1680, 6000, 8640, 1335},
                       screenFont(kTimes, 24, false), kYellow, Alignment::Center);
    Label1->setAnnounced(true);
    Label5->setVisible(false);
    Text1 = add<TextBox>(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Your name, for the certificate"));
    Text1->setGeometry(3120, 6600, 5760, 615);
    Text1->setFont(screenFont(kTimes, 24, false));
    Text1->setMaxLength(25);
    Text1->setVisible(false);
    Label2 = styleText(add<Label>(QStringLiteral("Label2")),
                       {QStringLiteral("Enter your name in the box above before printing your certificate"), 3120, 7440,
                        5775, 855},
                       screenFont(kTimes, 18, false), kYellow, Alignment::Center);
    Label2->setVisible(false);

    Timer1 = addTimer(QStringLiteral("Timer1"), 1);
    Timer1->onTick = [this] { Timer1_Timer(); };
    Timer2 = addTimer(QStringLiteral("Timer2"), 10);
    Timer2->onTick = [this] { Timer2_Timer(); };
}

Welldone::~Welldone() = default;

void Welldone::load()
{
    m_m.setupform(*this);
    const int s = m_m.score;
    QString phrase;
    if (s == m_m.total) {
        phrase = QStringLiteral("Excellent work. You have scored");
        Label3[0].setCaption(QStringLiteral("Print Certificate"));
        Label3[0].setVisible(true);
        Text1->setVisible(true);
        Label2->setVisible(true);
    } else {
        phrase = s >= m_m.total - 2 ? QStringLiteral("Good work. You have scored") : QStringLiteral("You have scored");
        Label3[0].setCaption(QStringLiteral("Check Wrong Answers"));
        Label5->setCaption(kHint);
    }
    Label1->setCaption(phrase + number(s) + QStringLiteral(" out of") + number(m_m.total) + QLatin1Char('.'));
    Timer1->setEnabled(true);
}

void Welldone::showResults()
{
    Label5->setVisible(true);
    Label3[0].setVisible(true);
    showForm();
}

void Welldone::Timer1_Timer()
{
    loadpicture(m_m, *Picture1, QStringLiteral("images\\quintaransm.jpg"));
    Timer1->setEnabled(false);
    Timer2->setEnabled(true);
}

void Welldone::Timer2_Timer()
{
    if (Text1->visible())
        Text1->setFocus();
    Timer2->setEnabled(false);
    Label3[0].setBackStyle(BackStyle::Opaque);
    Label3[1].setBackStyle(BackStyle::Opaque);
}

void Welldone::Label3_Click(int index)
{
    if (index == 0) {
        if (m_m.score == m_m.total) {
            try {
                Printpage();
            } catch (const std::exception &) {
                m_m.platform().printer().abort();
                m_m.platform().messages().ok(QStringLiteral("Printing has been cancelled."), kProductTitle);
            }
        } else {
            m_m.forms().ref<Wrong>().showForm();
        }
        return;
    }
    // "Exit" closes the wrong answers, shown or not, and the results.
    if (Form *wrong = m_m.forms().loaded<Wrong>())
        wrong->unload();
    unload();
}

void Welldone::closeRequested()
{
    Label3_Click(1);
}

void Welldone::Printpage()
{
    printAndTell(
        m_m.platform(),
        [this](LinePrinter &printer) {
            printAward(printer);
            printFrames(printer);
        },
        QStringLiteral("Your certificate is now printing."));
}

void Welldone::printAward(LinePrinter &printer)
{
    const QString banner = QStringLiteral("   Well Done      Well Done     Well Done     Well Done    ");
    const QColor lightBlue(0, 0, 255);
    const QColor lightRed(255, 0, 0);
    const QColor blue(0, 0, 128);
    const QColor black(0, 0, 0);
    const QString blank = QStringLiteral(" ");
    const auto centred = [&printer](const QString &text) {
        printer.setCurrentX((printer.scaleWidth() - printer.textWidth(text)) / 2);
        printer.print(text);
    };
    printer.setForeColor(lightBlue);
    printer.setFontSize(25);
    printer.setFontName(kTimes);
    printer.print(blank);
    // The banner runs past the right edge; what lies beyond it is simply lost.
    printer.print(banner + banner, false);
    printer.print(blank);
    printer.print(blank);
    printer.print(blank);
    printer.setForeColor(lightRed);
    printer.setFontSize(36);
    centred(kProductTitle);
    printer.print(blank);
    printer.setForeColor(lightBlue);
    printer.setFontSize(36);
    const double w = printer.scaleWidth();
    // A heading wider on screen than a quarter of the page prints smaller.
    const double onScreen = QFontMetricsF(font()).horizontalAdvance(m_m.quizhead) * 15.0;
    if (onScreen > w / 4)
        printer.setFontSize(28);
    centred(m_m.quizhead);
    printer.print(QString());
    printer.setFontSize(36);
    for (int i = 0; i < 3; ++i)
        printer.print(blank);
    printer.setForeColor(blue);
    printer.setFontSize(28);
    centred(QStringLiteral("Excellent Work"));
    printer.print(blank);
    centred(Text1->text());
    printer.print(QString());
    centred(QStringLiteral("You have scored") + number(m_m.score) + QStringLiteral(" out of") + number(m_m.total)
            + QLatin1Char('.'));
    printer.print(blank);
    printer.setFontSize(36);
    printer.print(blank);
    printer.print(blank);
    printer.setForeColor(lightBlue);
    printer.setFontSize(25);
    printer.setFontName(kTimes);
    printer.print(blank);
    printer.setForeColor(black);
    printer.print(banner + banner, false);
}

void Welldone::printFrames(LinePrinter &printer)
{
    const QColor black(0, 0, 0);
    const double w = printer.scaleWidth();
    printer.setDrawWidth(2);
    const double h = printer.scaleHeight();
    // Five frames 45 twips apart round the page, and three boxes round the award,
    // placed by fixed distances from the page's edges.
    constexpr std::array<std::pair<double, double>, 5> passes{
        {{45, 270}, {90, 315}, {135, 360}, {180, 405}, {225, 450}}};
    for (std::size_t pass = 0; pass < passes.size(); ++pass) {
        const auto [a, b] = passes[pass];
        printer.line(a, b, w - a, b, black);
        printer.line(a, b, a, h - b, black);
        printer.line(w - a, b, w - a, h - b, black);
        printer.line(a, h - b, w - a, h - b, black);
        if (pass < 3) {
            printer.line(a + 600, b + 7050, w - a - 600, b + 7050, black);
            printer.line(a + 600, b + 7050, a + 600, h - b - 3750, black);
            printer.line(w - a - 600, b + 7050, w - a - 600, h - b - 3750, black);
            printer.line(a + 600, h - b - 3750, w - a - 600, h - b - 3750, black);
        }
    }
}

} // namespace velmora
