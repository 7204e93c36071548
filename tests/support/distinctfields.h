#pragma once

// Records whose every field holds a value of its own, for round trips and
// printouts that must show a swapped or dropped field: no two fields (and no
// two variants of the same field) share a value, and the texts carry an
// apostrophe, a double quote and umlauts.

#include "devices/deviceregister.h"
#include "media/medium.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

namespace quillon::test {

// "<field> <variant> O'Neil "Ä" äöü": distinct per field and per variant.
QString distinctText(const QString& field, int variant = 1);

// Every field distinct; the dates and numbers look like dates and numbers.
// Variants differ in every field, so writing one over another shows a
// dropped field too.
DeviceRecord distinctDevice(int variant = 1);
// Every field distinct; odd variants are in use, even ones separated.
Medium distinctMedium(int variant = 1);

// "field: value" per field, in declaration order, so that QCOMPARE names the
// first field that differs.
QStringList fieldsOf(const DeviceRecord& device);
QStringList fieldsOf(const Medium& medium);

// The named columns of the first row the statement selects, read with a
// connection of its own (so nothing a store caches hides a fault), as
// "column: value" lines; a null value reads as "column: <null>".
QStringList storedColumns(const QString& databasePath, const QString& sql,
                          const QStringList& columns, const QVariantList& binds = {});
// The same through whichever engine holds the folder's catalogue: the file,
// or the server when the folder has one.
QStringList storedColumns(const DataFolder& folder, const QString& file, const QString& sql,
                          const QStringList& columns, const QVariantList& binds = {});
// The same lines built from expected values.
QStringList columnLines(const QStringList& columns, const QVariantList& values);

} // namespace quillon::test
