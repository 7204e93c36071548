// One room of a shared catalogue, for the two-room test: makes N edits on
// the same few songs, media and devices another room edits at the same time,
// each based on what it has just read, and prints every edit with its
// outcome:
//   T song slot track asRead new A|C     a track (A acknowledged, C conflict)
//   F song asRead new A|C                the artist field
//   M medium asRead new A|C              a medium's brand
//   D slot asRead new A|C                a device's seller
//   N title A|T                          a new song (T: title taken)
//   K name A|T                           a new medium (T: name taken)
// Fields are separated by tabs.
//
// usage: quillon-roomchild SERVER_URI ROOM EDITS SEED

#include "devices/deviceregister.h"
#include "media/mediastore.h"
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
    MediaStore media(folder);
    DeviceRegister devices(folder);
    auto outcome = [](bool ok, bool changedElsewhere, const QString& error) {
        if (ok)
            return QStringLiteral("A");
        if (!changedElsewhere)
            std::fprintf(stderr, "failed: %s\n", qPrintable(error));
        return QStringLiteral("C");
    };
    for (int n = 0; n < edits; ++n) {
        const QString song = QString("Shared %1").arg(random.bounded(5));
        const QString text = QString("%1-%2").arg(room).arg(n);
        // Media and devices open a connection per call, which is slow: a
        // few of them come first, so that both rooms make them at once.
        const int dice = int(random.bounded(100)) + (n < edits / 40 ? 100 : 0);
        if (dice < 75) {
            const int slot = 1 + int(random.bounded(2));
            const int track = 1 + int(random.bounded(3));
            const QString asRead = store.trackRow(song, slot).value(track - 1);
            const bool ok = store.writeTracks(song, slot, track, {text}, {asRead});
            out << "T\t" << song << '\t' << slot << '\t' << track << '\t' << asRead << '\t' << text
                << '\t' << outcome(ok, store.changedElsewhere(), store.lastError()) << '\n';
        } else if (dice < 92) {
            const std::optional<SongRecord> record = store.song(song);
            const QString asRead = record ? record->text("artist") : QString();
            const bool ok = store.updateFields(song, {{"artist", text}}, {{"artist", asRead}});
            out << "F\t" << song << '\t' << asRead << '\t' << text << '\t'
                << outcome(ok, store.changedElsewhere(), store.lastError()) << '\n';
        } else if (dice < 100) {
            const QString title = QString("Pool %1").arg(random.bounded(40));
            bool ok = !store.titleExists(title) && store.create({title, {}, {}, {}});
            out << "N\t" << title << '\t' << (ok ? "A" : "T") << '\n';
            if (!ok && !store.titleTaken() && !store.titleExists(title))
                std::fprintf(stderr, "create failed: %s\n", qPrintable(store.lastError()));
        } else if (dice < 135) {
            const QString name = QString("Shared medium %1").arg(random.bounded(3));
            const std::optional<Medium> asRead = media.find(name);
            Medium edited = asRead.value_or(Medium{});
            edited.brand = text;
            const bool ok = media.update(name, edited, asRead);
            out << "M\t" << name << '\t' << (asRead ? asRead->brand : QString()) << '\t' << text
                << '\t' << outcome(ok, media.changedElsewhere(), media.lastError()) << '\n';
        } else if (dice < 170) {
            const int slot = 1 + int(random.bounded(3));
            const std::optional<DeviceRecord> asRead = devices.findSlot(slot);
            DeviceRecord edited = asRead.value_or(DeviceRecord{});
            edited.seller = text;
            const bool ok = devices.updateSlot(slot, edited, asRead);
            out << "D\t" << slot << '\t' << (asRead ? asRead->seller : QString()) << '\t' << text
                << '\t' << outcome(ok, devices.changedElsewhere(), devices.lastError()) << '\n';
        } else {
            // The store's own check alone: both rooms may add a name at once.
            Medium medium;
            medium.name = QString("Pool medium %1").arg(random.bounded(6));
            const bool ok = media.add(medium);
            out << "K\t" << medium.name << '\t' << (ok ? "A" : "T") << '\n';
            if (!ok && !media.lastError().isEmpty() &&
                !media.lastError().contains("already a medium named"))
                std::fprintf(stderr, "add failed: %s\n", qPrintable(media.lastError()));
        }
    }
    return 0;
}
