#pragma once

#include <QString>

namespace quillon {

// Where the data of this run lives, and why there.
//
// A copy run from its build folder or copied alone into a folder of its own
// keeps the folder "data" beside the program. An installed copy (the program
// in <prefix>/bin, its desktop entry under <prefix>/share) keeps each user's
// data in the per-user data location instead: the program's folder is not
// the user's, even when root starts it. A folder given on the command line
// overrides both.
struct DataFolderChoice {
    enum class Origin { BesideProgram, PerUser, CommandLine };

    QString dir; // absolute and clean
    Origin origin = Origin::BesideProgram;
    // Why the usual place was not used, for the user; empty normally.
    QString note;
    // The folder cannot be used at all; the program must not start on it.
    QString error;

    bool ok() const { return error.isEmpty(); }
    // "beside the program", "per-user data location", "given with --data".
    QString originText() const;
};

// programDir/../share/applications/<id>.desktop exists and programDir is a "bin".
bool isInstalledProgram(const QString& programDir);

// Create: the folder chosen is made if missing and must be writable (the
// program's start). Look: nothing is made, a missing folder is taken as
// usable (to say which folder a start would use).
enum class FolderPreparation { Create, Look };

// The choice itself; perUserDir is what QStandardPaths gives for this user.
DataFolderChoice chooseDataFolder(const QString& programDir, const QString& givenDir,
                                  const QString& perUserDir,
                                  FolderPreparation preparation = FolderPreparation::Create);
// The same with this user's AppDataLocation.
DataFolderChoice chooseDataFolder(const QString& programDir, const QString& givenDir,
                                  FolderPreparation preparation = FolderPreparation::Create);

} // namespace quillon
