// Copies a whole Quillon catalogue between a data folder and a PostgreSQL
// server, in either direction or server to server, and prints the row count
// and checksum of every table on both sides. The target is complete or
// untouched. With --init it lays out an empty catalogue on a server.
// Exit codes: 0 done, 1 the copy failed (nothing changed), 2 bad usage.

#include "maintenance/cataloguecopy.h"
#include "store/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

using namespace quillon;

namespace {

QString plain(QString text)
{
    return text.replace('\r', '\n');
}

// A catalogue named on the command line: a server URI or a folder.
bool catalogueOf(const QString& text, DataFolder* folder, QString* error)
{
    if (ServerAddress::looksLikeUri(text)) {
        const ServerAddress server = ServerAddress::parse(text, error);
        if (!server.isValid())
            return false;
        // The folder side of a server catalogue is not used by a copy.
        *folder = DataFolder(QDir::tempPath());
        folder->setServer(server);
        return true;
    }
    const QFileInfo info(text);
    if (info.exists() && !info.isDir()) {
        *error = QString("\"%1\" is not a folder.").arg(text);
        return false;
    }
    *folder = DataFolder(info.absoluteFilePath());
    return true;
}

QString where(const DataFolder& folder)
{
    return folder.onServer() ? folder.server().withoutPassword()
                             : QDir::toNativeSeparators(folder.dir());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("quillon-migrate");
    QCoreApplication::setApplicationVersion(QUILLON_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Copies a whole Quillon catalogue between a data folder and a PostgreSQL server\n"
        "(either direction, or server to server), checks row counts and a checksum of\n"
        "every table on both sides, and prints them. The target ends up complete or\n"
        "untouched. A server is named by a libpq URI, postgresql://user@host:port/db;\n"
        "its password comes from ~/.pgpass, a service file or PGPASSWORD.\n"
        "Exit codes: 0 done, 1 failed (nothing changed), 2 bad usage.");
    parser.addPositionalArgument("FROM", "The data folder or server URI to copy from.");
    parser.addPositionalArgument("TO", "The data folder or server URI to copy to.");
    const QCommandLineOption replace("replace", "Overwrite a target that is not empty.");
    const QCommandLineOption init(
        "init", "Lay out an empty catalogue on the server URI and end (no FROM/TO).", "URI");
    const QCommandLineOption owner(
        "owner", "With --init: the role that owns the catalogue's tables.", "ROLE");
    const QCommandLineOption user("grant",
                                  "With --init: the login role the program uses; it gets only "
                                  "SELECT, INSERT, UPDATE and DELETE on the tables.",
                                  "ROLE");
    parser.addOption(replace);
    parser.addOption(init);
    parser.addOption(owner);
    parser.addOption(user);
    if (const std::optional<int> done = answerCommandLine(parser, app.arguments()))
        return *done;

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = parser.positionalArguments();
    if (parser.isSet(init)) {
        QString error;
        const ServerAddress server = ServerAddress::parse(parser.value(init), &error);
        if (!args.isEmpty() || !server.isValid()) {
            err << "quillon-migrate: " << (error.isEmpty() ? "--init takes no FROM/TO" : error)
                << '\n';
            return 2;
        }
        if (!CatalogueCopy::initServer(server, parser.value(owner), parser.value(user), &error)) {
            err << "quillon-migrate: " << plain(error) << '\n';
            return 1;
        }
        out << "Laid out an empty catalogue on " << server.withoutPassword() << '\n';
        return 0;
    }
    if (args.size() != 2) {
        err << "usage: quillon-migrate [--replace] FROM TO | quillon-migrate --init URI\n";
        return 2;
    }
    DataFolder from{QString()};
    DataFolder to{QString()};
    QString error;
    if (!catalogueOf(args.at(0), &from, &error) || !catalogueOf(args.at(1), &to, &error)) {
        err << "quillon-migrate: " << error << '\n';
        return 2;
    }
    if (!from.onServer() && !QFileInfo::exists(from.songDb())) {
        err << "quillon-migrate: \"" << args.at(0) << "\" holds no Quillon catalogue.\n";
        return 2;
    }
    out << "Copying " << where(from) << " to " << where(to) << '\n';
    out.flush();
    CatalogueCopy copy(from, to);
    copy.setReplace(parser.isSet(replace));
    copy.setProgress([&out](const QString& table, qint64 rows) {
        out << "  " << table << ": " << rows << " rows\n";
        out.flush();
    });
    if (!copy.run()) {
        err << "quillon-migrate: " << plain(copy.lastError()) << '\n';
        return 1;
    }
    out << "table\trows (source)\trows (target)\tsha256 (source)\tsha256 (target)\n";
    const QList<TableSum> source = copy.sourceSums();
    const QList<TableSum> target = copy.targetSums();
    for (qsizetype i = 0; i < source.size() && i < target.size(); ++i)
        out << source.at(i).table << '\t' << source.at(i).rows << '\t' << target.at(i).rows << '\t'
            << source.at(i).sha256 << '\t' << target.at(i).sha256 << '\n';
    out << "Done: every table matches its source.\n";
    return 0;
}
