#include "tapefixture.h"

#include "media/medialist.h"
#include "media/medialistprinter.h"

#include <QDir>
#include <QFile>

using namespace quillon;
using namespace quillon::test;

namespace {
const QString kNothing = QStringLiteral("There is nothing to print. Sorry!");

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QString listNow(TapeFixture& f)
{
    return media::mediaListText(f.media.all(), QDateTime::currentDateTime());
}
} // namespace

class TestTapeWindowList final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QCoreApplication::setApplicationName("Quillon05");
        QApplication::setApplicationDisplayName("QuillonSE");
    }

    void exportWritesTheList()
    {
        TapeFixture f;
        f.add("A medium with a name of forty-five characters");
        Medium separated = TapeFixture::medium("Gone", "1 - Harddisk");
        separated.setSeparated(true);
        QVERIFY(f.media.add(separated));
        TapeWindow w(f.state);
        w.show();
        click(w.ui().exportButton);
        QVERIFY(f.prompter.askedTexts().isEmpty());
        const QByteArray written = readFile(f.data.mediaListTxt());
        QCOMPARE(written, listNow(f).toUtf8());
        QVERIFY(written.contains("Name/No:  A medium with a name of forty-  -  2 - Analog Tape\n"));
        QVERIFY(written.contains("Length/Capacity:  2500     deleted:  YES\n"));
        QCOMPARE(w.windowTitle(), media::listCaption(QDate::currentDate()));
        // The displayed name changes, the settings name does not.
        QCOMPARE(QGuiApplication::applicationDisplayName(), QString("Recording Mediums Quillon"));
        QCOMPARE(QCoreApplication::applicationName(), QString("Quillon05"));
        f.settings.setText("TapeLeft", "77");
        QCOMPARE(f.settings.text("TapeLeft"), QString("77"));
        // Coming back to the window restores its caption.
        w.reload();
        QCOMPARE(w.windowTitle(), QString("Tapes, CDs, Harddisks"));
    }

    void emptyTableSaysSoAndExportsNothing()
    {
        TapeFixture f;
        TapeWindow w(f.state);
        w.show();
        QFile::remove(f.data.mediaListTxt());
        click(w.ui().exportButton);
        QCOMPARE(f.prompter.askedTexts(), QStringList{kNothing});
        QCOMPARE(f.prompter.asked().first().buttons, QMessageBox::Ok);
        QCOMPARE(f.prompter.asked().first().title, QString("Quillon05"));
        QVERIFY(QFile::exists(f.data.mediaListTxt()));
        QCOMPARE(readFile(f.data.mediaListTxt()), QByteArray());
        // Print says it too and sends nothing to the printer.
        click(w.ui().printButton);
        QCOMPARE(f.prompter.askedTexts().last(), kNothing);
        QVERIFY(f.prompter.printedJobs().isEmpty());
    }

    void emptyTableKeepsTheListBuiltBefore()
    {
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        w.show();
        click(w.ui().exportButton);
        const QByteArray first = readFile(f.data.mediaListTxt());
        QVERIFY(first.contains("Reel 1"));
        QVERIFY(f.media.remove("Reel 1"));
        click(w.ui().exportButton);
        QCOMPARE(f.prompter.askedTexts(), QStringList{kNothing});
        QCOMPARE(readFile(f.data.mediaListTxt()), first);
    }

    void previewWritesTheFileAndHandsTheListOver()
    {
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        QStringList shown;
        w.setShowPreview([&](const QString& text) { shown << text; });
        w.show();
        click(w.ui().previewButton);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first(), listNow(f));
        QCOMPARE(readFile(f.data.mediaListTxt()), listNow(f).toUtf8());
    }

    void exportFailureIsReported()
    {
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        w.show();
        // A folder where the file should be makes the write fail.
        QVERIFY(QDir().mkpath(f.data.mediaListTxt()));
        click(w.ui().exportButton);
        QCOMPARE(f.prompter.asked().size(), 1);
        QVERIFY(f.prompter.askedTexts().first().contains("tapes-hd-cd.txt"));
        QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::Critical);
    }

    void printSendsTheListToTheDefaultPrinter()
    {
        TapeFixture f;
        f.add("O'Brien's reel");
        f.add("Disk 2", "1 - Harddisk");
        TapeWindow w(f.state);
        w.show();
        click(w.ui().printButton);
        QVERIFY(f.prompter.askedTexts().isEmpty());
        const QList<RecordedJob> jobs = f.prompter.printedJobs();
        QCOMPARE(jobs.size(), 1);
        QCOMPARE(jobs.first().name, QString("Tapes-HD-CD"));
        QCOMPARE(jobs.first().texts(0), MediaListPrinter::printedLines(listNow(f)));
        QVERIFY(jobs.first().plainText(0).contains("Name/No:  O'Brien's reel  -  2 - Analog Tape"));
    }

    void printWithoutPrinterIsReported()
    {
        TapeFixture f;
        f.add("Reel 1");
        f.prompter.setHasPrinter(false);
        TapeWindow w(f.state);
        w.show();
        click(w.ui().printButton);
        QCOMPARE(f.prompter.asked().size(), 1);
        QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::Critical);
        QVERIFY(f.prompter.printedJobs().isEmpty());
    }
};

QTEST_MAIN(TestTapeWindowList)
#include "tst_tapewindowlist.moc"
