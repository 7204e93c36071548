// Checks a data folder and reports what it finds; with --repair it first makes
// a backup and then repairs what can be repaired without losing text.
// Exit codes: 0 clean, 1 problems found (or left after a repair), 2 error.

#include "maintenance/backup.h"
#include "maintenance/integritycheck.h"
#include "maintenance/integrityrepair.h"
#include "store/commandline.h"
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("quillon-check");
    QCoreApplication::setApplicationVersion(QUILLON_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription("Checks a Quillon data folder and repairs it on request.\n"
                                     "Exit codes: 0 clean, 1 problems found, 2 error.");
    parser.addPositionalArgument("DATA_FOLDER", "The data folder to check.");
    const QCommandLineOption repair("repair",
                                    "Back the folder up, then repair what can be repaired.");
    const QCommandLineOption thorough("thorough",
                                      "Also have SQLite verify every page of every file.");
    parser.addOption(repair);
    parser.addOption(thorough);
    if (const std::optional<int> done = answerCommandLine(parser, app.arguments()))
        return *done;

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1) {
        err << "usage: quillon-check DATA_FOLDER [--repair] [--thorough]\n";
        return 2;
    }
    const QFileInfo dir(args.first());
    if (!dir.isDir()) {
        err << "quillon-check: \"" << args.first() << "\" is not a folder.\n";
        return 2;
    }
    // A repair under a running program would change files it holds open;
    // holding the lock also keeps the program from starting mid-repair.
    DataFolderLock lock(dir.absoluteFilePath());
    if (parser.isSet(repair) && !lock.tryLock()) {
        const qint64 pid = lock.holderPid();
        err << "quillon-check: Quillon has this data folder open"
            << (pid > 0 ? QStringLiteral(" (process %1)").arg(pid) : QString())
            << "; close it first. Nothing was changed.\n";
        return 2;
    }
    const DataFolder folder(dir.absoluteFilePath());
    IntegrityCheck check(folder);
    const IntegrityReport before = parser.isSet(thorough) ? check.thorough() : check.quick();
    print(out, before);
    if (!parser.isSet(repair) || before.clean())
        return before.clean() ? 0 : 1;

    // A backup made for a repair that can do nothing would only push an
    // older, good backup out.
    if (before.repairableCount() == 0) {
        out << "Nothing of this can be repaired here; no backup was made and nothing was "
               "changed. Restore the files named from a backup in data/backup.\n";
        return 1;
    }
    // Files the check could not read are not expected in the backup; every
    // other file must be copied, or nothing is changed.
    const BackupResult backup = Backup(folder).beforeRepair();
    const QStringList blocking = backup.failuresExcept(before.unusableFiles());
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
    const IntegrityReport after = parser.isSet(thorough) ? check.thorough() : check.quick();
    out << "After the repair: ";
    print(out, after);
    if (!result.ok())
        return 2;
    return after.clean() ? 0 : 1;
}
