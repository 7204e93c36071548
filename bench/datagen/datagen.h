#pragma once

#include <QString>

namespace quillon::bench {

struct GeneratedFolderPlan {
    int songs = 1000; // rows of xtrax, the training song included
    int media = 5000;
    int styles = 250;
};

// Title of the i-th generated song (0-based); distinct for every i.
QString generatedTitle(int i);
// Name of the j-th generated medium (0-based).
QString generatedMediumName(int j);

// Lays out a complete data folder in dir (which must not hold one yet): the
// training song and ten devices as a new installation has them, then the
// generated songs with their ten track rows and all 96 tracks filled, the
// styles and the media. Returns false and sets error on failure.
bool generateDataFolder(const QString& dir, const GeneratedFolderPlan& plan,
                        QString* error = nullptr);

} // namespace quillon::bench
