#include "printing/recordingpagesink.h"
#include "songs/songnoteprintout.h"

#include <QGuiApplication>
#include <QTest>

using namespace quillon;

class TestSongNotePrintout final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void linesInOrder()
    {
        const QStringList lines =
            SongNotePrintout::lines("Blue", "one\r\ntwo\rthree", QDate(2026, 12, 1));
        QCOMPARE(lines.size(), 8);
        QCOMPARE(lines.at(0), QString(59, '-'));
        QCOMPARE(lines.at(1), QString("Blue"));
        QCOMPARE(lines.at(2), QString());
        QVERIFY(lines.at(3).startsWith("Songinfo "));
        QVERIFY(lines.at(3).endsWith(" 12-01-2026"));
        QCOMPARE(lines.at(4), QString(59, '-'));
        QCOMPARE(lines.mid(5), QStringList({"one", "two", "three"}));
    }

    void printsEveryLineAndBreaksPages()
    {
        QStringList note;
        for (int i = 1; i <= 150; ++i)
            note << QString("line %1").arg(i);
        RecordingPageSink sink(QSizeF(10000, 6000));
        QVERIFY(sink.beginJob("note"));
        QVERIFY(SongNotePrintout::print(
            sink, SongNotePrintout::lines("Blue", note.join('\n'), QDate(2026, 1, 2))));
        QVERIFY(sink.endJob());
        const RecordedJob job = sink.jobs().first();
        QVERIFY(job.pageCount() > 2);
        QStringList all;
        for (int p = 0; p < job.pageCount(); ++p)
            all << job.texts(p);
        QCOMPARE(all.mid(4), note);
        QCOMPARE(all.first(), QString(59, '-'));
    }

    void longLinesWrapInsteadOfRunningOff()
    {
        const QString words = QString("word ").repeated(60).trimmed();
        RecordingPageSink sink(QSizeF(5000, 20000));
        QVERIFY(sink.beginJob("note"));
        QVERIFY(SongNotePrintout::print(sink, {words}));
        QVERIFY(sink.endJob());
        const QStringList texts = sink.jobs().first().texts(0);
        QVERIFY(texts.size() > 1);
        QCOMPARE(texts.join("").remove(' '), QString(words).remove(' '));
    }
};

QTEST_MAIN(TestSongNotePrintout)
#include "tst_songnoteprintout.moc"
