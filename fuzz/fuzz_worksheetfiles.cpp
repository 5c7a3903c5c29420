// Fuzz target over the worksheet files: the field reader, loadquiz and the list reader
// all read the same bytes, as a damaged or hostile file beside the program would be.
#include "module1/module1.h"
#include "platform/fileslot.h"
#include "platform/platform.h"
#include "support/inertservices.h"
#include "toolkit/formregistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Harness harness;
    harness.put(data, size);
    const QString name = QStringLiteral("multiple/input.txt");
    FileSlot &file = harness.platform.file1();

    // Every field, as far as the file goes.
    try {
        file.openForInput(name);
        while (!file.atEnd())
            file.readField();
    } catch (const FileError &) {
    }
    file.abandon();

    try {
        file.openForInput(name);
        harness.m.loadquiz();
    } catch (const FileError &) {
    }
    file.abandon();

    try {
        harness.m.readtracklist(name);
    } catch (const FileError &) {
    }
    file.abandon();
    // The list in memory never claims more titles than were read.
    if (harness.m.trackcount < 0)
        __builtin_trap();
    return 0;
}
