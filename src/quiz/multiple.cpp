#include "multiple.h"

#include "module1/entries.h"
#include "module1/module1.h"
#include "module1/pictures.h"
#include "module1/printjob.h"
#include "module1/publisher.h"
#include "platform/platform.h"
#include "toolkit/formregistry.h"
#include "toolkit/hoverhighlight.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "toolkit/screenfont.h"
#include "welldone.h"
#include "wrong.h"

#include <algorithm>

namespace velmora {

namespace {
const QString kNextQuestion = QStringLiteral("Next Question >>");

// A labelled text ("A. " and an answer) wrapped to a width: the label starts the first
// line, and the lines after it start under the text, clear of the label.
struct Hanging {
    QStringList lines;
    double indent = 0;
};

Hanging hanging(LinePrinter &printer, const QString &label, const QString &text, double width)
{
    const double indent = printer.textWidth(label);
    QStringList lines = printer.wrap(text, width - indent);
    lines.first().prepend(label);
    return {lines, indent};
}
} // namespace

multiple::multiple(Module1 &m)
    : Form(kFormName)
    , m_m(m)
{
    Label1 = styleText(add<Label>(QStringLiteral("Label1")), {QStringLiteral("Multiple Choice"), 120, 120, 6240, 900},
                       screenFont(kTahoma, 36), kYellow, Alignment::Center);
    Label5 = styleText(add<Label>(QStringLiteral("Label5")), {QStringLiteral("Heading"), 120, 1200, 6465, 585},
                       screenFont(kTimes, 24, false), QColor(0, 255, 0), Alignment::Center);
    Label6 = styleText(add<Label>(QStringLiteral("Label6")), {QStringLiteral("Title"), 120, 1920, 6465, 705},
                       screenFont(kTimes, 24, false), QColor(128, 128, 255), Alignment::Center);
    Label4 = styleText(add<Label>(QStringLiteral("Label4")), {QStringLiteral("Question 1"), 360, 3240, 5415, 615},
                       screenFont(kTimes, 24, false), kYellow, Alignment::Left);
    Label2 = styleText(add<Label>(QStringLiteral("Label2")), {QStringLiteral("Question"), 960, 3960, 9840, 1455},
                       screenFont(kTimes, 30, false), kYellow, Alignment::Center);
    Label2->setWordWrap(true);

    for (int i = 1; i <= 4; ++i) {
        OptionButton *option = add<OptionButton>(Option1, QStringLiteral("Option1"), i);
        option->setGeometry(2400, 5400 + 600.0 * (i - 1), 6975, 525);
        option->setFont(screenFont(kTimes, 20.25, false));
        option->setForeColor(kYellow);
    }
    // The no-choice option: selecting it clears the four answers. It hides under the
    // picture box but is visible, so it can hold the keyboard focus.
    OptionButton *none = add<OptionButton>(Option1, QStringLiteral("Option1"), kNoChoice);
    none->setGeometry(0, 0, 495, 375);
    none->setAccessibleName(QStringLiteral("No answer chosen"));
    // Tab into the answers shows where the keyboard is: on answer A, none chosen yet
    // (the arrows then choose).
    none->onTabbedIn = [this] { Option1[1].setFocus(); };
    Picture1 = add<PictureBox>(QStringLiteral("Picture1"));
    Picture1->setGeometry(6840, 240, 855, 615);

    const QFont entryFont = screenFont(kTahoma, 15.75);
    const QString entry = QStringLiteral("Label3");
    addEntry(*this, Label3, entry, {0, QStringLiteral("<< Previous Question"), 2040, 7920, 3765, 495}, entryFont)
        ->setVisible(false);
    addEntry(*this, Label3, entry, {1, kNextQuestion, 6000, 7920, 3765, 495}, entryFont);
    addEntry(*this, Label3, entry, exitEntry(2), entryFont);
    addEntry(*this, Label3, entry, {3, QStringLiteral("Print Worksheet"), 7920, 1920, 3045, 495}, entryFont);
    for (const auto &[index, label] : Label3)
        label->onClick = [this, index = index] { Label3_Click(index); };
    m_hover = std::make_unique<HoverHighlight>(*this, Label3, HoverHighlight::Rule{indexRange(0, 3), true});
}

multiple::~multiple() = default;

void multiple::load()
{
    m_m.setupform(*this);
    m_m.score = 0;
    m_m.total = Module1::kQuestions;
    m_m.questno = 1;
    for (int q = 1; q <= Module1::kQuestions; ++q)
        m_m.marks[q] = 0;
    Option1[kNoChoice].move(Picture1->left() + 240, Picture1->top() + 240);
    for (int i = 1; i <= 4; ++i)
        Option1[i].setBackColor(backColor());
    Label6->setCaption(m_m.worktitle);
    showquest();
}

void multiple::showquest()
{
    const std::size_t q = m_m.questno;
    Option1[kNoChoice].setValue(true);
    Label3[0].setVisible(true);
    Label3[1].setCaption(kNextQuestion);
    Label4->setCaption(QStringLiteral("Question") + number(m_m.questno));
    Label2->setCaption(m_m.quest[q]);
    Option1[1].setCaption(m_m.ansa[q]);
    Option1[2].setCaption(m_m.ansb[q]);
    Option1[3].setCaption(m_m.ansc[q]);
    Option1[4].setCaption(m_m.ansd[q]);
    if (m_m.questno == 1)
        Label3[0].setVisible(false);
    if (m_m.questno == Module1::kQuestions)
        Label3[1].setCaption(QStringLiteral("Check Score >>"));
    Option1[kNoChoice].setFocus();
}

void multiple::Label3_Click(int index)
{
    switch (index) {
    case 0:
        m_m.questno -= 1;
        showquest();
        break;
    case 1: {
        // A correct answer that is not 1 to 4 (a damaged worksheet) can never be chosen.
        bool isNumber = false;
        const int c = m_m.rightans[std::size_t(m_m.questno)].trimmed().toInt(&isNumber);
        const bool right = isNumber && c >= 1 && c <= 4 && Option1[c].value();
        m_m.marks[std::size_t(m_m.questno)] = right ? 1 : 0;
        m_m.questno += 1;
        if (m_m.questno < Module1::kQuestions + 1)
            showquest();
        else
            endOfQuiz();
        break;
    }
    case 2:
        unload();
        break;
    case 3:
        Printpage();
        break;
    default:
        break;
    }
}

void multiple::setHeading(const Picture &picture, const QString &title)
{
    Picture1->setPicture(picture);
    Label5->setCaption(title);
}

void multiple::setHeading(const QString &pictureFile, const QString &title)
{
    loadpicture(m_m, *Picture1, pictureFile);
    Label5->setCaption(title);
}

void multiple::endOfQuiz()
{
    Wrong &wrong = m_m.forms().ref<Wrong>();
    wrong.setQuizTitle(Label6->caption());
    for (int i = 1; i <= Module1::kQuestions; ++i) {
        m_m.score += m_m.marks[i];
        if (m_m.marks[i] == 0)
            wrong.listWrongAnswer(i - 1 - m_m.score, number(i) + QStringLiteral(". ") + m_m.quest[i]);
    }
    m_m.quizhead = Label5->caption();
    m_m.forms().ref<Welldone>().showResults();
    unload();
}

void multiple::Printpage()
{
    printAndTell(
        m_m.platform(),
        [this](LinePrinter &printer) {
            printHeading(printer);
            printQuestions(printer);
        },
        QStringLiteral("Your worksheet is now printing."));
}

void multiple::printHeading(LinePrinter &printer)
{
    const QString blank = QStringLiteral(" ");
    const QString header = kProductTitle + QString(57, QLatin1Char(' ')) + kPublisherName;
    printer.setFontSize(16);
    printer.setFontName(kTimes);
    const auto w = float(printer.scaleWidth());
    // A heading too wide for the paper goes on over more centred lines.
    const auto centred = [&printer](const QString &text) {
        const double width = printer.scaleWidth();
        for (const QString &line : printer.wrap(text, width)) {
            printer.setCurrentX((width - printer.textWidth(line)) / 2);
            printer.print(line);
        }
    };
    printer.setCurrentX(w / 8);
    printer.print(blank);
    printer.setCurrentX(w / 16);
    printer.print(header, false);
    printer.print(blank);
    printer.print(blank);
    printer.setFontSize(32);
    centred(Label5->caption());
    centred(Label6->caption());
    printer.print(blank);
    printer.setFontSize(12);
}

void multiple::printQuestions(LinePrinter &printer)
{
    const QString blank = QStringLiteral(" ");
    // Positions are worked out in single precision from the printer's width.
    const auto w = float(printer.scaleWidth());
    const double h = printer.scaleHeight();
    const double lineHeight = printer.textHeight();
    const float left = 2 * w / 6;
    const float right = 4 * w / 6;
    // A left-column answer stops this far short of the right column.
    const double gutter = printer.textWidth(QStringLiteral("    "));
    const auto newPageFor = [&](qsizetype lines) {
        if (printer.currentY() + double(lines) * lineHeight > h && printer.currentY() > 0)
            printer.newPage();
    };
    // Two answers side by side, each wrapped inside its own column.
    const auto printRow = [&](const Hanging &a, const Hanging &b) {
        for (qsizetype k = 0; k < std::max(a.lines.size(), b.lines.size()); ++k) {
            newPageFor(1);
            if (k < a.lines.size()) {
                printer.setCurrentX(left + (k > 0 ? a.indent : 0));
                printer.print(a.lines[k], false);
            }
            if (k < b.lines.size()) {
                printer.setCurrentX(right + (k > 0 ? b.indent : 0));
                printer.print(b.lines[k]);
            } else {
                printer.print(QString());
            }
        }
    };
    for (std::size_t i = 1; i <= Module1::kQuestions; ++i) {
        const Hanging question =
            hanging(printer, QStringLiteral("Question") + number(qsizetype(i)) + QStringLiteral("    "), m_m.quest[i],
                    w - w / 16);
        const Hanging a = hanging(printer, QStringLiteral("A. "), m_m.ansa[i], right - left - gutter);
        const Hanging b = hanging(printer, QStringLiteral("B. "), m_m.ansb[i], w - right);
        const Hanging c = hanging(printer, QStringLiteral("C. "), m_m.ansc[i], right - left - gutter);
        const Hanging d = hanging(printer, QStringLiteral("D. "), m_m.ansd[i], w - right);
        // A question and its answers stay together: when they would cross the
        // bottom of the paper, they start a new page.
        newPageFor(question.lines.size() + std::max(a.lines.size(), b.lines.size())
                   + std::max(c.lines.size(), d.lines.size()) + 1);
        for (qsizetype k = 0; k < question.lines.size(); ++k) {
            newPageFor(1);
            printer.setCurrentX(w / 16 + (k > 0 ? question.indent : 0));
            printer.print(question.lines[k]);
        }
        printRow(a, b);
        printRow(c, d);
        // Only a question taller than the whole page leaves no room for it.
        if (printer.currentY() + lineHeight <= h)
            printer.print(blank);
    }
}

} // namespace velmora
