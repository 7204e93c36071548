#pragma once

#include "songs/songdetails.h"
#include "store/songconstants.h"

#include <QStringList>

namespace quillon {

class CatalogueEvents;
class DataFolder;
class Settings;
class SongStore;
class Prompter;

// The state every window shares: one instance, owned by the program and
// handed to the windows that need it.
struct AppState {
    AppState(DataFolder& dataFolder, Settings& appSettings, SongStore& songStore,
             Prompter& appPrompter)
        : data(dataFolder), settings(appSettings), songs(songStore), prompter(appPrompter)
    {
    }

    DataFolder& data;
    Settings& settings;
    SongStore& songs;
    Prompter& prompter;
    // The changes other rooms make, heard while the catalogue is on a
    // server; null on a data folder, where nobody else writes.
    CatalogueEvents* events = nullptr;

    QString currentSong = kNoSongLoaded;
    int currentDeviceIndex = 1; // 1..10
    int currentTrackBank = 1;   // 1..4
    bool trackFillInProgress = false;
    bool lyricsWindowOpen = false;
    bool floatingBarOn = false;
    bool firstActivation = true;
    bool printRequested = false;
    bool dataKnownSound = false; // the start-up check passed (or had nothing to check)
    QStringList deviceNames;     // slot n is deviceNames[n - 1]
    int songCount = 0;
    QString currentDeviceName;
    SongDetails currentSongDetails;

    bool songLoaded() const { return currentSong != kNoSongLoaded; }
    // Device name of slot n (1-based); empty when the register has no such row.
    QString deviceName(int slot) const
    {
        return slot >= 1 && slot <= deviceNames.size() ? deviceNames.at(slot - 1) : QString();
    }
};

} // namespace quillon
