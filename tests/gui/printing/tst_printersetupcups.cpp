#include "common/scriptedprompter.h"
#include "common/widgetprompter.h"
#include "printing/cupsprinters.h"
#include "printing/printersetupdialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

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

    // The real print dialog, used as a user would: another printer, the page
    // list "1,3" and two copies. Its choice carries that printer as the
    // dialog set it up, and the page choices are the program's alone: the
    // printer is left to print one copy of what it is given.
    void realPrintDialogHandsOverEverything()
    {
        CupsPrinters cups;
        if (!cups.printerNames().contains("QuillonTest2"))
            QSKIP("QuillonTest2 is missing; run scripts/cups.sh");
        bool driven = false;
        QTimer::singleShot(0, [&driven] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            auto* printers = dialog->findChild<QComboBox*>("printers");
            auto* pages = dialog->findChild<QRadioButton*>("pagesRadioButton");
            auto* pageList = dialog->findChild<QLineEdit*>("pagesLineEdit");
            auto* copies = dialog->findChild<QSpinBox*>("copies");
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            if (printers && pages && pageList && copies && buttons) {
                printers->setCurrentIndex(printers->findText("QuillonTest2"));
                pages->setChecked(true);
                pageList->setText("1,3");
                copies->setValue(2);
                buttons->button(QDialogButtonBox::Ok)->click();
                driven = true;
            }
            if (dialog->isVisible())
                dialog->reject();
        });
        WidgetPrompter prompter;
        const std::optional<PrintChoice> choice = prompter.printDialog(nullptr, 1, 5);
        QVERIFY(driven);
        QVERIFY(choice);
        QCOMPARE(choice->printerName, QString("QuillonTest2"));
        QCOMPARE(choice->pages.toString(), QString("1,3"));
        QCOMPARE(choice->copies, 2);
        QVERIFY(choice->printer);
        QCOMPARE(choice->printer->printerName(), QString("QuillonTest2"));
        QCOMPARE(choice->printer->copyCount(), 1);
        const QStringList options = choice->printer->printEngine()
                                        ->property(QPrintEngine::PrintEnginePropertyKey(0xfe00))
                                        .toStringList();
        QVERIFY2(!options.contains("page-ranges"), qPrintable(options.join(' ')));
        QCOMPARE(choice->selection().sheets(5), QList<int>({1, 3, 1, 3}));
    }

    // The real printer setup of the song note: the printer picked there and
    // its paper come back as the choice the window prints with.
    void realPrinterSetupHandsOverThePrinter()
    {
        CupsPrinters cups;
        if (!cups.printerNames().contains("QuillonTest2"))
            QSKIP("QuillonTest2 is missing; run scripts/cups.sh");
        bool driven = false;
        QString okText;
        QTimer::singleShot(0, [&driven, &okText] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            auto* printers = dialog->findChild<QComboBox*>("printers");
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            if (printers && buttons) {
                printers->setCurrentIndex(printers->findText("QuillonTest2"));
                okText = buttons->button(QDialogButtonBox::Ok)->text();
                buttons->button(QDialogButtonBox::Ok)->click();
                driven = true;
            }
            if (dialog->isVisible())
                dialog->reject();
        });
        WidgetPrompter prompter;
        const std::optional<PrintChoice> choice = prompter.printerSetupDialog(nullptr, {});
        QVERIFY(driven);
        QCOMPARE(okText, QString("OK")); // it sets up, it does not print
        QVERIFY(choice);
        QCOMPARE(choice->printerName, QString("QuillonTest2"));
        QVERIFY(choice->printer);
        QVERIFY(choice->printer->pageLayout().isValid());
    }
};

QTEST_MAIN(TestPrinterSetupCups)
#include "tst_printersetupcups.moc"
