// A small window with the user guide of Quillon. It is a program of its own so
// that it can stay open beside the main window.
#include <QApplication>
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
)";
} // namespace

int main(int argc, char* argv[])
{
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
