#pragma once

#include "songs/songrecord.h"

#include <QString>

namespace quillon {

// The current song's fields as texts, with fixed substitutes for empty fields,
// plus the name of the device whose tracks are shown. The preview, print and
// lyrics windows take what they show from here.
struct SongDetails {
    QString deviceName;
    QString artist;
    QString words;
    QString composer;
    QString publisher;
    QString recordCompany;
    QString compositionDate;
    QString tempo;
    QString key;
    QString signature;
    QString length;
    QString style;
    QString mediumNumber;
    QString mediumTimeFrom;
    QString mediumTimeTo;
    QString noiseReduction;
    QString counterFrom;
    QString counterTo;
    QString smpteTime;
    QString songInfoNote;
    QString mediumType;
    QString smpteType;
    QString lengthTime;
    QString lengthFeet;
    QString producer1;
    QString producer2;
    QString technician1;
    QString technician2;
    QString technician3;
    QString note;

    // Fills every element from a song row (the device name is left alone).
    void readFrom(const SongRecord& song);
};

} // namespace quillon
