// velmora-quiz: writes the unit's quiz file (multiple/Ardovin Sevrani.txt) from its
// readable source, with the program's own worksheet writer, and an empty worksheet
// list when there is none.
//   velmora-quiz SOURCE DATA_DIR
#include "module1/worksheetfile.h"
#include "platform/datapaths.h"
#include "platform/fileslot.h"

#include <QFile>
#include <QStringList>

#include <cstdio>

using namespace velmora;

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: velmora-quiz SOURCE DATA_DIR\n");
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "velmora-quiz: cannot read %s\n", argv[1]);
        return 1;
    }
    Worksheet sheet;
    int question = -1;
    int answer = 0;
    for (const QString &raw : QString::fromUtf8(source.readAll()).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1String("Title: "))) {
            sheet.title = line.mid(7);
        } else if (line.startsWith(QLatin1String("Q: ")) && question + 1 < Worksheet::kQuestions) {
            sheet.questions[++question] = line.mid(3);
            answer = 0;
        } else if (line.size() > 3 && line[1] == QLatin1Char(':') && question >= 0 && answer < 4) {
            QString text = line.mid(3);
            if (text.endsWith(QLatin1String(" *"))) {
                text.chop(2);
                sheet.correct[question] = QString::number(answer + 1);
            }
            sheet.answers[question][answer++] = text;
        }
    }
    for (int q = 0; q < Worksheet::kQuestions; ++q) {
        if (sheet.questions[q].isEmpty() || sheet.correct[q].isEmpty() || sheet.answers[q][3].isEmpty()) {
            std::fprintf(stderr, "velmora-quiz: question %d is incomplete or has no right answer\n", q + 1);
            return 1;
        }
    }
    DataPaths paths(QString::fromLocal8Bit(argv[2]));
    FileSlot file(paths);
    try {
        file.openForOutput(kUnitQuizFile);
        writeworksheet(file, sheet);
        file.close();
        if (!paths.existing(kListFile)) {
            file.openForOutput(kListFile);
            file.writeLine(QStringLiteral(" 0 "));
            file.close();
        }
    } catch (const FileError &e) {
        std::fprintf(stderr, "velmora-quiz: %s\n", e.what());
        return 1;
    }
    std::printf("%s\n", qPrintable(kUnitQuizFile));
    return 0;
}
