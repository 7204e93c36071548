#pragma once

#include "songs/songstore.h"
#include "store/catalogueevents.h"
#include "tempdatafolder.h"

#include <functional>
#include <QtGlobal>

namespace quillon::test {

// Another room on the same catalogue: a second song store, whose writes
// the program's `events` hear. On a server they are really announced and
// heard (the store writes as another client); on a data folder nobody
// announces anything, so the change is told to `events` as the server
// would tell it.
struct OtherRoom {
    CatalogueEvents& events;
    SongStore songs;

    OtherRoom(CatalogueEvents& heard, const DataFolder& folder) : events(heard), songs(folder)
    {
        if (folder.onServer() && !events.isListening() && !events.listen(folder.server()))
            qFatal("not listening to %s", qPrintable(folder.server().describe()));
        if (!songs.open())
            qFatal("other room: %s", qPrintable(songs.lastError()));
    }

    // Runs the write as the other room; false when it failed.
    bool does(const std::function<bool(SongStore&)>& write, const QString& kind,
              const QString& subject)
    {
        const QString own = CatalogueEvents::clientId();
        CatalogueEvents::setClientId(QStringLiteral("other room"));
        const bool done = write(songs);
        CatalogueEvents::setClientId(own);
        if (done && !songs.folder().onServer())
            emit events.changed(kind, subject);
        return done;
    }
};

} // namespace quillon::test
