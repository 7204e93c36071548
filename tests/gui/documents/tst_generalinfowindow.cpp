#include "common/appstate.h"
#include "common/scriptedprompter.h"
#include "documents/documenteditor.h"
#include "documents/generalinfowindow.h"
#include "documentwindowprobes.h"
#include "notebook/notebookstore.h"
#include "printing/printpreview.h"
#include "songs/songstore.h"
#include "store/database.h"
#include "store/settings.h"
#include "tempdatafolder.h"

#include <memory>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

using namespace quillon;

namespace {

struct Run {
    explicit Run(const test::TempDataFolder& tmp)
        : folder(tmp.folder()), settings(tmp.settingsFile()), songs(folder),
          state(folder, settings, songs, prompter)
    {
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

void trigger(GeneralInfoWindow& w, const char* action)
{
    w.findChild<QAction*>(action)->trigger();
}

int noteRows(const QString& path)
{
    Database db;
    db.open(path);
    QSqlQuery q = db.prepare("SELECT count(*) FROM note1");
    q.exec();
    q.next();
    return q.value(0).toInt();
}

} // namespace

class TestGeneralInfoWindow final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TempDataFolder> m_tmp;

private Q_SLOTS:
    void init() { m_tmp = std::make_unique<test::TempDataFolder>(); }

    void emptyNotebookOpensClean()
    {
        Run run(*m_tmp);
        GeneralInfoWindow w(run.state);
        QCOMPARE(w.windowTitle(), QString("General Info"));
        QCOMPARE(w.objectName(), QString("frmGeneralInfo"));
        QCOMPARE(w.findChild<QPushButton*>("cmdClose")->text(), QString("&Exit"));
        QCOMPARE(w.findChild<QPushButton*>("cmdClose")->toolTip(), QString("Close window"));
        QVERIFY(!w.findChild<QPushButton*>("cmdOnTop"));
        QVERIFY(w.document().isEmpty());
        QVERIFY(!w.isChanged());
        QVERIFY(w.close());
        QVERIFY(run.prompter.asked().isEmpty());
        QVERIFY(!run.state.lyricsWindowOpen);
    }

    void importThenCloseAsks()
    {
        Run run(*m_tmp);
        const QString file = m_tmp->path() + "/note.txt";
        QVERIFY(writeFile(file, "Call the piano tuner"));
        GeneralInfoWindow w(run.state);
        w.show();
        run.prompter.answerFile(file);
        trigger(w, "mnuImport");
        QCOMPARE(w.document().text(), QString("Call the piano tuner"));
        QVERIFY(w.isChanged());
        QCOMPARE(run.prompter.fileDialogDirs(), QStringList{run.folder.dir()});
        QCOMPARE(run.prompter.fileDialogFilters(),
                 QStringList{"(*.rtf);;(*.doc);;(*.txt);;(*.docx)"});
        run.prompter.answer(QMessageBox::No);
        QVERIFY(!w.close());
        QCOMPARE(run.prompter.askedTexts(),
                 QStringList{"Note changed!\rDo you want to exit anyway?"});
        QVERIFY(w.isVisible());
        run.prompter.answer(QMessageBox::Yes);
        QVERIFY(w.close());
        QVERIFY(NotebookStore(run.folder.note1Db()).read()->isNull);
    }

    void importOverUnsavedTextAsksFirst()
    {
        Run run(*m_tmp);
        const QString file = m_tmp->path() + "/note.txt";
        QVERIFY(writeFile(file, "Imported"));
        GeneralInfoWindow w(run.state);
        w.show();
        QTest::keyClicks(w.editor()->textEdit(), "typed");
        for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
            run.prompter.answerFile(file);
            run.prompter.answer(answer);
            trigger(w, "mnuImport");
            QCOMPARE(w.document().text(),
                     QString(answer == QMessageBox::No ? "typed" : "Imported"));
        }
        QCOMPARE(run.prompter.askedTexts(),
                 QStringList(2, "Note changed!\rDo you want to exit anyway?"));
        QVERIFY(w.isChanged()); // an import counts as a change
        run.prompter.answer(QMessageBox::Yes);
        QVERIFY(w.close());
        QVERIFY(NotebookStore(run.folder.note1Db()).read()->isNull);
    }

    void typingStraightAfterOpeningGoesIntoTheText()
    {
        Run run(*m_tmp);
        bool rulerSpansText = false;
        QTimer::singleShot(0, [&rulerSpansText] {
            auto* w = qobject_cast<GeneralInfoWindow*>(QApplication::activeModalWidget());
            if (!w)
                return;
            if (QTest::qWaitForWindowActive(w)) {
                // The ruler spans the text from the first paint, before any click.
                const auto [painted, wanted] = test::rulerTextRight(*w->editor());
                rulerSpansText = qAbs(painted - wanted) <= 2;
                // Keys as a keyboard user gives them: type, Ctrl+S, Ctrl+E.
                if (QWidget* typing = QApplication::focusWidget()) {
                    QTest::keyClicks(typing, "Keys first");
                    QTest::keyClick(typing, Qt::Key_S, Qt::ControlModifier);
                    QTest::keyClick(typing, Qt::Key_E, Qt::ControlModifier);
                }
            }
            if (w->isVisible())
                w->closeDiscarding();
        });
        GeneralInfoWindow w(run.state); // as the menu opens it
        w.exec();
        QVERIFY(rulerSpansText);
        QVERIFY(run.prompter.asked().isEmpty());
        QCOMPARE(test::storedText(NotebookStore(run.folder.note1Db()).read()->text),
                 QString("Keys first"));
    }

    void upperCaseEndingIsUnknown()
    {
        Run run(*m_tmp);
        const QString file = m_tmp->path() + "/NOTE.TXT";
        QVERIFY(writeFile(file, "x"));
        GeneralInfoWindow w(run.state);
        run.prompter.answerFile(file);
        trigger(w, "mnuImport");
        QCOMPARE(run.prompter.askedTexts(), QStringList{"Unknown file format!"});
        QVERIFY(!w.isChanged());
        QVERIFY(w.close());
    }

    void exportStartsInTheProgramFolder()
    {
        Run run(*m_tmp);
        GeneralInfoWindow w(run.state);
        w.document().setText("Studio hours");
        const QString file = m_tmp->path() + "/hours.rtf";
        run.prompter.answerFile(file);
        trigger(w, "mnuExport");
        QCOMPARE(run.prompter.fileDialogDirs(), QStringList{run.folder.programDir()});
        QVERIFY(QFile::exists(file));
        run.prompter.answerFile(m_tmp->path() + "/hours.xyz");
        trigger(w, "mnuExport");
        QCOMPARE(run.prompter.askedTexts(), QStringList{"Error while saving!"});
        QVERIFY(w.close());
    }

    void savedFormattingIsThereAfterReopening()
    {
        {
            Run run(*m_tmp);
            GeneralInfoWindow w(run.state);
            w.show();
            QTest::keyClicks(w.editor()->textEdit(), "Headline");
            QVERIFY(w.isChanged());
            QTextCursor c = w.editor()->textEdit()->textCursor();
            c.select(QTextCursor::Document);
            w.editor()->textEdit()->setTextCursor(c);
            w.editor()->setItalic(true);
            w.editor()->setFontPointSize(20);
            w.editor()->setAlignment(Qt::AlignRight);
            trigger(w, "mnuSave");
            QVERIFY(!w.isChanged());
            QVERIFY(w.close());
            QVERIFY(run.prompter.asked().isEmpty());
        }
        Run run(*m_tmp);
        GeneralInfoWindow w(run.state);
        QCOMPARE(w.document().text(), QString("Headline"));
        const QTextBlock block = w.document().textDocument()->begin();
        QVERIFY(block.blockFormat().alignment().testFlag(Qt::AlignRight));
        const QTextCharFormat f = block.begin().fragment().charFormat();
        QVERIFY(f.fontItalic());
        QCOMPARE(f.fontPointSize(), 20.0);
        QCOMPARE(noteRows(run.folder.note1Db()), 1);
        QVERIFY(w.close());
    }

    void lostRowIsRecreatedBySave()
    {
        Run run(*m_tmp);
        {
            Database db;
            QVERIFY(db.open(run.folder.note1Db()));
            QVERIFY(db.exec("DELETE FROM note1"));
        }
        GeneralInfoWindow w(run.state);
        QVERIFY(w.isEditable());
        w.document().setText("again");
        QVERIFY(w.save());
        QCOMPARE(noteRows(run.folder.note1Db()), 1);
        QVERIFY(w.close());
    }

    // Another room saved the notebook after it was shown here: Save says why
    // nothing was stored and keeps the typed text; saving again puts it in
    // place of theirs.
    void aNotebookChangedInAnotherRoomIsNotOverwrittenUnasked()
    {
        Run run(*m_tmp);
        GeneralInfoWindow w(run.state);
        w.show();
        QVERIFY(NotebookStore(run.folder).write("theirs"));
        QTest::keyClicks(w.editor()->textEdit(), "mine");
        QVERIFY(!w.save());
        QCOMPARE(run.prompter.asked().size(), 1);
        QVERIFY2(run.prompter.asked().first().text.contains("in another room"),
                 qPrintable(run.prompter.asked().first().text));
        QVERIFY(w.isChanged());
        QCOMPARE(w.document().text(), QString("mine"));
        QCOMPARE(NotebookStore(run.folder).read()->text, QString("theirs"));
        QVERIFY(w.save());
        QVERIFY(NotebookStore(run.folder).read()->text.contains("mine"));
        QVERIFY(w.close());
    }

    void unreadableNotebookIsNotOverwritten()
    {
        Run run(*m_tmp);
        const QString path = run.folder.note1Db();
        QVERIFY(QFile::remove(path));
        QVERIFY(writeFile(path, "not a database"));
        GeneralInfoWindow w(run.state);
        QVERIFY(!w.isEditable());
        QCOMPARE(run.prompter.asked().size(), 1);
        QVERIFY(run.prompter.asked().first().text.contains("note1.mdb"));
        QVERIFY(!w.save());
        QVERIFY(!w.findChild<QAction*>("mnuImport")->isEnabled());
        QVERIFY(w.close());
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("not a database"));
    }

    void storedTextBeyondTheReadersLimitsIsNotOverwritten()
    {
        Run run(*m_tmp);
        // Stored text the reader refuses (nested deeper than it follows).
        const QString stored = QString("<html><body>") + QString("<span>").repeated(400) + "kept" +
                               QString("</span>").repeated(400) + "</body></html>";
        QVERIFY(NotebookStore(run.folder.note1Db()).write(stored));
        GeneralInfoWindow w(run.state);
        QVERIFY(!w.isEditable());
        QCOMPARE(run.prompter.asked().size(), 1);
        QVERIFY(!w.save());
        QVERIFY(w.close());
        QCOMPARE(NotebookStore(run.folder.note1Db()).read()->text, stored);
    }

    void placeIsReadAtOpenAndWrittenAtClose()
    {
        Run run(*m_tmp);
        run.settings.setPlacement("GInfoMain", {1500, 750, 12000, 9000});
        {
            GeneralInfoWindow w(run.state);
            QCOMPARE(w.pos(), QPoint(100, 50));
            QCOMPARE(w.size(), QSize(800, 600));
            w.show();
            w.move(30, 15);
            QVERIFY(w.close());
        }
        QCOMPARE(run.settings.text("GInfoMainLeft"), QString("450"));
        QCOMPARE(run.settings.text("GInfoMainTop"), QString("225"));
        QCOMPARE(run.settings.text("GInfoMainWidth"), QString("12000"));
        QCOMPARE(run.settings.text("GInfoMainHeight"), QString("9000"));
    }

    void tooSmallStoredSizeIsRaisedToTheMinimum()
    {
        Run run(*m_tmp);
        run.settings.setPlacement("GInfoMain", {10, 10, 3000, 2000});
        GeneralInfoWindow w(run.state);
        w.show();
        QVERIFY(w.width() >= 742);
        QVERIFY(w.height() >= 574);
        QVERIFY(w.close());
    }

    void printGoesToTheDefaultPrinter()
    {
        Run run(*m_tmp);
        GeneralInfoWindow w(run.state);
        w.document().setText("Rehearsal on Monday");
        run.prompter.answerPrint(PrintChoice{1, 1, 2, {}});
        trigger(w, "mnuPrint");
        QCOMPARE(run.prompter.printedJobs().size(), 1);
        const RecordedJob job = run.prompter.printedJobs().first();
        QCOMPARE(job.name, QString("General Info"));
        QCOMPARE(job.pageCount(), 2); // two copies of the one page
        QVERIFY(job.plainText(1).contains("Rehearsal"));
        QVERIFY(run.prompter.asked().isEmpty());
        QCOMPARE(run.prompter.printersOpened(), QStringList{"Recorder"});
        // Another printer chosen in the dialog gets the job.
        run.prompter.answerPrint(PrintChoice{1, 1, 1, "Office Inkjet"});
        trigger(w, "mnuPrint");
        QCOMPARE(run.prompter.printersOpened(), QStringList({"Recorder", "Office Inkjet"}));
        QVERIFY(w.close());
    }

    void printCancelledOrWithoutPrinter()
    {
        Run run(*m_tmp);
        GeneralInfoWindow w(run.state);
        w.document().setText("x");
        trigger(w, "mnuPrint"); // dialog cancelled
        QVERIFY(run.prompter.printedJobs().isEmpty());
        QVERIFY(run.prompter.asked().isEmpty());
        run.prompter.setHasPrinter(false);
        run.prompter.answerPrint(PrintChoice{1, 1, 1, {}});
        QVERIFY(!w.print());
        QCOMPARE(run.prompter.askedTexts(), QStringList{"No printer is installed."});
        QVERIFY(w.close());
    }

    void previewShowsTheNotebook()
    {
        Run run(*m_tmp);
        GeneralInfoWindow w(run.state);
        w.show();
        w.document().setText("Preview me");
        bool shown = false;
        QTimer::singleShot(0, [&shown] {
            auto* preview = qobject_cast<PrintPreview*>(QApplication::activeModalWidget());
            if (!preview)
                return;
            shown = true;
            preview->findChild<QPushButton*>("btnClose")->click();
        });
        trigger(w, "mnuPreview");
        QVERIFY(shown);
        QVERIFY(w.close());
    }
};

QTEST_MAIN(TestGeneralInfoWindow)
#include "tst_generalinfowindow.moc"
