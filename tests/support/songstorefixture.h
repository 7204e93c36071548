#pragma once

#include "songs/songstore.h"
#include "tempdatafolder.h"

#include <QtGlobal>

namespace quillon::test {

// A fresh data folder with its song store open: the start of every test of
// the song store or of what reads it.
struct SongStoreFixture {
    TempDataFolder tmp;
    SongStore store{tmp.folder()};

    SongStoreFixture()
    {
        if (!store.open())
            qFatal("song store: %s", qPrintable(store.lastError()));
    }
};

} // namespace quillon::test
