// A small window with the user guide of Quillon. It is a program of its own so
// that it can stay open beside the main window.
#include "store/commandline.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextBrowser>

namespace {
const char* const kGuide = R"(
<h1>Quillon 05 &ndash; User Guide</h1>
<p>Quillon keeps a catalogue of your songs and, for every song, a track sheet:
what lies on each of up to 96 tracks of each of up to ten recording devices.</p>

<h2>Songs</h2>
<ul>
<li><b>File &rarr; New Song...</b> (Ctrl+N) asks for a title, the lyricist, the composer
and the date of composition. Titles are unique whatever their letter case.</li>
<li><b>File &rarr; Open Song</b> lists every song; choose one and press <i>Open</i>.</li>
<li><b>File &rarr; Close Song</b> puts the song away; <b>Edit &rarr; Delete Song</b> erases it
with all its tracks, notes and lyrics. The training song cannot be erased.</li>
</ul>

<h2>Tracks</h2>
<p>The grid shows 24 tracks of one device at a time. Type straight into a box: the text
is stored as soon as you leave the box. The buttons in the sidebar switch between the
four banks of tracks (1&ndash;24, 25&ndash;48, 49&ndash;72, 73&ndash;96) and show the list of
all 96 tracks. The lamps in the device panel below the grid choose the device.</p>

<h2>Devices</h2>
<p>Double-click a device name to see its record. Drag the device panel off the grid,
or click its corner image, to turn it into the floating devices bar.</p>

<h2>More</h2>
<p>The Options menu holds the song details, the session details, the recording devices,
the media library, the lyrics and the settings. The File menu previews and prints track
sheets and song details.</p>
<p>The small button at the top right sends Quillon to the notification area; double-click
its icon to bring the window back.</p>

<h2>Your data</h2>
<p>The About box names the folder your catalogue is kept in. Starting Quillon again while
it runs brings its window to the front; <code>quillon --data FOLDER</code> opens another
catalogue.</p>
)";

// --help and --version work without a display, before any window exists.
std::optional<int> readCommandLine(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("Help-Quillon05");
    QCoreApplication::setApplicationVersion(QUILLON_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription("Shows the Quillon user guide.");
    // QApplication takes the windowing system's options (-platform ...):
    // only what comes before the first of them is read here.
    QStringList args = app.arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (!arg.startsWith(QLatin1String("--")) && arg != QLatin1String("-h") &&
            arg != QLatin1String("-v") && arg != QLatin1String("-?")) {
            args = args.mid(0, i);
            break;
        }
    }
    return quillon::answerCommandLine(parser, args);
}
} // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> done = readCommandLine(argc, argv))
        return *done;
    QApplication app(argc, argv);
    QApplication::setApplicationName("Help-Quillon05");
    QTextBrowser browser;
    browser.setObjectName("helpText");
    browser.setWindowTitle("Quillon 05 Help");
    browser.setHtml(kGuide);
    browser.resize(640, 560);
    browser.show();
    return app.exec();
}
