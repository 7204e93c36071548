// Searches the whole catalogue of a data folder, or of the catalogue on a
// PostgreSQL server, as the program's search window does, and prints one hit
// per line, tab-separated: kind, subject, slot, track, the words in context.
// Exit codes: 0 hits found, 1 none, 2 error or bad usage.

#include "maintenance/searchbuild.h"
#include "search/cataloguesearch.h"
#include "songs/songstore.h"
#include "store/commandline.h"
#include "store/datafolderchoice.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

using namespace quillon;

namespace {

QString kindWord(SearchHit::Kind kind)
{
    static const char* const words[] = {"Song",   "Track",  "Session", "Note",
                                        "Lyrics", "Medium", "Device",  "Notebook"};
    return QString::fromLatin1(words[int(kind)]);
}

// One field of a line: a tab or line break inside would split it.
QString field(QString text)
{
    for (QChar& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

int fail(const QString& why)
{
    QTextStream(stderr) << "quillon-find: " << why.simplified() << '\n';
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("quillon-find");
    QCoreApplication::setApplicationVersion(QUILLON_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Searches the whole Quillon catalogue: songs by title and details, track texts, session\n"
        "details, song notes, lyrics, media, devices and the notebook. Words are found at the\n"
        "start of words, all of them required; \"quoted words\" as a phrase; case and accents\n"
        "are ignored. One hit per line, tab-separated: kind, subject (song, medium or device),\n"
        "slot, track, and the words around the match.\n"
        "Exit codes: 0 hits found, 1 none, 2 error or bad usage.");
    parser.addPositionalArgument("QUERY", "What to search for (several words are one query).",
                                 "QUERY...");
    const QCommandLineOption data("data", "The data folder (without it, the one the program uses).",
                                  "DIR");
    const QCommandLineOption catalogue =
        catalogueOption("Without it, the catalogue in the data folder is searched.");
    const QCommandLineOption build(
        "build", "Build the search index first where it is incomplete (a catalogue from before "
                 "the index, or after a repair).");
    const QCommandLineOption limit("limit", "At most N hits of each kind (default 20).", "N", "20");
    parser.addOption(data);
    parser.addOption(catalogue);
    parser.addOption(build);
    parser.addOption(limit);
    if (const std::optional<int> done = answerCommandLine(parser, app.arguments()))
        return *done;
    ServerAddress server;
    if (const std::optional<int> bad = readCatalogueOption(parser, catalogue, server))
        return *bad;
    bool limitOk = false;
    const int perKind = parser.value(limit).toInt(&limitOk);
    if (!limitOk || perKind < 1)
        return fail("--limit wants a number of 1 or more (try --help)");
    const SearchQuery query(parser.positionalArguments().join(' '));
    if (query.isEmpty())
        return fail("nothing to search for: give at least one word (try --help)");

    const DataFolderChoice choice = chooseDataFolder(QCoreApplication::applicationDirPath(),
                                                     parser.value(data), FolderPreparation::Look);
    if (!choice.ok())
        return fail(choice.error);
    DataFolder folder(choice.dir);
    folder.setServer(server);
    {
        // A catalogue that cannot be opened is an error, not an empty result.
        SongStore songs(folder);
        if (!songs.open())
            return fail(songs.lastError().isEmpty()
                            ? QStringLiteral("no catalogue in ") + choice.dir
                            : songs.lastError());
    }
    SearchBuild index(folder);
    if (!index.complete()) {
        if (parser.isSet(build)) {
            if (!index.run())
                return fail("the search index could not be built: " + index.lastError());
        } else {
            QTextStream(stderr) << "quillon-find: the search index is not complete, so hits may "
                                   "be missing; --build builds it.\n";
        }
    }
    CatalogueSearch search(folder);
    const QList<SearchHit> hits = search.find(query, perKind);
    if (!search.lastError().isEmpty())
        return fail(search.lastError());
    QTextStream out(stdout);
    for (const SearchHit& hit : hits)
        out << kindWord(hit.kind) << '\t' << field(hit.subject) << '\t' << hit.slot << '\t'
            << hit.track << '\t' << field(hit.context) << '\n';
    return hits.isEmpty() ? 1 : 0;
}
