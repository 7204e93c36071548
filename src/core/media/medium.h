#pragma once

#include "media/mediatypes.h"

#include <QString>

namespace quillon {

// One row of the media table. Every value is text, as the window's boxes hold
// it; an absent value reads as the empty text.
struct Medium {
    QString name;                          // bandnummer, the key
    QString brand;                         // brandname
    QString type;                          // bandtype, e.g. "3 - Digital Tape"
    QString serialNumber;                  // serialnr
    QString length;                        // lengthft: feet, MB or GB as the user writes it
    QString maxTime;                       // lengthtime: "hh:mm:ss"
    QString noiseReduction;                // noisereduction
    QString enteredOn;                     // enteredon
    QString separatedOn;                   // deletedon
    QString deleted = QStringLiteral("0"); // "1" separated, "0" in use

    bool isSeparated() const { return deleted.trimmed() == QLatin1String("1"); }
    void setSeparated(bool separated)
    {
        deleted = separated ? QStringLiteral("1") : QStringLiteral("0");
    }
    int typeNumber() const { return media::typeNumber(type); }
    int icon() const { return media::iconNumber(typeNumber(), isSeparated()); }

    friend bool operator==(const Medium&, const Medium&) = default;
};

} // namespace quillon
