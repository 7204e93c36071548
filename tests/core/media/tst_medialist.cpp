#include "distinctfields.h"
#include "media/medialist.h"
#include "media/medialistprinter.h"
#include "media/mediastore.h"
#include "printing/recordingpagesink.h"
#include "tempdatafolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;

namespace {

Medium medium(const QString& name, const QString& type, const QString& brand, const QString& serial,
              const QString& length, const QString& deleted)
{
    Medium m;
    m.name = name;
    m.type = type;
    m.brand = brand;
    m.serialNumber = serial;
    m.length = length;
    m.deleted = deleted;
    m.maxTime = "01:00:00";
    m.enteredOn = "01.02.2005";
    return m;
}

const QString kRule = QString(100, '-') + "\n";

} // namespace

class TestMediaList final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dateIsMonthDayYear()
    {
        QCOMPARE(media::listDate(QDate(2007, 3, 9)), QString("03-09-2007"));
        QCOMPARE(media::listDate(QDate(2026, 12, 31)), QString("12-31-2026"));
        QCOMPARE(media::listCaption(QDate(2007, 3, 9)),
                 QString("Tapes, Harddisks, CD and other Mediums    03-09-2007"));
    }

    void listIsByteExact()
    {
        const QString longName = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghi"; // 45
        QCOMPARE(longName.size(), 45);
        const QList<Medium> media{
            medium(longName, "1 - Harddisk", "Seagate", "SN-9", "500 GB", "0"),
            medium("Reel 7", "2 - Analog Tape with a very long type text appended", "Ampex 456",
                   "123456789012345678901234567890XYZ", "2500", "1"),
            medium("O'Brien's tape", "", "", "", "", ""),
        };
        const QString text =
            media::mediaListText(media, QDateTime(QDate(2007, 3, 9), QTime(14, 5)));
        const QString expected =
            kRule + "Tapes, Harddisks, CD and other Mediums    \t\t03-09-2007\n" + kRule +
            "Name/No:  ABCDEFGHIJKLMNOPQRSTUVWXYZ0123  -  1 - Harddisk\n"
            "Brand: Seagate       Serialno.:  SN-9\n"
            "Length/Capacity:  500 GB     deleted:  NO\n" +
            kRule +
            "Name/No:  Reel 7  -  2 - Analog Tape with a very lo\n"
            "Brand: Ampex 456       Serialno.:  123456789012345678901234567890\n"
            "Length/Capacity:  2500     deleted:  YES\n" +
            kRule +
            "Name/No:  O'Brien's tape  -  \n"
            "Brand:        Serialno.:  \n"
            "Length/Capacity:       deleted:  NO\n" +
            kRule;
        QCOMPARE(text, expected);
        QCOMPARE(text.toUtf8(), expected.toUtf8());
        // The stored name is untouched by the cut.
        QCOMPARE(media.first().name.size(), 45);
    }

    // Each label of the list is followed by its own field, read from the
    // store as the media window reads it; the fields the list leaves out
    // appear nowhere.
    void everyLabelShowsItsOwnField()
    {
        test::TempDataFolder tmp;
        MediaStore store(tmp.folder());
        const QList<Medium> media{test::distinctMedium(1), test::distinctMedium(2)};
        for (const Medium& m : media)
            QVERIFY(store.add(m));
        const QString text =
            media::mediaListText(store.all(), QDateTime(QDate(2007, 3, 9), QTime(14, 5)));
        QStringList expected{kRule.chopped(1),
                             "Tapes, Harddisks, CD and other Mediums    \t\t03-09-2007",
                             kRule.chopped(1)};
        for (const Medium& m : media) {
            expected << "Name/No:  " + m.name + "  -  " + m.type;
            expected << "Brand: " + m.brand + "       Serialno.:  " + m.serialNumber;
            expected << "Length/Capacity:  " + m.length +
                            "     deleted:  " + (m.isSeparated() ? "YES" : "NO");
            expected << kRule.chopped(1);
        }
        expected << QString();
        QCOMPARE(text.split('\n'), expected);
        QVERIFY(media.at(0).deleted != media.at(1).deleted);
        for (const Medium& m : media)
            for (const QString& unlisted :
                 {m.maxTime, m.noiseReduction, m.enteredOn, m.separatedOn})
                QVERIFY2(!text.contains(unlisted), qPrintable(unlisted));
    }

    void emptyTableGivesNothing()
    {
        QVERIFY(media::mediaListText({}, QDateTime::currentDateTime()).isEmpty());
    }

    void cutKeepsCharactersWhole()
    {
        const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E"); // one character, two units
        const QString text = QString(29, 'a') + clef + "b";
        QCOMPARE(media::firstChars(text, 30), QString(29, 'a') + clef);
        QCOMPARE(media::firstChars("abc", 30), QString("abc"));
        QCOMPARE(media::firstChars("abc", 0), QString());
    }

    void saveReplacesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("tapes-hd-cd.txt");
        QVERIFY(media::saveMediaList(path, "old\nlonger old text\n"));
        QVERIFY(media::saveMediaList(path, "new\n"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("new\n"));
    }

    void saveFailureIsReported()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("missing-folder/tapes-hd-cd.txt");
        QString error;
        QVERIFY(!media::saveMediaList(path, "x\n", &error));
        QVERIFY2(error.contains("tapes-hd-cd.txt"), qPrintable(error));
    }

    void printedLinesExpandTabs()
    {
        const QStringList lines = MediaListPrinter::printedLines(
            "a\tb\nTapes, Harddisks, CD and other Mediums    \t\t01-02-2003\n");
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(0), QString("a       b"));
        // 42 characters, then to column 48 and 56.
        QCOMPARE(lines.at(1),
                 "Tapes, Harddisks, CD and other Mediums    " + QString(14, ' ') + "01-02-2003");
    }

    void printsEveryLineAsOneJob()
    {
        QList<Medium> media;
        for (int i = 1; i <= 40; ++i)
            media << medium(QString("Tape %1").arg(i), "3 - Digital Tape", "Sony", "S", "60",
                            i == 2 ? "1" : "0");
        const QString text = media::mediaListText(media, QDateTime(QDate(2007, 3, 9), QTime()));
        RecordingPageSink sink;
        MediaListPrinter printer;
        QVERIFY(printer.print(sink, text));
        QCOMPARE(sink.jobs().size(), 1);
        const RecordedJob& job = sink.jobs().first();
        QCOMPARE(job.name, QString("Tapes-HD-CD"));
        QVERIFY2(job.pageCount() >= 2, "163 lines do not fit one page");
        QCOMPARE(printer.pagesPrinted(), job.pageCount());
        QStringList printed;
        for (int p = 0; p < job.pageCount(); ++p)
            printed << job.texts(p);
        QCOMPARE(printed, MediaListPrinter::printedLines(text));
        QVERIFY(job.plainText(0).contains("Name/No:  Tape 2  -  3 - Digital Tape"));
    }

    void ruleFitsThePage()
    {
        const QFont narrow = MediaListPrinter::listFont(5000);
        const QFont wide = MediaListPrinter::listFont(100000);
        QCOMPARE(wide.pointSizeF(), MediaListPrinter::kPreferredPoints);
        QVERIFY(narrow.pointSizeF() < wide.pointSizeF());
        QCOMPARE(wide.family(), QString("Courier New"));
    }

    void refusedJobIsReported()
    {
        // A sink whose job cannot start.
        class Refusing final : public PageSink {
        public:
            bool beginJob(const QString&) override
            {
                setLastError("no paper");
                return false;
            }
            bool newPage() override { return false; }
            bool endJob() override { return false; }
            QPainter* painter() override { return nullptr; }
            QSizeF pageSizeTwips() const override { return {10000, 15000}; }
            QString deviceName() const override { return "Refusing"; }
        } sink;
        MediaListPrinter printer;
        QVERIFY(!printer.print(sink, "x\n"));
        QCOMPARE(printer.lastError(), QString("no paper"));
    }
};

QTEST_MAIN(TestMediaList)
#include "tst_medialist.moc"
