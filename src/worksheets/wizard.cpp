#include "wizard.h"

#include "module1/entries.h"
#include "module1/filefailure.h"
#include "module1/module1.h"
#include "module1/publisher.h"
#include "module1/worksheetchecks.h"
#include "module1/worksheetfile.h"
#include "platform/fileslot.h"
#include "platform/messageboxes.h"
#include "platform/platform.h"
#include "toolkit/checkbox.h"
#include "toolkit/hoverhighlight.h"
#include "toolkit/keyboardorder.h"
#include "toolkit/label.h"
#include "toolkit/screenfont.h"
#include "toolkit/textbox.h"

namespace velmora {

namespace {
const QColor kFrameBlue(39, 63, 137);

// Where the parts of question q (1 to 10) lie: two columns of five.
struct QuestionPlace {
    double x0;
    double offset;
};
QuestionPlace placeOf(int q)
{
    return {q <= 5 ? 240.0 : 6120.0, 1440.0 * ((q - 1) % 5)};
}
} // namespace

wizard::wizard(Module1 &m)
    : Form(kFormName)
    , m_m(m)
{
    styleText(add<Label>(QStringLiteral("Label1")), {QStringLiteral("Multiple Choice Wizard"), 0, 0, 4320, 540},
              screenFont(kTahoma, 18), kYellow, Alignment::Center);
    styleText(add<Label>(QStringLiteral("Label2")), {QStringLiteral("Worksheet Title"), 5160, 120, 2280, 345},
              screenFont(kTahoma, 14.25), kYellow, Alignment::Center);
    Text1 = add<TextBox>(QStringLiteral("Text1"));
    Text1->setGeometry(7560, 120, 4215, 375);
    Text1->setMaxLength(25);
    Text1->setFont(screenFont(kTimes, 12, false));
    Text1->setAccessibleName(QStringLiteral("Worksheet Title"));

    const std::array<QString, 4> letters{QStringLiteral("A."), QStringLiteral("B."), QStringLiteral("C."),
                                         QStringLiteral("D.")};
    // Offsets of the letter, tick and answer box of answers A to D from the column origin.
    const std::array<QPointF, 4> letterAt{QPointF(15, 1200), QPointF(2850, 1200), QPointF(30, 1560),
                                          QPointF(2850, 1560)};
    const std::array<QPointF, 4> tickAt{QPointF(240, 1230), QPointF(3090, 1230), QPointF(240, 1560),
                                        QPointF(3090, 1560)};
    const std::array<QPointF, 4> answerAt{QPointF(480, 1230), QPointF(3360, 1230), QPointF(480, 1560),
                                          QPointF(3360, 1560)};
    QList<QWidget *> tabOrder{Text1->widget()};
    for (int q = 1; q <= kQuestions; ++q) {
        const auto [x0, offset] = placeOf(q);
        const int j = q - 1;
        styleText(add<Label>(QStringLiteral("QuestionLabel"), j),
                  {QStringLiteral("Question %1").arg(q), x0, 600 + offset, q == 10 ? 1170.0 : 1050.0, 240},
                  screenFont(kTahoma, 9.75), kYellow, Alignment::Center);
        TextBox *question = add<TextBox>(Text2, QStringLiteral("Text2"), j);
        question->setGeometry(x0, 840 + offset, 5655, 375);
        question->setMaxLength(60);
        question->setFont(screenFont(kTimes, 12, false));
        question->setAccessibleName(QStringLiteral("Question %1").arg(q));
        tabOrder << question->widget();
        for (int k = 0; k < 4; ++k) {
            const int i = 4 * j + k;
            styleText(add<Label>(QStringLiteral("LetterLabel"), i),
                      {letters[k], x0 + letterAt[k].x(), letterAt[k].y() + offset, k % 2 ? 270.0 : 240.0, 285},
                      screenFont(kTahoma, 12), kYellow, Alignment::Center);
            CheckBox *tick = add<CheckBox>(Check1, QStringLiteral("Check1"), i);
            tick->setGeometry(x0 + tickAt[k].x(), tickAt[k].y() + offset, 255, 315);
            TextBox *answer = add<TextBox>(Text3, QStringLiteral("Text3"), i);
            answer->setGeometry(x0 + answerAt[k].x(), answerAt[k].y() + offset, 2295, 330);
            answer->setMaxLength(30);
            answer->setFont(screenFont(kTimes, 9.75, false));
            const QString answerName = QStringLiteral("Question %1, answer %2").arg(q).arg(QChar(u'A' + k));
            answer->setAccessibleName(answerName);
            tick->setAccessibleName(answerName + QStringLiteral(" is right"));
            tabOrder << answer->widget();
        }
    }
    // The tick boxes come after every text box.
    for (const auto &[index, tick] : Check1)
        tabOrder << tick->widget();
    const QFont entryFont = screenFont(kTahoma, 15.75);
    addEntry(*this, Label3, QStringLiteral("Label3"), exitEntry(0), entryFont)->onClick = [this] { unload(); };
    addEntry(*this, Label3, QStringLiteral("Label3"), {1, QStringLiteral("Save Worksheet"), 240, 7920, 3165, 495},
             entryFont)
        ->onClick = [this] { genwork(); };
    // Then the two entries as they read, "Save Worksheet" before "Exit".
    tabOrder << Label3[1].widget() << Label3[0].widget();
    chainTabOrder(tabOrder);
    keepDesignedTabOrder();
    m_hover = std::make_unique<HoverHighlight>(*this, Label3, HoverHighlight::Rule{indexRange(0, 1), true});

    Text1->onKeyPress = [this](int key) { keyPressed(*Text1, key); };
    for (const auto &[index, box] : Text2)
        box->onKeyPress = [this, box = box](int key) { keyPressed(*box, key); };
    for (const auto &[index, box] : Text3)
        box->onKeyPress = [this, box = box](int key) { keyPressed(*box, key); };
}

wizard::~wizard() = default;

void wizard::load()
{
    m_m.setupform(*this);
    for (const auto &[index, tick] : Check1)
        tick->setBackColor(kFrameBlue);
}

void wizard::keyPressed(TextBox &box, int key)
{
    if (key != 13)
        return;
    if (&box == Text1) {
        Text2[0].setFocus();
    } else if (box.name() == QLatin1String("Text2")) {
        Text3[4 * box.index()].setFocus();
    } else if (box.index() % 4 < 3) {
        Text3[box.index() + 1].setFocus();
    } else if (box.index() < 39) {
        Text2[(box.index() + 1) / 4].setFocus();
    }
}

void wizard::tell(const QString &text)
{
    m_m.platform().messages().ok(text, kProductTitle);
}

void wizard::fillFromQuizSet()
{
    Text1->setText(m_m.worktitle);
    for (int j = 0; j < kQuestions; ++j) {
        const std::size_t q = j + 1;
        Text2[j].setText(m_m.quest[q]);
        Text3[4 * j].setText(m_m.ansa[q]);
        Text3[4 * j + 1].setText(m_m.ansb[q]);
        Text3[4 * j + 2].setText(m_m.ansc[q]);
        Text3[4 * j + 3].setText(m_m.ansd[q]);
        // One tick per question, even in a wizard left open with other ticks.
        const int r = m_m.rightans[q].trimmed().toInt();
        for (int k = 0; k < 4; ++k)
            Check1[4 * j + k].setValue(r == k + 1);
    }
}

void wizard::genwork()
{
    if (const auto problem = worksheetProblem(fromBoxes())) {
        tell(*problem);
        return;
    }
    saveworksheet();
}

WorksheetDraft wizard::fromBoxes() const
{
    WorksheetDraft draft;
    draft.title = Text1->text();
    for (int j = 0; j < kQuestions; ++j) {
        QuestionDraft &question = draft.questions[j];
        question.text = Text2[j].text();
        for (int k = 0; k < 4; ++k) {
            question.answers[k] = Text3[4 * j + k].text();
            question.ticked[k] = Check1[4 * j + k].value();
        }
    }
    return draft;
}

void wizard::saveworksheet()
{
    const Worksheet sheet = worksheetFromDraft(fromBoxes());
    FileSlot &file = m_m.platform().file1();
    try {
        file.openForOutput(worksheetFile(listTitle(sheet.title)));
        writeworksheet(file, sheet);
        file.close();
        trackworksheets();
    } catch (const FileError &error) {
        tell(fileFailureMessage(QStringLiteral("There was a problem saving your worksheet"), error));
        return;
    }
    tell(QStringLiteral("Your worksheet has been saved."));
}

void wizard::trackworksheets()
{
    m_m.appendToWorksheetList(listTitle(Text1->text()));
}

} // namespace velmora
