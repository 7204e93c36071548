#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result runTool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QUILLON_BIN_DIR "/quillon-doc"), args);
    Result r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

const QString kData = QStringLiteral(QUILLON_TEST_DATA_DIR "/documents/");

} // namespace

class TestQuillonDoc final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(QStringLiteral(QUILLON_BIN_DIR "/quillon-doc")),
                 "build the quillon-doc target first");
    }

    void dumpOfLibreOfficeRtf()
    {
        const Result r = runTool({"dump", kData + "libreoffice.rtf"});
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QString("paragraph 1 align=center"));
        QCOMPARE(lines.value(1), QString("  run \"Blue Moon\" font=\"Liberation Serif\" size=18 "
                                         "bold=yes italic=no underline=no color=auto"));
        QCOMPARE(lines.value(2), QString("paragraph 2 align=left"));
        QCOMPARE(lines.value(3), QString::fromUtf8("  run \"Grüße\" font=\"Liberation Sans\" "
                                                   "size=12 bold=no italic=yes underline=no "
                                                   "color=auto"));
        QVERIFY(lines.contains(QString::fromUtf8("  run \"Köln\" font=\"Liberation Sans\" size=12 "
                                                 "bold=no italic=no underline=yes color=auto")));
        QVERIFY(lines.contains("paragraph 3 align=right"));
        QCOMPARE(lines.last(), QString("  run \"Red line\" font=\"DejaVu Serif\" size=12 bold=no "
                                       "italic=no underline=no color=#ff0000"));
    }

    void convertThroughEveryTextFormat()
    {
        QTemporaryDir dir;
        const QString html = dir.filePath("lyrics.html");
        const QString rtf = dir.filePath("lyrics.rtf");
        const QString txt = dir.filePath("lyrics.txt");
        QCOMPARE(runTool({"convert", kData + "libreoffice.rtf", html}).exitCode, 0);
        QCOMPARE(runTool({"convert", html, rtf}).exitCode, 0);
        const Result original = runTool({"dump", kData + "libreoffice.rtf"});
        QCOMPARE(runTool({"dump", html}).out, original.out);
        QCOMPARE(runTool({"dump", rtf}).out, original.out);
        QCOMPARE(runTool({"convert", rtf, txt}).exitCode, 0);
        QFile f(txt);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()),
                 QString::fromUtf8("Blue Moon\nGrüße aus Köln © é ß\nRed line"));
    }

    void statsTellSizeAndMemory()
    {
        const Result r = runTool({"stats", kData + "libreoffice.rtf"});
        QCOMPARE(r.exitCode, 0);
        QStringList names;
        for (const QString& line : r.out.split('\n', Qt::SkipEmptyParts)) {
            names << line.section(' ', 0, 0);
            QVERIFY2(line.section(' ', 1).toLongLong() > 0, qPrintable(line));
        }
        QCOMPARE(names, QStringList({"paragraphs", "characters", "runs", "peak-kib-read", "pages",
                                     "peak-kib-paginated"}));
        QVERIFY(r.out.startsWith("paragraphs 3\n"));
        // A document beyond the limits is refused with the reason.
        QTemporaryDir dir;
        QFile lines(dir.filePath("lines.txt"));
        QVERIFY(lines.open(QIODevice::WriteOnly));
        lines.write(QByteArray(60000, '\n'));
        lines.close();
        const Result refused = runTool({"stats", lines.fileName()});
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains("too large"), qPrintable(refused.err));
    }

    void badArgumentsAndFiles()
    {
        QTemporaryDir dir;
        Result r = runTool({"convert", kData + "libreoffice.rtf", dir.filePath("x.odt")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains("unknown file format"));
        QVERIFY(!QFile::exists(dir.filePath("x.odt")));
        r = runTool({"dump", dir.filePath("missing.rtf")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains("missing.rtf"));
        r = runTool({"frobnicate"});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.contains("usage"));
    }
};

QTEST_MAIN(TestQuillonDoc)
#include "tst_quillondoc.moc"
