// One room of a shared catalogue, for the two-room test: makes N edits on
// the same few songs another room edits at the same time, each based on
// what it has just read, and prints every edit with its outcome:
//   T song slot track asRead new A|C     a track (A acknowledged, C conflict)
//   F song asRead new A|C                the artist field
//   N title A|T                          a new song (T: title taken)
// Fields are separated by tabs.
//
// usage: quillon-roomchild SERVER_URI ROOM EDITS SEED

#include "songs/songstore.h"

#include <cstdio>
#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTextStream>

using namespace quillon;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fputs("usage: quillon-roomchild SERVER_URI ROOM EDITS SEED\n", stderr);
        return 2;
    }
    DataFolder folder(QCoreApplication::applicationDirPath());
    folder.setServer(ServerAddress::parse(args.at(1)));
    SongStore store(folder);
    if (!store.open()) {
        std::fprintf(stderr, "%s\n", qPrintable(store.lastError()));
        return 2;
    }
    const QString room = args.at(2);
    const int edits = args.at(3).toInt();
    QRandomGenerator random(args.at(4).toUInt());
    QTextStream out(stdout);
    auto outcome = [&store](bool ok) {
        if (ok)
            return QStringLiteral("A");
        if (!store.changedElsewhere())
            std::fprintf(stderr, "failed: %s\n", qPrintable(store.lastError()));
        return QStringLiteral("C");
    };
    for (int n = 0; n < edits; ++n) {
        const QString song = QString("Shared %1").arg(random.bounded(5));
        const QString text = QString("%1-%2").arg(room).arg(n);
        const int dice = int(random.bounded(100));
        if (dice < 70) {
            const int slot = 1 + int(random.bounded(2));
            const int track = 1 + int(random.bounded(3));
            const QString asRead = store.trackRow(song, slot).value(track - 1);
            const bool ok = store.writeTracks(song, slot, track, {text}, {asRead});
            out << "T\t" << song << '\t' << slot << '\t' << track << '\t' << asRead << '\t' << text
                << '\t' << outcome(ok) << '\n';
        } else if (dice < 90) {
            const std::optional<SongRecord> record = store.song(song);
            const QString asRead = record ? record->text("artist") : QString();
            const bool ok = store.updateFields(song, {{"artist", text}}, {{"artist", asRead}});
            out << "F\t" << song << '\t' << asRead << '\t' << text << '\t' << outcome(ok) << '\n';
        } else {
            const QString title = QString("Pool %1").arg(random.bounded(40));
            bool ok = !store.titleExists(title) && store.create({title, {}, {}, {}});
            out << "N\t" << title << '\t' << (ok ? "A" : "T") << '\n';
            if (!ok && !store.titleTaken() && !store.titleExists(title))
                std::fprintf(stderr, "create failed: %s\n", qPrintable(store.lastError()));
        }
    }
    return 0;
}
