#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace velmora::test {

class TestApp;

// A seeded random walk through the running program: real routed mouse events (moves,
// presses of any buttons, drags, releases, clicks) and keys sent to the window in front,
// with only the printer and the message boxes faked (their answers come from the seed).
// After every event it checks what must always hold:
//   - at most one form per slot, and every visible form is the one in its slot;
//   - file slot 1 is closed;
//   - the list file parses, and loses a title only through a delete answered with OK
//     (a Cancel deletes nothing);
//   - a save that reports success changes or creates only its own worksheet file and
//     the list; a failed save, and anything else, changes no file at all;
//   - framed windows keep their 12000 by 9000 twips;
//   - score never exceeds total.
// Ending the program (its "Exit") starts it again, as a teacher would.
class Walker
{
public:
    explicit Walker(std::uint32_t seed);
    ~Walker();

    // Runs `events` events; returns an empty text, or what broke with the seed and the
    // last events, so the walk can be replayed.
    QString run(int events);

    int restarts() const { return m_restarts; }
    int saves() const { return m_saves; }
    int screensSeen() const { return m_screens.size(); }

private:
    struct Snapshot;
    void start();
    void step();
    QString check(const Snapshot &before);
    Snapshot snapshot() const;
    void note(const QString &event);

    std::uint32_t m_seed;
    std::unique_ptr<TestApp> m_first; // owns the data folder of the whole walk
    std::unique_ptr<TestApp> m_restarted; // the program after its latest restart
    TestApp *m_app = nullptr;
    QStringList m_recent;
    QStringList m_screens;
    int m_restarts = 0;
    int m_saves = 0;
    int m_event = 0;
};

} // namespace velmora::test
