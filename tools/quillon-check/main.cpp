// Checks a data folder, or a catalogue on a PostgreSQL server, and reports
// what it finds; with --repair it first makes a backup and then repairs what
// can be repaired without losing text.
// Exit codes: 0 clean, 1 problems found (or left after a repair), 2 error.

#include "maintenance/backup.h"
#include "maintenance/integritycheck.h"
#include "maintenance/integrityrepair.h"
#include "store/commandline.h"
#include "store/database.h"
#include "store/datafolderchoice.h"
#include "store/datafolderlock.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

using namespace quillon;

namespace {

QString plain(QString text)
{
    // Messages use CR as line break inside boxes; a terminal wants LF.
    return text.replace('\r', '\n');
}

void print(QTextStream& out, const IntegrityReport& report)
{
    if (report.clean()) {
        out << "No problems found.\n";
        return;
    }
    out << report.problems.size() << " problem(s) found, " << report.repairableCount()
        << " repairable:\n";
    for (const IntegrityProblem& p : report.problems)
        out << "  " << p.text << (p.repairable ? "" : "  [not repairable]") << '\n';
}

int usage(QTextStream& err, const QString& why = {})
{
    if (!why.isEmpty())
        err << "quillon-check: " << why << '\n';
    err << "usage: quillon-check DATA_FOLDER [--repair] [--thorough]\n"
           "       quillon-check SERVER_URI [--data DIR] [--repair] [--thorough]\n"
           "       quillon-check --catalogue SERVER_URI DATA_FOLDER [--repair] [--thorough]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("quillon-check");
    QCoreApplication::setApplicationVersion(QUILLON_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Checks a Quillon data folder, or a catalogue on a PostgreSQL server, and repairs\n"
        "it on request. A server is named by a libpq URI, postgresql://user@host:port/db;\n"
        "its backups go into the data folder's backup folder.\n"
        "Exit codes: 0 clean, 1 problems found, 2 error.");
    parser.addPositionalArgument(
        "DATA_FOLDER|SERVER_URI",
        "The data folder to check, or the server whose catalogue is checked.");
    const QCommandLineOption catalogue =
        catalogueOption("Without it, the catalogue in DATA_FOLDER (or at SERVER_URI) is checked.");
    const QCommandLineOption data(
        "data",
        "With SERVER_URI: the data folder that keeps the backup made before a repair "
        "(without it, the one the program uses).",
        "DIR");
    const QCommandLineOption repair("repair",
                                    "Back the catalogue up, then repair what can be repaired.");
    const QCommandLineOption thorough(
        "thorough", "Also have SQLite verify every page of every file (a data folder only).");
    parser.addOption(catalogue);
    parser.addOption(data);
    parser.addOption(repair);
    parser.addOption(thorough);
    if (const std::optional<int> done = answerCommandLine(parser, app.arguments()))
        return *done;
    ServerAddress server;
    if (const std::optional<int> bad = readCatalogueOption(parser, catalogue, server))
        return *bad;

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = parser.positionalArguments();
    const bool uriGiven = args.size() == 1 && ServerAddress::looksLikeUri(args.first());
    if (args.size() != 1 || (uriGiven && server.isValid()) || (!uriGiven && parser.isSet(data)))
        return usage(err);
    QString dataDir;
    if (uriGiven) {
        QString why;
        server = ServerAddress::parse(args.first(), &why);
        if (!server.isValid())
            return usage(err, why);
        // The data folder is written only by a repair's backup.
        const DataFolderChoice choice = chooseDataFolder(
            QCoreApplication::applicationDirPath(), parser.value(data),
            parser.isSet(repair) ? FolderPreparation::Create : FolderPreparation::Look);
        if (!choice.ok() && parser.isSet(repair)) {
            err << "quillon-check: " << choice.error << '\n';
            return 2;
        }
        dataDir = choice.dir;
    } else {
        const QFileInfo dir(args.first());
        if (!dir.isDir()) {
            err << "quillon-check: \"" << args.first() << "\" is not a folder.\n";
            return 2;
        }
        dataDir = dir.absoluteFilePath();
    }
    DataFolder folder(dataDir);
    folder.setServer(server);
    if (folder.onServer()) {
        // A server that cannot be reached is an error, not a finding.
        Database probe;
        if (!probe.openServer(server)) {
            err << "quillon-check: " << plain(probe.lastError()) << '\n';
            return 2;
        }
    }
    // A repair under a running program would change files it holds open;
    // holding the lock also keeps the program from starting mid-repair. A
    // server's repair is one transaction the other clients wait for.
    DataFolderLock lock(dataDir);
    if (parser.isSet(repair) && !folder.onServer() && !lock.tryLock()) {
        const qint64 pid = lock.holderPid();
        err << "quillon-check: Quillon has this data folder open"
            << (pid > 0 ? QStringLiteral(" (process %1)").arg(pid) : QString())
            << "; close it first. Nothing was changed.\n";
        return 2;
    }
    IntegrityCheck check(folder);
    const bool pages = parser.isSet(thorough) && !folder.onServer();
    if (parser.isSet(thorough) && folder.onServer())
        out << "The catalogue is on a server, which keeps its own pages: there is no SQLite "
               "page check, and --thorough checks what the quick check does.\n";
    const IntegrityReport before = pages ? check.thorough() : check.quick();
    print(out, before);
    if (!parser.isSet(repair) || before.clean())
        return before.clean() ? 0 : 1;

    // A backup made for a repair that can do nothing would only push an
    // older, good backup out.
    if (before.repairableCount() == 0) {
        out << "Nothing of this can be repaired here; no backup was made and nothing was "
               "changed. "
            << (folder.onServer() ? "Restore the catalogue from a backup in data/backup with "
                                    "quillon-migrate.\n"
                                  : "Restore the files named from a backup in data/backup.\n");
        return 1;
    }
    // Files the check could not read are not expected in the backup; every
    // other file must be copied, or nothing is changed. A server's copy is
    // whole or not made at all.
    const BackupResult backup = Backup(folder).beforeRepair();
    const QStringList blocking =
        folder.onServer() ? backup.failures : backup.failuresExcept(before.unusableFiles());
    if (!blocking.isEmpty()) {
        err << "The backup failed, so nothing was repaired:\n"
            << plain(blocking.join('\n')) << '\n';
        return 2;
    }
    out << "Backup written to " << backup.folder << '\n';

    const RepairResult result = IntegrityRepair(folder).run();
    for (const QString& action : result.actions)
        out << "  repaired: " << action << '\n';
    for (const QString& failure : result.failures)
        err << "  not repaired: " << plain(failure) << '\n';
    out.flush();
    const IntegrityReport after = pages ? check.thorough() : check.quick();
    out << "After the repair: ";
    print(out, after);
    if (!result.ok())
        return 2;
    return after.clean() ? 0 : 1;
}
