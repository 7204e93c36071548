#pragma once

#include <memory>
#include <QString>

namespace quillon {

class DataFolder;
class Prompter;
class SongStore;

// Opens the catalogue at start: on the server serverUri names (from
// --catalogue or the settings) or, when it is empty, in the data folder as
// ever. When the server's catalogue cannot be opened (server down, login
// refused, no such database, no catalogue of this layout) the user is told
// why and asked whether to open the data folder's own catalogue for this
// session instead; No returns null and the program ends. data is left
// pointing where the catalogue was opened. A data folder that cannot be
// opened is reported and its store returned closed, as before.
std::unique_ptr<SongStore> openCatalogueAtStart(DataFolder& data, const QString& serverUri,
                                                Prompter& prompter);

// The start of every question that offers the data folder instead.
inline constexpr char kCatalogueFallbackQuestion[] = "The catalogue on the server cannot be opened";

} // namespace quillon
