#include "app/scriptedprompter.h"
#include "printing/cupsprinters.h"
#include "printing/printersetupdialog.h"

#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QTest>

using namespace quillon;

// The printer choice against the machine's real CUPS. Read-only: the default
// printer is shared with every other printing test, so changing it is left
// to tests/scripts/test_cups_printersetup.sh, which does it for a user of its own.
class TestPrinterSetupCups final : public QObject {
    Q_OBJECT

private:
    static QString lpstat(const QStringList& args, bool* ok = nullptr)
    {
        QProcess p;
        p.start("lpstat", args);
        const bool done =
            p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        if (ok)
            *ok = done;
        return QString::fromLocal8Bit(p.readAllStandardOutput());
    }

private Q_SLOTS:
    void initTestCase()
    {
        bool ok = false;
        const QString state = lpstat({"-r"}, &ok);
        if (!ok || !state.contains("is running")) {
            if (qEnvironmentVariable("CI") == "true")
                QFAIL("CUPS is not running (run scripts/cups.sh)");
            QSKIP("CUPS is not running; run scripts/cups.sh to test against it");
        }
    }

    void listMatchesLpstat()
    {
        bool ok = false;
        QStringList expected = lpstat({"-e"}, &ok).split('\n', Qt::SkipEmptyParts);
        QVERIFY(ok);
        CupsPrinters cups;
        QStringList names = cups.printerNames();
        expected.sort();
        names.sort();
        QCOMPARE(names, expected);
        if (qEnvironmentVariable("CI") == "true")
            QVERIFY(names.contains("QuillonTest") && names.contains("QuillonTest2"));
    }

    void defaultMatchesLpstat()
    {
        const QString out = lpstat({"-d"});
        CupsPrinters cups;
        const QString current = cups.defaultPrinterName();
        if (current.isEmpty())
            QVERIFY(out.contains("no system default"));
        else
            QVERIFY2(out.trimmed().endsWith(": " + current), qPrintable(out));
    }

    void dialogShowsTheRealList()
    {
        CupsPrinters cups;
        ScriptedPrompter prompter;
        PrinterSetupDialog dialog(cups, prompter);
        const QStringList names = cups.printerNames();
        QCOMPARE(dialog.printerList()->count(), names.size());
        const QString current = cups.defaultPrinterName();
        if (!current.isEmpty()) {
            QCOMPARE(dialog.printerLabel()->text(), current);
            QCOMPARE(dialog.printerList()->currentItem()->text(), current);
        }
    }

    void unknownPrinterIsRefused()
    {
        CupsPrinters cups;
        const QString before = cups.defaultPrinterName();
        QVERIFY(!cups.setDefaultPrinterByName("NoSuchQuillonPrinter"));
        QVERIFY(!cups.lastError().isEmpty());
        QCOMPARE(cups.defaultPrinterName(), before);
    }
};

QTEST_MAIN(TestPrinterSetupCups)
#include "tst_printersetupcups.moc"
