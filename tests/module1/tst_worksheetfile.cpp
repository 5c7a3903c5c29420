// Worksheet files: what is written and what reads back, which titles may name a
// worksheet, and saves that fail on the way (a full disk, a folder that cannot be
// written, a kill in the middle). Those saves run in child processes, so the kill and
// the limits touch nothing of the test itself.
#include "module1/module1.h"
#include "module1/worksheetfile.h"
#include "platform/fileslot.h"
#include "support/listcopies.h"

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

#include <csignal>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kHandMade = QStringLiteral(VELMORA_SOURCE_TESTDATA "/handmade-worksheet.txt");
const QString kSheet = QStringLiteral("multiple/sheet.txt");

// A worksheet as texts: its title, then for each question its text, answers A to D and
// the number of the correct one.
QStringList sample(const QString &title)
{
    QStringList texts{title};
    for (int q = 1; q <= Worksheet::kQuestions; ++q) {
        texts << QStringLiteral("Question text %1").arg(q);
        for (const QChar k : {u'A', u'B', u'C', u'D'})
            texts << QStringLiteral("Answer %1%2").arg(q).arg(k);
        texts << QString::number((q - 1) % 4 + 1);
    }
    return texts;
}

QStringList textsOf(const Module1 &m)
{
    QStringList texts{m.worktitle};
    for (std::size_t q = 1; q <= Worksheet::kQuestions; ++q)
        texts << m.quest[q] << m.ansa[q] << m.ansb[q] << m.ansc[q] << m.ansd[q] << m.rightans[q];
    return texts;
}

// Saves the texts as a worksheet file: 0 when saved, else 1 + the FileError kind (-1
// when the failure left the slot open), as a child's exit code.
int save(DataFolder &folder, const QStringList &texts, const QString &file = kSheet)
{
    Worksheet sheet;
    sheet.title = texts[0];
    for (int q = 0; q < Worksheet::kQuestions; ++q) {
        sheet.questions[q] = texts[1 + 6 * q];
        for (int k = 0; k < 4; ++k)
            sheet.answers[q][k] = texts[2 + 6 * q + k];
        sheet.correct[q] = texts[6 + 6 * q];
    }
    try {
        folder.platform.file1().openForOutput(file);
        writeworksheet(folder.platform.file1(), sheet);
        folder.platform.file1().close();
        return 0;
    } catch (const FileError &e) {
        return folder.platform.file1().isOpen() ? -1 : 1 + int(e.kind());
    }
}

// Loads a worksheet file; returns the FileError kind it failed with, or -1.
int load(DataFolder &folder, const QString &file)
{
    folder.platform.file1().openForInput(file);
    const auto close = qScopeGuard([&] { folder.platform.file1().close(); });
    try {
        folder.m.loadquiz();
    } catch (const FileError &e) {
        return int(e.kind());
    }
    return -1;
}

} // namespace

class TestWorksheetFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void handMadeWorksheet()
    {
        DataFolder folder;
        const QString name = QStringLiteral("multiple/Les planètes& et leurs lunes.txt");
        QVERIFY(QFile::copy(kHandMade, folder.path(name)));
        QCOMPARE(load(folder, name), -1);
        QCOMPARE(folder.m.worktitle, QStringLiteral("Les planètes, et leurs lunes"));
        QCOMPARE(folder.m.quest[8], QStringLiteral("Le prix du télescope : 30 € – cher ?"));
        QCOMPARE(folder.m.ansd[8], QStringLiteral("Ça dépend"));
        QCOMPARE(folder.m.ansa[9], QStringLiteral("À l'ouest"));
        QCOMPARE(folder.m.rightans[10], QStringLiteral("3"));
        // Written again, byte for byte the same: 72 lines in CR LF, the comma rule, the
        // blank lines and the code page.
        QCOMPARE(save(folder, textsOf(folder.m)), 0);
        QCOMPARE(folder.read(kSheet), folder.read(name));

        // Another worksheet, cut after line 70 (answer D of question 10), read over it:
        // what was read is replaced, the rest stays.
        QCOMPARE(save(folder, sample(QStringLiteral("New"))), 0);
        folder.write(kSheet, folder.read(kSheet).split('\n').mid(0, 70).join('\n') + '\n');
        QCOMPARE(load(folder, kSheet), int(FileError::Kind::PastEnd));
        QCOMPARE(folder.m.worktitle, QStringLiteral("New"));
        QCOMPARE(folder.m.ansd[10], QStringLiteral("Answer 10D"));
        QCOMPARE(folder.m.rightans[9], QStringLiteral("1"));
        QCOMPARE(folder.m.rightans[10], QStringLiteral("3"));
    }

    void textsRoundTrip()
    {
        // Hostile but typeable: commas, ampersands, double quotes, blanks at both ends,
        // accents and signs of the code page, and now and then nothing at all.
        static const QString alphabet = QStringLiteral("abcXYZ019 ,&\"'é€–çÄßÿ£;:.?!()");
        static const QRegularExpression leadingBlanks(QStringLiteral("^[ \t]+"));
        QRandomGenerator random(20261206);
        DataFolder folder;
        for (int round = 0; round < 200; ++round) {
            QStringList texts;
            QStringList expected;
            for (int i = 0; i <= 6 * Worksheet::kQuestions; ++i) {
                QString text = i > 0 && i % 6 == 0 ? QString::number(random.bounded(1, 5)) : QString();
                for (int n = text.isEmpty() ? random.bounded(0, 31) : 0; n > 0; --n)
                    text.append(alphabet[random.bounded(int(alphabet.size()))]);
                texts << text;
                // Each "&" reads back as ",", and the field rule drops the blanks in front.
                expected << ampersandsToCommas(text).remove(leadingBlanks);
            }
            QCOMPARE(save(folder, texts), 0);
            QCOMPARE(load(folder, kSheet), -1);
            QCOMPARE(textsOf(folder.m), expected);
        }
    }

    void titles_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("listed"); // empty: refused
        QTest::addColumn<QString>("named"); // what the refusal names
        const auto row = [](const char *name, const char *typed, const char *listed, const char *named = "") {
            QTest::newRow(name) << QString::fromUtf8(typed) << QString::fromUtf8(listed) << QString::fromUtf8(named);
        };
        row("plain", "The Night Sky", "The Night Sky");
        row("comma stored as ampersand", "Plants, animals", "Plants& animals");
        row("ampersand kept", "Salt & Pepper", "Salt & Pepper");
        row("blanks trimmed", "  Maths  ", "Maths");
        row("accents", "Étoiles filantes", "Étoiles filantes");
        row("dots inside", "Ch. 1.2", "Ch. 1.2");
        row("question mark, saved as before", "Why?", "Why?");
        row("only blanks", "   ", "");
        row("slash", "Maths/Science", "", "\"/\"");
        row("colon", "Maths: fractions", "", "\":\"");
        row("backslash", "..\\track", "", "\"\\\"");
        row("dot dot", "..", "");
        row("the list file", "Track", "", "\"Track\"");
        row("the unit's quiz", "ardovin sevrani", "");
        row("device name", "COM1", "");
        row("control character", "Tab\there", "", "control characters");
        row("Greek letter", "Ωmega", "", "\"Ω\" (U+03A9)");
        row("emoji, two UTF-16 units", "Stars 🌟", "", "\"🌟\" (U+1F31F)");
        row("emoji after a comma", "Sun, 🌞 and moon", "", "\"🌞\" (U+1F31E)");
    }

    void titles()
    {
        QFETCH(QString, typed);
        QFETCH(QString, listed);
        QFETCH(QString, named);
        const auto refusal = titleRefusal(typed);
        QCOMPARE(bool(refusal), listed.isEmpty());
        if (!refusal) {
            QCOMPARE(listTitle(typed), listed);
            return;
        }
        QVERIFY2(refusal->endsWith(QLatin1Char('.')) && refusal->contains(named), qPrintable(*refusal));
        // Whole characters only: no half of a pair, no replacement character.
        QVERIFY(refusal->isValidUtf16() && !refusal->contains(QChar::ReplacementCharacter));
    }

    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("kind");
        QTest::newRow("file-size limit") << QStringLiteral("limit") << int(FileError::Kind::DiskFull);
        QTest::newRow("full disk") << QStringLiteral("full") << int(FileError::Kind::DiskFull);
        QTest::newRow("read-only folder") << QStringLiteral("read-only") << int(FileError::Kind::ReadOnly);
        QTest::newRow("a line break in a text") << QStringLiteral("line break") << int(FileError::Kind::Unencodable);
    }

    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, fault);
        QFETCH(int, kind);
        DataFolder folder;
        const QString multiple = folder.path(QStringLiteral("multiple"));
        // A full disk is a small tmpfs filled up; a read-only folder stops root only
        // when it is a read-only mount.
        const bool mounted = fault == QLatin1String("full") || (fault == QLatin1String("read-only") && geteuid() == 0);
        if (mounted && geteuid() != 0)
            QSKIP("mounting a small tmpfs needs root; the file-size limit row covers a full disk");
        if (mounted && mount("tmpfs", QFile::encodeName(multiple).constData(), "tmpfs", 0, "size=16k") != 0)
            QSKIP("this machine does not allow mounting a tmpfs here");
        const auto restore = qScopeGuard([&] {
            QFile::setPermissions(multiple, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            if (mounted)
                umount2(QFile::encodeName(multiple).constData(), MNT_DETACH);
        });
        QCOMPARE(save(folder, sample(QStringLiteral("Old"))), 0);
        if (fault == QLatin1String("full")) {
            QFile filler(multiple + QStringLiteral("/filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly));
            while (filler.write(QByteArray(512, 'f')) == 512 && filler.flush()) {}
        } else if (fault == QLatin1String("read-only")) {
            QVERIFY(mounted ? mount(nullptr, QFile::encodeName(multiple).constData(), nullptr, MS_REMOUNT | MS_RDONLY,
                                    nullptr)
                                  == 0
                            : QFile::setPermissions(multiple, QFile::ReadOwner | QFile::ExeOwner));
        }
        const QByteArray old = folder.read(kSheet);
        const QStringList files = folder.files();
        QStringList texts = sample(QStringLiteral("New, and longer"));
        texts[22] = fault == QLatin1String("line break") ? QStringLiteral("two\nlines") : texts[22];
        const pid_t child = fork();
        if (child == 0) {
            const rlimit limit{512, 512};
            if (fault == QLatin1String("limit") && std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR)
                setrlimit(RLIMIT_FSIZE, &limit);
            _exit(save(folder, texts));
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QCOMPARE(WEXITSTATUS(status), 1 + kind);
        QCOMPARE(folder.read(kSheet), old);
        QCOMPARE(folder.files(), files);
    }

    // A child saves two worksheets in turn without end and is killed just after the
    // folder shows a stage of its first, second or third save (its temporary file made,
    // written, or renamed over the old one): the file is then the old one or a whole
    // new one, and the old one only while no save has finished.
    void killedSavesLeaveOldOrNew()
    {
        DataFolder folder;
        const QByteArray multiple = QFile::encodeName(folder.path(QStringLiteral("multiple")));
        QList<QByteArray> whole; // the old worksheet, then the two that the child saves
        for (const char *title : {"Old", "Alpha", "Beta"}) {
            QCOMPARE(save(folder, sample(QString::fromLatin1(title))), 0);
            whole << folder.read(kSheet);
        }
        for (int round = 0; round < 45; ++round) {
            const quint32 stage = std::array{IN_CREATE, IN_CLOSE_WRITE, IN_MOVED_TO}[round % 3];
            const int saves = round / 3 % 3 + 1;
            const int watch = inotify_init1(IN_CLOEXEC);
            QVERIFY(inotify_add_watch(watch, multiple.constData(), stage) >= 0);
            const QByteArray before = folder.read(kSheet);
            const pid_t pid = fork();
            for (int i = 0; pid == 0; ++i) // the child saves without end
                save(folder, sample(QString::fromLatin1(i % 2 ? "Beta" : "Alpha")));
            int seen = 0;
            char events[4096];
            pollfd ready{watch, POLLIN, 0};
            while (seen < saves && poll(&ready, 1, 10000) == 1 && read(watch, events, sizeof events) > 0)
                ++seen; // at least one event each
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            ::close(watch);
            QVERIFY2(seen == saves, "the saving child stopped");
            const QByteArray now = folder.read(kSheet);
            const bool oneFinished = saves > 1 || stage == IN_MOVED_TO;
            QVERIFY2((now == before && !oneFinished) || now == whole[1] || now == whole[2],
                     qPrintable(QStringLiteral("round %1: %2 bytes of something else").arg(round).arg(now.size())));
            removeStrayTemporaries(folder.path(QStringLiteral("multiple")));
            QCOMPARE(folder.files(), QStringList{QStringLiteral("sheet.txt")});
        }
    }

    void strayTemporariesAreCleaned()
    {
        DataFolder folder;
        folder.write(QStringLiteral("multiple/track.txt.Ab12Cd"), "half");
        folder.write(QStringLiteral("multiple/Maths.txt.x9Y8z7"), "half", 3600);
        folder.write(QStringLiteral("multiple/Maths.txt"), "whole");
        folder.write(QStringLiteral("multiple/notes.txt.bak"), "kept");
        // Another copy on a shared folder may be writing a young one right now.
        QCOMPARE(removeStrayTemporaries(folder.path(QStringLiteral("multiple")), 600), 1);
        QVERIFY(QFile::exists(folder.path(QStringLiteral("multiple/track.txt.Ab12Cd"))));
        QCOMPARE(removeStrayTemporaries(folder.path(QStringLiteral("multiple"))), 1);
        QCOMPARE(folder.files(), QStringList({QStringLiteral("Maths.txt"), QStringLiteral("notes.txt.bak")}));
    }
};

QTEST_GUILESS_MAIN(TestWorksheetFile)
#include "tst_worksheetfile.moc"
