#include "songs/songdetails.h"

namespace quillon {

void SongDetails::readFrom(const SongRecord& s)
{
    artist = s.text("artist");
    words = s.text("text");
    composer = s.text("composer");
    publisher = s.text("publisher");
    recordCompany = s.text("recordcomp");
    compositionDate = s.text("compodate");
    tempo = s.text("tempo");
    key = s.text("Key");
    signature = s.text("Signature");
    length = s.text("length", "00:00:00");
    style = s.text("Style");
    mediumNumber = s.text("Bandnummer");
    mediumTimeFrom = s.text("BandzeitVon");
    mediumTimeTo = s.text("BandzeitBis");
    noiseReduction = s.text("NoiseReduction", "");
    counterFrom = s.text("BandZählWerkVon", "00000");
    counterTo = s.text("BandZählWerkBis", "00000");
    smpteTime = s.text("SMPTEZeit", "00:00:00:00");
    songInfoNote = s.text("SongInfonote", "");
    mediumType = s.text("BandType", "");
    smpteType = s.text("SmpteType", "00");
    lengthTime = s.text("Lengthtime", "00:00:00");
    lengthFeet = s.text("Lengthft", "0");
    producer1 = s.text("Producer1");
    producer2 = s.text("Producer2");
    technician1 = s.text("Technician1");
    technician2 = s.text("Technician2");
    technician3 = s.text("Technician3");
    note = s.text("notiz1");
}

} // namespace quillon
