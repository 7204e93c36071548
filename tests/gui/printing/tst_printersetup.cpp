#include "common/scriptedprompter.h"
#include "printing/printercatalog.h"
#include "printing/printersetupdialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace quillon;

namespace {
// A printer list under the test's control.
class FakePrinters final : public PrinterCatalog {
public:
    QStringList names;
    QString current;
    bool failSetting = false;
    QStringList setCalls;

    QStringList printerNames() override { return names; }
    QString defaultPrinterName() override { return current; }
    bool setDefaultPrinterByName(const QString& name) override
    {
        setCalls << name;
        if (failSetting || !names.contains(name))
            return false;
        current = name;
        return true;
    }
};

QPoint centreOf(QListWidget* list, int row)
{
    return list->visualItemRect(list->item(row)).center();
}
} // namespace

class TestPrinterSetup final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsPrintersAndSelectsTheDefault()
    {
        FakePrinters printers;
        printers.names = {"Alpha", "Beta", "Gamma"};
        printers.current = "Beta";
        ScriptedPrompter prompter;
        PrinterSetupDialog dialog(printers, prompter);
        QCOMPARE(dialog.windowTitle(), QString("Setup Printer"));
        QListWidget* list = dialog.printerList();
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(), QString("Alpha"));
        QCOMPARE(list->item(2)->text(), QString("Gamma"));
        QCOMPARE(list->currentRow(), 1);
        QVERIFY(list->item(1)->isSelected());
        QCOMPARE(dialog.printerLabel()->text(), QString("Beta"));
        QVERIFY(dialog.okButton()->isEnabled());
        QCOMPARE(dialog.okButton()->text(), QString("Set printer"));
    }

    void unknownDefaultSelectsNothing()
    {
        FakePrinters printers;
        printers.names = {"Alpha", "Beta"};
        printers.current = "Elsewhere";
        ScriptedPrompter prompter;
        PrinterSetupDialog dialog(printers, prompter);
        QVERIFY(dialog.printerList()->selectedItems().isEmpty());
        QVERIFY(dialog.okButton()->isEnabled());
        // Nothing chosen: pressing the button changes nothing and reports nothing.
        dialog.show();
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QVERIFY(printers.setCalls.isEmpty());
        QVERIFY(prompter.asked().isEmpty());
        QVERIFY(!dialog.isVisible());
    }

    void noPrintersDisablesTheButton()
    {
        FakePrinters printers;
        ScriptedPrompter prompter;
        PrinterSetupDialog dialog(printers, prompter);
        QCOMPARE(dialog.printerList()->count(), 0);
        QVERIFY(!dialog.okButton()->isEnabled());
        QCOMPARE(dialog.printerLabel()->text(), QString("No printer chosen or available"));
    }

    void choosingAnotherPrinterMakesItTheDefault()
    {
        FakePrinters printers;
        printers.names = {"Alpha", "Beta"};
        printers.current = "Alpha";
        ScriptedPrompter prompter;
        PrinterSetupDialog dialog(printers, prompter);
        dialog.show();
        QListWidget* list = dialog.printerList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centreOf(list, 1));
        QCOMPARE(list->currentRow(), 1);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(printers.setCalls, QStringList{"Beta"});
        QCOMPARE(printers.current, QString("Beta"));
        QCOMPARE(dialog.printerLabel()->text(), QString("Beta"));
        QVERIFY(prompter.asked().isEmpty());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void doubleClickActsAsTheButton()
    {
        FakePrinters printers;
        printers.names = {"Alpha", "Beta"};
        printers.current = "Alpha";
        ScriptedPrompter prompter;
        PrinterSetupDialog dialog(printers, prompter);
        dialog.show();
        QListWidget* list = dialog.printerList();
        const QPoint at = centreOf(list, 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(printers.setCalls, QStringList{"Beta"});
        QVERIFY(!dialog.isVisible());
    }

    void failureSaysSoAndCloses()
    {
        FakePrinters printers;
        printers.names = {"Alpha", "Beta"};
        printers.current = "Alpha";
        printers.failSetting = true;
        ScriptedPrompter prompter;
        PrinterSetupDialog dialog(printers, prompter);
        dialog.show();
        dialog.printerList()->setCurrentRow(1);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(printers.setCalls, QStringList{"Beta"});
        QCOMPARE(prompter.askedTexts(), QStringList{"An error occured!"});
        QCOMPARE(prompter.asked().first().icon, Prompter::Icon::None);
        QCOMPARE(prompter.asked().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(printers.current, QString("Alpha"));
        QVERIFY(!dialog.isVisible());
    }

    void cancelChangesNothing()
    {
        FakePrinters printers;
        printers.names = {"Alpha", "Beta"};
        printers.current = "Alpha";
        ScriptedPrompter prompter;
        PrinterSetupDialog dialog(printers, prompter);
        QTimer::singleShot(0, &dialog, [&] {
            dialog.printerList()->setCurrentRow(1);
            QTest::mouseClick(dialog.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(printers.setCalls.isEmpty());
        QCOMPARE(printers.current, QString("Alpha"));
    }
};

QTEST_MAIN(TestPrinterSetup)
#include "tst_printersetup.moc"
