#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

class QObject;

namespace velmora::test {

class TestApp;

// A seeded random walk through the running program: real routed mouse events (moves,
// presses of any buttons, drags, releases, clicks) and keys sent to the window in front,
// with only the printer and the message boxes faked (their answers come from the seed).
// Now and then it does a whole task (fills and saves the wizard, deletes from the
// catalogue, answers a quiz to its end), so that the checks below meet their cases. The
// forms' timers keep the walk's time, not the clock's: between two events each timer that
// is on ticks once, so a seed replays exactly, in any process and at any load.
// After every event it checks what must always hold:
//   - one form per slot: every form alive is the one in its slot;
//   - file slot 1 is closed;
//   - the list file parses, and loses a title only through a delete answered with OK
//     (a Cancel deletes nothing);
//   - a save that reports success changes or creates only its own worksheet file and
//     the list; a failed save, and anything else, changes no file of the data folder;
//   - framed windows keep their 12000 by 9000 twips;
//   - a score shown ("8 out of 10") never exceeds its total.
// Ending the program (its "Exit") starts it again, as a teacher would.
class Walker
{
public:
    explicit Walker(std::uint32_t seed);
    ~Walker();

    // Runs `events` events; returns an empty text, or what broke with the seed and the
    // last events, so the walk can be replayed.
    QString run(int events);

    // Every event so far, numbered, with what the clock could have changed after it.
    const QStringList &events() const { return m_events; }
    int restarts() const { return m_restarts; }
    int saves() const { return m_saves; }
    int screensSeen() const { return int(m_screens.size()); }

private:
    struct Snapshot;
    void start();
    void step();
    QString check(const Snapshot &before, const Snapshot &after);
    Snapshot snapshot() const;
    void note(const QString &event);

    std::uint32_t m_seed;
    std::unique_ptr<QObject> m_clock; // holds the forms' timers to the walk's time
    std::unique_ptr<TestApp> m_first; // owns the data folder of the whole walk
    std::unique_ptr<TestApp> m_restarted; // the program after its latest restart
    TestApp *m_app = nullptr;
    QStringList m_events;
    QSet<QString> m_screens;
    int m_restarts = 0;
    int m_saves = 0;
    int m_event = 0;
};

} // namespace velmora::test
