// Fuzz target over the worksheet files: the field reader, loadquiz and the list reader
// all read the same bytes, as a damaged or hostile file beside the program would be.
#include "module1/module1.h"
#include "module1/worksheetfile.h"
#include "platform/fileslot.h"
#include "platform/platform.h"
#include "platform/windows1252.h"
#include "support/inertservices.h"
#include "toolkit/formregistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>
#include <optional>

namespace {

using namespace velmora;

struct Harness {
    Harness()
        : dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/velmora-fuzz-XXXXXX")
                                                        : QDir::tempPath() + QStringLiteral("/velmora-fuzz-XXXXXX"))
        , platform(dir.path(), messages, shell, screen, printer)
        , m(platform, forms)
    {
        QDir(dir.path()).mkpath(QStringLiteral("multiple"));
    }

    void put(const uint8_t *data, size_t size) const
    {
        QFile file(dir.path() + QStringLiteral("/multiple/input.txt"));
        if (file.open(QIODevice::WriteOnly))
            file.write(reinterpret_cast<const char *>(data), qint64(size));
    }

    QTemporaryDir dir;
    test::InertMessageBoxes messages;
    test::InertDesktopShell shell;
    test::InertScreen screen;
    test::NoPrintTarget printer;
    Platform platform;
    FormRegistry forms;
    Module1 m;
};

// A text the writer can put in a line and the reader give back unchanged: one the code
// page holds, with no line break and no leading blank (the field rule skips those).
bool writable(const QString &text)
{
    return firstUnencodable(text).isEmpty() && !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n'))
           && !text.startsWith(QLatin1Char(' ')) && !text.startsWith(QLatin1Char('\t'));
}

// What loadquiz read, as the wizard would write it back; nothing when some text could
// not come back unchanged (an "&" reads back as ",").
std::optional<Worksheet> asWorksheet(const Module1 &m)
{
    Worksheet sheet;
    sheet.title = m.worktitle;
    QStringList texts{sheet.title};
    for (int q = 0; q < Worksheet::kQuestions; ++q) {
        const auto n = std::size_t(q + 1);
        sheet.questions[q] = m.quest[n];
        sheet.answers[q] = {m.ansa[n], m.ansb[n], m.ansc[n], m.ansd[n]};
        sheet.correct[q] = m.rightans[n];
        texts << sheet.questions[q] << QList<QString>(sheet.answers[q].begin(), sheet.answers[q].end())
              << sheet.correct[q];
    }
    for (const QString &text : texts) {
        if (!writable(text) || text.contains(QLatin1Char('&')))
            return std::nullopt;
    }
    return sheet;
}

void check(bool property)
{
    if (!property)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Harness harness;
    harness.put(data, size);
    const QString name = QStringLiteral("multiple/input.txt");
    FileSlot &file = harness.platform.file1();

    // Every field, as far as the file goes: never more fields than the bytes can hold
    // (each field but the last ends at a byte of its own).
    size_t fields = 0;
    try {
        file.openForInput(name);
        while (!file.atEnd()) {
            file.readField();
            check(++fields <= size + 1);
        }
    } catch (const FileError &) {
    }
    file.abandon();

    // A quiz that reads whole comes back the same after the wizard's writer wrote it.
    bool quizRead = false;
    try {
        file.openForInput(name);
        harness.m.loadquiz();
        quizRead = true;
    } catch (const FileError &) {
    }
    file.abandon();
    if (const std::optional<Worksheet> sheet = quizRead ? asWorksheet(harness.m) : std::nullopt) {
        const QString copy = QStringLiteral("multiple/copy.txt");
        file.openForOutput(copy);
        writeworksheet(file, *sheet);
        file.close();
        file.openForInput(copy);
        harness.m.loadquiz();
        file.abandon();
        const std::optional<Worksheet> again = asWorksheet(harness.m);
        check(again && again->title == sheet->title && again->questions == sheet->questions
              && again->answers == sheet->answers && again->correct == sheet->correct);
    }

    // The list in memory holds what the count said, never more than its capacity or
    // than the file has fields.
    try {
        harness.m.readtracklist(name);
        check(harness.m.trackcount >= 0 && harness.m.trackcount <= Module1::kListCapacity);
        check(size_t(harness.m.trackcount) <= size); // the count and each title take a field
    } catch (const FileError &) {
    }
    file.abandon();
    return 0;
}
