#include "common/appstate.h"
#include "common/scriptedprompter.h"
#include "documents/documenteditor.h"
#include "documents/docxpackage.h"
#include "documents/lyricswindow.h"
#include "documentwindowprobes.h"
#include "printing/printpreview.h"
#include "songs/songstore.h"
#include "store/settings.h"
#include "tempdatafolder.h"

#include <memory>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using namespace quillon;

namespace {

struct Run {
    explicit Run(const test::TempDataFolder& tmp)
        : folder(tmp.folder()), settings(tmp.settingsFile()), songs(folder),
          state(folder, settings, songs, prompter)
    {
        songs.open();
        state.currentSong = "Blue";
        state.currentSongDetails.readFrom(*songs.song("Blue"));
    }
    DataFolder folder;
    Settings settings;
    SongStore songs;
    ScriptedPrompter prompter;
    AppState state;
};

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void trigger(LyricsWindow& w, const char* action)
{
    w.findChild<QAction*>(action)->trigger();
}

} // namespace

class TestLyricsWindowFiles final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TempDataFolder> m_tmp;

private Q_SLOTS:
    void init()
    {
        m_tmp = std::make_unique<test::TempDataFolder>();
        SongStore songs(m_tmp->folder());
        QVERIFY(songs.open());
        QVERIFY(songs.create({"Blue", "Ann", "Bob", ""}));
    }

    void importDialogStartsInTheLyricsFolder()
    {
        Run run(*m_tmp);
        const QString lyricsDir = run.folder.lyricsDir();
        QVERIFY(!QDir(lyricsDir).exists());
        LyricsWindow w(run.state);
        trigger(w, "mnuImport"); // cancelled: nothing happens
        QCOMPARE(run.prompter.fileDialogDirs(), QStringList{lyricsDir});
        QVERIFY(QDir(lyricsDir).exists());
        QCOMPARE(run.prompter.fileDialogCaptions(), QStringList{"Save As"});
        QCOMPARE(run.prompter.fileDialogFilters(),
                 QStringList{"Blue (*.rtf);;Blue (*.doc);;Blue (*.txt);;Blue (*.docx)"});
        QVERIFY(run.prompter.asked().isEmpty());
        QVERIFY(w.document().isEmpty());
        trigger(w, "mnuExport");
        QCOMPARE(run.prompter.fileDialogDirs().last(), lyricsDir);
        w.close();
    }

    void upperCaseEndingIsUnknown()
    {
        Run run(*m_tmp);
        const QString file = m_tmp->path() + "/SONG.TXT";
        QVERIFY(writeFile(file, "Shouted words"));
        LyricsWindow w(run.state);
        run.prompter.answerFile(file);
        trigger(w, "mnuImport");
        QCOMPARE(run.prompter.askedTexts(), QStringList{"Unknown file format!"});
        QVERIFY(w.document().isEmpty());
        w.close();
    }

    void importOverUnsavedTextAsksFirst()
    {
        Run run(*m_tmp);
        const QString file = m_tmp->path() + "/words.txt";
        QVERIFY(writeFile(file, "Line one\r\nLine two\r\n"));
        LyricsWindow w(run.state);
        w.show();
        QTest::keyClicks(w.editor()->textEdit(), "typed");
        QVERIFY(w.isChanged());
        trigger(w, "mnuImport"); // the dialog cancelled: nothing to ask
        QVERIFY(run.prompter.asked().isEmpty());
        for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
            run.prompter.answerFile(file);
            run.prompter.answer(answer);
            trigger(w, "mnuImport");
            QCOMPARE(run.prompter.askedTexts().size(), answer == QMessageBox::No ? 1 : 2);
            QCOMPARE(run.prompter.askedTexts().last(),
                     QString("Lyrics changed!\rDo you want to exit anyway?"));
            if (answer == QMessageBox::No) {
                QCOMPARE(w.document().text(), QString("typed"));
                QVERIFY(w.isChanged());
            }
        }
        QVERIFY(w.document().text().startsWith("Line one\nLine two"));
        QVERIFY(!w.isChanged());
        // A clean window imports without asking, and closes without asking.
        run.prompter.answerFile(file);
        trigger(w, "mnuImport");
        QVERIFY(w.close());
        QCOMPARE(run.prompter.asked().size(), 2);
        QVERIFY(run.songs.song("Blue")->isNull("lyrics"));
    }

    void importedTextIsShownFromTheFirstLine_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<bool>("exportedFirst");
        QTest::newRow("text file") << "txt" << false;
        QTest::newRow("exported as text") << "txt" << true;
        QTest::newRow("exported as rtf") << "rtf" << true;
    }

    void importedTextIsShownFromTheFirstLine()
    {
        QFETCH(QString, ending);
        QFETCH(bool, exportedFirst);
        Run run(*m_tmp);
        LyricsWindow w(run.state);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTextEdit* edit = w.editor()->textEdit();
        const QString file = m_tmp->path() + "/three." + ending;
        if (exportedFirst) {
            w.document().setText("one\rtwo\rthree");
            run.prompter.answerFile(file);
            trigger(w, "mnuExport");
        } else {
            QVERIFY(writeFile(file, "one\r\ntwo\r\nthree\r\n"));
        }
        // Replaces something long that is scrolled to its end.
        w.document().setText(QString("filler\r").repeated(200));
        edit->moveCursor(QTextCursor::End);
        QTRY_VERIFY(edit->verticalScrollBar()->value() > 0);

        run.prompter.answerFile(file);
        trigger(w, "mnuImport");
        QVERIFY(run.prompter.asked().isEmpty());
        QCOMPARE(edit->verticalScrollBar()->value(), 0);
        const QList<QPair<int, int>> lines = test::paintedLines(edit);
        QCOMPARE(lines.size(), 3);
        QTextDocument* doc = w.document().textDocument();
        const int firstLineBottom =
            int(doc->documentMargin()) +
            QFontMetrics(QTextCursor(doc).charFormat().font()).lineSpacing();
        QVERIFY2(lines.first().first < firstLineBottom,
                 qPrintable(QString::number(lines.first().first)));
        w.close();
    }

    void importOfRtfKeepsFormatting()
    {
        Run run(*m_tmp);
        const QString file = m_tmp->path() + "/words.rtf";
        QVERIFY(
            writeFile(file, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 plain \\b bold\\b0\\par}"));
        LyricsWindow w(run.state);
        run.prompter.answerFile(file);
        trigger(w, "mnuImport");
        QCOMPARE(w.document().text(), QString("plain bold"));
        QTextCursor c(w.document().textDocument());
        c.setPosition(8);
        QCOMPARE(c.charFormat().fontWeight(), int(QFont::Bold));
        w.close();
    }

    void unreadableImportIsReportedAndChangesNothing()
    {
        Run run(*m_tmp);
        LyricsWindow w(run.state);
        w.document().setText("kept");
        run.prompter.answerFile(m_tmp->path() + "/missing.txt");
        trigger(w, "mnuImport");
        QCOMPARE(run.prompter.asked().size(), 1);
        QVERIFY(run.prompter.asked().first().text.contains("missing.txt"));
        QCOMPARE(w.document().text(), QString("kept"));
        w.close();
    }

    void importOfTrackedChangesSaysTheyWereAccepted()
    {
        Run run(*m_tmp);
        LyricsWindow w(run.state);
        const QByteArray xml =
            "<?xml version='1.0'?><w:document xmlns:w='http://schemas.openxmlformats.org/"
            "wordprocessingml/2006/main'><w:body><w:p><w:ins><w:r><w:t>new</w:t></w:r></w:ins>"
            "<w:del><w:r><w:delText>old</w:delText></w:r></w:del></w:p></w:body></w:document>";
        const QString file = m_tmp->path() + "/changed.doc";
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(word::DocxPackageWriter::write({{"word/document.xml", xml}}, nullptr));
        out.close();
        run.prompter.answerFile(file);
        trigger(w, "mnuImport");
        QCOMPARE(w.document().text(), QString("new"));
        QCOMPARE(run.prompter.asked().size(), 1);
        QVERIFY(run.prompter.asked().first().text.contains("tracked changes"));
        w.close();
    }

    void exportWritesByTheEnding()
    {
        Run run(*m_tmp);
        LyricsWindow w(run.state);
        w.document().setText("Chorus");
        const QString rtf = m_tmp->path() + "/out.rtf";
        run.prompter.answerFile(rtf);
        trigger(w, "mnuExport");
        QVERIFY(readFile(rtf).startsWith("{\\rtf"));

        const QString txt = m_tmp->path() + "/out.txt";
        run.prompter.answerFile(txt);
        trigger(w, "mnuExport");
        QVERIFY(readFile(txt).contains("Chorus"));

        // Word files as far as the document component writes them: a file
        // that reads back, or the error said, never a silent nothing.
        const QString doc = m_tmp->path() + "/out.doc";
        const bool wordWritable =
            RichTextDocument().saveFile(m_tmp->path() + "/probe.doc", DocumentFormat::Word);
        run.prompter.answerFile(doc);
        trigger(w, "mnuExport");
        if (wordWritable) {
            RichTextDocument back;
            QVERIFY(back.loadFile(doc, DocumentFormat::Word));
            QCOMPARE(back.text(), QString("Chorus"));
            QVERIFY(run.prompter.asked().isEmpty());
        } else {
            QCOMPARE(run.prompter.asked().size(), 1);
            QVERIFY(run.prompter.asked().first().text.startsWith("Error while saving!\r"));
            run.prompter.clear();
        }

        // Open XML by its ending, and read back by the import.
        const QString docx = m_tmp->path() + "/out.docx";
        run.prompter.answerFile(docx);
        trigger(w, "mnuExport");
        QVERIFY(readFile(docx).startsWith("PK"));
        {
            LyricsWindow other(run.state);
            run.prompter.answerFile(docx);
            trigger(other, "mnuImport");
            QCOMPARE(other.document().text(), QString("Chorus"));
            other.close();
        }
        QVERIFY(run.prompter.asked().isEmpty());

        // Typed without an ending: the preselected filter's one is added.
        const QString bare = m_tmp->path() + "/bare";
        run.prompter.answerFile(bare);
        trigger(w, "mnuExport");
        QVERIFY(readFile(bare + ".txt").contains("Chorus"));
        QVERIFY(run.prompter.asked().isEmpty());
        QVERIFY(!w.isChanged());
        w.close();
    }

    void exportWithAnUnknownEndingWritesNothing()
    {
        Run run(*m_tmp);
        LyricsWindow w(run.state);
        w.document().setText("Chorus");
        for (const QString& name : {QString("out.pdf"), QString("OUT.RTF")}) {
            const QString path = m_tmp->path() + '/' + name;
            run.prompter.answerFile(path);
            trigger(w, "mnuExport");
            QVERIFY(!QFile::exists(path));
        }
        QCOMPARE(run.prompter.askedTexts(),
                 (QStringList{"Error while saving!", "Error while saving!"}));
        w.close();
    }

    void failedSaveShowsTheStoreErrorAndKeepsTheText()
    {
        Run run(*m_tmp);
        LyricsWindow w(run.state);
        w.show();
        QTest::keyClicks(w.editor()->textEdit(), "precious");
        // The song vanished under the window (renamed elsewhere).
        SongStore other(run.folder);
        QVERIFY(other.open());
        QVERIFY(other.rename("Blue", "Teal"));
        QVERIFY(!w.save());
        QCOMPARE(run.prompter.asked().size(), 1);
        QVERIFY(run.prompter.asked().first().text.contains("deleted or renamed in another room"));
        QVERIFY(w.isChanged());
        QCOMPARE(w.document().text(), QString("precious"));
        run.prompter.answer(QMessageBox::Yes);
        w.close();
    }

    void missingSongOpensReadOnly()
    {
        Run run(*m_tmp);
        run.state.currentSong = "Nobody";
        LyricsWindow w(run.state);
        QVERIFY(!w.isEditable());
        QCOMPARE(run.prompter.asked().size(), 1);
        QVERIFY(run.prompter.asked().first().text.contains("Nobody"));
        QVERIFY(!w.findChild<QAction*>("mnuSave")->isEnabled());
        QVERIFY(!w.save());
        QVERIFY(w.close());
    }

    void megabyteOfLyricsSavesAndReloads()
    {
        QString text;
        text.reserve(1 << 20);
        for (int i = 0; text.size() < (1 << 20); ++i)
            text += QStringLiteral("Line %1 of a very long song with ümlauts\n").arg(i);
        text.chop(1);
        {
            Run run(*m_tmp);
            LyricsWindow w(run.state);
            w.document().setText(text);
            QVERIFY(w.save());
            w.close();
        }
        Run run(*m_tmp);
        LyricsWindow w(run.state);
        QCOMPARE(w.document().text().size(), text.size());
        QCOMPARE(w.document().text(), text);
        w.close();
    }

    void printAndPreviewShowThePreview()
    {
        Run run(*m_tmp);
        LyricsWindow w(run.state);
        w.show();
        w.document().setText("To print");
        for (const char* action : {"mnuPreview", "mnuPrint"}) {
            bool shown = false;
            QTimer::singleShot(0, [&shown] {
                auto* preview = qobject_cast<PrintPreview*>(QApplication::activeModalWidget());
                if (!preview)
                    return;
                shown = true;
                preview->findChild<QPushButton*>("btnClose")->click();
            });
            trigger(w, action);
            QVERIFY2(shown, action);
        }
        QVERIFY(run.state.lyricsWindowOpen);
        w.close();
    }
};

QTEST_MAIN(TestLyricsWindowFiles)
#include "tst_lyricswindow_files.moc"
