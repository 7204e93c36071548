#pragma once

#include "store/datafolder.h"

#include <atomic>
#include <memory>
#include <QObject>

class QThread;

namespace quillon {

// Builds a missing search index in a thread of its own while the program is
// in use: a catalogue made before the index existed, or one whose index a
// repair threw away. The thread first checks whether anything is missing,
// so a start with a complete index costs the program nothing. Stopping
// waits for the batch under way; what was built stays, and the next start
// goes on from there. The thread opens its own connections (Qt's belong to
// the thread that made them).
class SearchIndexBuilder final : public QObject {
    Q_OBJECT
public:
    explicit SearchIndexBuilder(const DataFolder& folder, QObject* parent = nullptr);
    ~SearchIndexBuilder() override;

    // Checks the index in the background and builds what is missing; once
    // per builder.
    void start();
    // Asks the build to stop after its current batch and waits for that.
    void stop();

    // A build is under way (the index was found incomplete).
    bool isBuilding() const { return m_percent >= 0; }
    // How far it has come, 0-100; -1 while no build is under way.
    int percent() const { return m_percent; }
    // The thread has ended (or never started).
    bool isDone() const { return m_done; }

signals:
    // A build is under way and has come this far (0 when it starts).
    void progressChanged(int percent);
    // The thread has ended: the index is complete, or the build stopped or
    // failed (complete false; it goes on at the next start).
    void finished(bool complete);

private:
    void work();
    void post(int percent);
    void end(bool complete);

    DataFolder m_folder;
    std::unique_ptr<QThread> m_thread;
    std::atomic_bool m_stop = false;
    int m_percent = -1;
    bool m_done = true;
};

} // namespace quillon
