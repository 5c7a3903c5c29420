// The shared module: the frame every screen is placed in, and worksheet files (what is
// written and what reads back, which titles may name a worksheet, and saves that fail
// on the way: a full disk, a folder that cannot be written, a kill in the middle). The
// failing saves run in child processes, so the kill and the limits touch nothing of
// the test itself.
#include "module1/module1.h"
#include "module1/worksheetfile.h"
#include "platform/fileslot.h"
#include "support/listcopies.h"
#include "support/testapp.h"
#include "toolkit/form.h"
#include "toolkit/image.h"

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmora;
using namespace velmora::test;

const QString kSheet = QStringLiteral("multiple/sheet.txt");

// A worksheet as texts: its title, then for each question its text, answers A to D and
// the number of the correct one.
static QStringList sample(const QString &title)
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

static QStringList textsOf(const Module1 &m)
{
    QStringList texts{m.worktitle};
    for (std::size_t q = 1; q <= Worksheet::kQuestions; ++q)
        texts << m.quest[q] << m.ansa[q] << m.ansb[q] << m.ansc[q] << m.ansd[q] << m.rightans[q];
    return texts;
}

// Saves the texts as the worksheet file kSheet: 0 when saved, else 1 + the FileError kind (-1
// when the failure left the slot open), as a child's exit code.
static int save(DataFolder &folder, const QStringList &texts)
{
    Worksheet sheet;
    sheet.title = texts[0];
    for (int q = 0; q < Worksheet::kQuestions; ++q) {
        sheet.questions[q] = texts[1 + 6 * q];
        std::copy_n(texts.cbegin() + 2 + 6 * q, 4, sheet.answers[q].begin());
        sheet.correct[q] = texts[6 + 6 * q];
    }
    try {
        folder.platform.file1().openForOutput(kSheet);
        writeworksheet(folder.platform.file1(), sheet);
        folder.platform.file1().close();
        return 0;
    } catch (const FileError &e) {
        return folder.platform.file1().isOpen() ? -1 : 1 + int(e.kind());
    }
}

// Loads a worksheet file; returns the FileError kind it failed with, or -1.
static int load(DataFolder &folder, const QString &file)
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

class TestModule1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setupform_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QPointF>("topLeft");
        QTest::addColumn<bool>("picture1");
        QTest::newRow("1024x768, with a Picture1") << QSize(1024, 768) << QPointF(1680, 1260) << true;
        QTest::newRow("800x600 fits exactly") << QSize(800, 600) << QPointF(0, 0) << false;
        QTest::newRow("640x480 cuts the form off") << QSize(640, 480) << QPointF(-1200, -900) << false;
        QTest::newRow("odd size keeps the half twip") << QSize(1023, 767) << QPointF(1672.5, 1252.5) << false;
    }

    void setupform()
    {
        QFETCH(QSize, screen);
        QFETCH(QPointF, topLeft);
        QFETCH(bool, picture1);
        TestApp app(false);
        app.screen = FakeScreen(screen.width(), screen.height());
        Form form(QStringLiteral("Plain"));
        form.setFormSize(3000, 2000);
        auto *picture2 = form.add<PictureBox>(QStringLiteral("Picture2"));
        const QColor before = picture2->backColor();
        if (picture1)
            form.add<PictureBox>(QStringLiteral("Picture1"));
        app.m.setupform(form);
        QCOMPARE(QPointF(form.left(), form.top()), topLeft);
        QCOMPARE(form.size(), QSize(800, 600)); // 12000 by 9000 twips
        QCOMPARE(form.caption(), QStringLiteral("Velmora"));
        QCOMPARE(form.backColor(), QColor(39, 63, 137));
        if (picture1)
            QCOMPARE(form.control(QStringLiteral("Picture1"))->backColor(), QColor(49, 135, 214));
        QCOMPARE(picture2->backColor(), before);
        QVERIFY(!app.screen.busy);
    }

    void handMadeWorksheet()
    {
        DataFolder folder;
        const QString name = QStringLiteral("multiple/Les planètes& et leurs lunes.txt");
        QVERIFY(QFile::copy(QStringLiteral(VELMORA_SOURCE_TESTDATA "/handmade-worksheet.txt"), folder.path(name)));
        QCOMPARE(load(folder, name), -1);
        // What it reads as, written out apart from the program: its 61 texts with each "&"
        // as ",", in UTF-8.
        const QString asRead = QStringLiteral(VELMORA_SOURCE_TESTDATA "/handmade-worksheet-as-read.txt");
        QCOMPARE(textsOf(folder.m), QString::fromUtf8(folder.read(asRead)).split(u'\n', Qt::SkipEmptyParts));
        // Written again, byte for byte the same: 72 lines in CR LF, the comma rule, the
        // blank lines and the code page.
        QCOMPARE(save(folder, textsOf(folder.m)), 0);
        QCOMPARE(folder.read(kSheet), folder.read(name));

        // Another worksheet, cut after line 70 (answer D of question 10), read over it:
        // what was read is replaced, the rest stays.
        QCOMPARE(save(folder, sample(QStringLiteral("New"))), 0);
        folder.write(kSheet, folder.read(kSheet).split('\n').mid(0, 70).join('\n') + '\n');
        QStringList expected = sample(QStringLiteral("New"));
        expected.last() = folder.m.rightans[10];
        QCOMPARE(load(folder, kSheet), int(FileError::Kind::PastEnd));
        QCOMPARE(textsOf(folder.m), expected);
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
        const bool root = geteuid() == 0;
        const bool mounted = fault == QLatin1String("full") || (fault == QLatin1String("read-only") && root);
        if (mounted && (!root || mount("tmpfs", QFile::encodeName(multiple).constData(), "tmpfs", 0, "size=16k") != 0))
            QSKIP("mounting a small tmpfs needs root, on a system that allows it");
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
            std::signal(SIGXFSZ, SIG_IGN); // a file held to the limit fails to grow, with EFBIG
            if (fault == QLatin1String("limit"))
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
    // new one, and the old one only while no save has finished. The temporary files
    // that kills leave are cleaned, but a young one may be another copy's save under way
    // on a shared folder, so it is left when only old ones are asked for.
    void killedSavesLeaveOldOrNew()
    {
        DataFolder folder;
        const QByteArray multiple = QFile::encodeName(folder.path(QStringLiteral("multiple")));
        QList<QByteArray> whole; // the old worksheet, then the two that the child saves
        for (const char *title : {"Old", "Alpha", "Beta"}) {
            QCOMPARE(save(folder, sample(QString::fromLatin1(title))), 0);
            whole << folder.read(kSheet);
        }
        folder.write(QStringLiteral("multiple/track.txt.x9Y8z7"), "half", 3600); // a save killed an hour ago
        folder.write(QStringLiteral("multiple/notes.txt.bak"), "not a temporary file");
        for (int round = 0; round < 60; ++round) {
            const quint32 stage = std::array{IN_CREATE, IN_CLOSE_WRITE, IN_MOVED_TO}[round % 3];
            const int saves = round / 3 % 3 + 1;
            pollfd ready{inotify_init1(IN_CLOEXEC), POLLIN, 0}; // waited for ten seconds at most
            QVERIFY(inotify_add_watch(ready.fd, multiple.constData(), stage) >= 0);
            const QByteArray before = folder.read(kSheet);
            const pid_t pid = fork();
            if (pid == 0)
                for (int i = 0;; ++i) // the child saves without end
                    save(folder, sample(QString::fromLatin1(i % 2 ? "Beta" : "Alpha")));
            int seen = 0;
            char events[4096];
            while (seen < saves && poll(&ready, 1, 10000) == 1 && read(ready.fd, events, sizeof events) > 0)
                ++seen; // at least one event each
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            ::close(ready.fd);
            QVERIFY2(seen == saves, "the saving child stopped");
            const QByteArray now = folder.read(kSheet);
            QVERIFY2((now == before && saves == 1 && stage != IN_MOVED_TO) || now == whole[1] || now == whole[2],
                     qPrintable(QStringLiteral("round %1: %2 bytes of something else").arg(round).arg(now.size())));
            QCOMPARE(removeStrayTemporaries(folder.path(QStringLiteral("multiple")), 600), round == 0 ? 1 : 0);
            removeStrayTemporaries(folder.path(QStringLiteral("multiple")));
            QCOMPARE(folder.files(), QStringList({QStringLiteral("notes.txt.bak"), QStringLiteral("sheet.txt")}));
        }
    }
};

QTEST_MAIN(TestModule1)
#include "tst_module1.moc"
