#pragma once

#include "maintenance/integritycheck.h"

namespace quillon::searchcheck {

// Whether the search index agrees with what it indexes: as many rows as the
// data has, none left from rows that are gone; the thorough check also
// compares every song's texts with what the index holds for them. An index
// still being built is no problem (its build goes on by itself).
QList<IntegrityProblem> check(const DataFolder& folder, bool thorough);

// True when the catalogue has a search index (complete or being built).
bool present(const DataFolder& folder);

// Throws the whole index away and builds it anew; false (error set) when
// that fails.
bool rebuild(const DataFolder& folder, QString* error);

} // namespace quillon::searchcheck
