// Kills a child that writes through the song store with SIGKILL at random
// moments and checks the data folder after every kill: the ten track rows of
// every song, no track row without its song, no title twice, and every write
// the child saw acknowledged is there.
//
// QUILLON_CRASH_KILLS (default 300) sets the number of kills,
// QUILLON_CRASH_SEED the random seed (printed, so a failure can be replayed).

#include "crashlog.h"
#include "maintenance/integritycheck.h"
#include "songs/songstore.h"
#include "tempdatafolder.h"

#include <csignal>
#include <cstdio>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

using namespace quillon;
using namespace quillon::crash;

class TestCrashHarness final : public QObject {
    Q_OBJECT

private:
    struct Tally {
        int kills = 0;
        int checks = 0;
        int violations = 0;
        int inFlightApplied = 0; // calls cut short by the kill that had committed
        int inFlightDropped = 0; // ... and those that had not
        int acknowledged = 0;    // calls the child saw succeed
        QStringList examples;
        void violation(const QString& what)
        {
            ++violations;
            if (examples.size() < 20)
                examples << what;
        }
    };

    // Reads the log lines written since the last check into the model; an
    // intent without an outcome is returned for the caller to resolve.
    static std::optional<Op> readLog(const QString& path, qint64& offset, Model& model,
                                     int& acknowledged)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite))
            return std::nullopt;
        file.seek(offset);
        QByteArray data = file.readAll();
        const qsizetype end = data.lastIndexOf('\n') + 1;
        if (end < data.size())
            file.resize(offset + end); // a torn last line: the call never started
        data.truncate(end);
        offset += end;
        std::optional<Op> pending;
        for (const QByteArray& line : data.split('\n')) {
            if (line.startsWith("I ")) {
                Op op;
                if (Op::parse(line, &op))
                    pending = op;
            } else if (line == "A" && pending) {
                model.apply(*pending);
                ++acknowledged;
                pending.reset();
            } else if (line == "X") {
                pending.reset();
            }
        }
        return pending;
    }

    static void appendOutcome(const QString& path, qint64& offset, bool applied)
    {
        QFile file(path);
        if (file.open(QIODevice::Append)) {
            file.write(applied ? "A\n" : "X\n");
            offset += 2;
        }
    }

    // Whether the interrupted call reached the files: all of it or none.
    static bool wasApplied(SongStore& store, const Op& op)
    {
        const QStringList titles = store.titles();
        switch (op.kind) {
        case Op::Kind::Create:
            return titles.contains(op.title);
        case Op::Kind::Rename:
            return titles.contains(op.newTitle) && !titles.contains(op.title);
        case Op::Kind::Delete:
            return !titles.contains(op.title);
        case Op::Kind::Write:
            return store.trackRow(op.title, op.slot).mid(op.firstTrack - 1, op.texts.size()) ==
                   op.texts;
        }
        return false;
    }

    static void check(const DataFolder& folder, const QString& logPath, qint64& offset,
                      Model& model, Tally& tally)
    {
        ++tally.checks;
        const IntegrityReport report = IntegrityCheck(folder).quick();
        for (const IntegrityProblem& p : report.problems)
            tally.violation("invariant: " + p.text);

        SongStore store(folder);
        if (!store.open()) {
            tally.violation("cannot open the store: " + store.lastError());
            return;
        }
        if (const std::optional<Op> pending = readLog(logPath, offset, model, tally.acknowledged)) {
            const bool applied = wasApplied(store, *pending);
            if (applied)
                model.apply(*pending);
            ++(applied ? tally.inFlightApplied : tally.inFlightDropped);
            appendOutcome(logPath, offset, applied);
        }
        const QStringList titleList = store.titles();
        const QSet<QString> titles(titleList.begin(), titleList.end());
        for (const QString& t : model.titles())
            if (!titles.contains(t))
                tally.violation("acknowledged song missing: " + t);
        for (const QString& t : titles)
            if (!model.titles().contains(t))
                tally.violation("song that no acknowledged write made: " + t);
        for (auto song = model.cells().begin(); song != model.cells().end(); ++song) {
            QHash<int, QStringList> rows;
            for (auto cell = song.value().begin(); cell != song.value().end(); ++cell) {
                const int slot = cell.key() / 1000, track = cell.key() % 1000;
                if (!rows.contains(slot))
                    rows.insert(slot, store.trackRow(song.key(), slot));
                if (rows.value(slot).value(track - 1) != cell.value())
                    tally.violation(QString("acknowledged track lost: %1 slot %2 track %3")
                                        .arg(song.key())
                                        .arg(slot)
                                        .arg(track));
            }
        }
    }

private Q_SLOTS:
    void killAtRandomMoments()
    {
        const QString child = QStringLiteral(QUILLON_BIN_DIR) + "/quillon-crashchild";
        QVERIFY2(QFile::exists(child), qPrintable(child));
        const int wanted = qEnvironmentVariableIsSet("QUILLON_CRASH_KILLS")
                               ? qEnvironmentVariableIntValue("QUILLON_CRASH_KILLS")
                               : 300;
        const quint32 seed = qEnvironmentVariableIsSet("QUILLON_CRASH_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("QUILLON_CRASH_SEED"))
                                 : QRandomGenerator::global()->generate();
        std::printf("crash harness seed %u\n", seed);
        QRandomGenerator random(seed);

        // The data folder lives in memory where there is a tmpfs: a SIGKILL ends
        // the process, not the machine, so the page cache survives it and what
        // matters is the order of SQLite's writes, not the speed of fsync; in
        // memory a child gets through dozens of calls between two kills
        // instead of a few. QUILLON_CRASH_DIR puts it anywhere else (a disk).
        const QString base = qEnvironmentVariableIsSet("QUILLON_CRASH_DIR")
                                 ? qEnvironmentVariable("QUILLON_CRASH_DIR")
                             : QFileInfo("/dev/shm").isWritable() ? QString("/dev/shm")
                                                                  : QString();
        if (!base.isEmpty())
            qputenv("TMPDIR", QFile::encodeName(base));
        test::TempDataFolder tmp;
        std::printf("crash harness data folder %s\n", qPrintable(tmp.folder().dir()));
        const QString logPath = tmp.path() + "/acknowledged.log";
        Model model;
        {
            SongStore store(tmp.folder());
            QVERIFY(store.open());
            for (const QString& t : store.titles())
                model.addTitle(t);
        }
        qint64 offset = 0;
        Tally tally;
        QElapsedTimer clock;
        clock.start();
        int selfExits = 0;
        // A bound on time as well as on count, so a slow machine ends the run.
        while (tally.kills < wanted && clock.elapsed() < 240'000) {
            QProcess process;
            process.setProcessChannelMode(QProcess::SeparateChannels);
            QStringList args{tmp.folder().dir(), logPath, QString::number(seed + tally.kills)};
            // On a server the kill cuts the connection mid-transaction.
            if (tmp.onServer())
                args << tmp.folder().server().connectionUri();
            process.start(child, args);
            QVERIFY(process.waitForStarted());
            // Most kills land in the write loop; some during start-up and
            // recovery of the previous kill's journal.
            if (random.bounded(100) < 85)
                process.waitForReadyRead(10'000);
            process.waitForFinished(int(random.bounded(160)));
            if (process.state() == QProcess::NotRunning) {
                ++selfExits;
                tally.violation("child ended by itself: " +
                                QString::fromLocal8Bit(process.readAllStandardError()));
            } else {
                ::kill(pid_t(process.processId()), SIGKILL);
                process.waitForFinished(10'000);
                ++tally.kills;
            }
            check(tmp.folder(), logPath, offset, model, tally);
            if (selfExits > 5)
                break;
        }
        std::printf("crash harness: kills %d, checks %d, violations %d (calls cut short by "
                    "the kill: %d had committed, %d had not; acknowledged calls %d; %lld ms)\n",
                    tally.kills, tally.checks, tally.violations, tally.inFlightApplied,
                    tally.inFlightDropped, tally.acknowledged, qlonglong(clock.elapsed()));
        std::fflush(stdout);
        QVERIFY2(tally.violations == 0, qPrintable(tally.examples.join('\n')));
        QVERIFY2(tally.kills >= wanted, "the run ran out of time before all kills");
    }
};

QTEST_GUILESS_MAIN(TestCrashHarness)
#include "tst_crashharness.moc"
