#include "songs/printtsoptionsdialog.h"

#include "common/appstate.h"
#include "common/prompter.h"
#include "songs/tracksheetlayout.h"
#include "songs/tracksheetwindow.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon {

PrintTSOptionsDialog::PrintTSOptionsDialog(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("frmPrintTSOptions"));
    setWindowTitle(tr("Print Options"));
    setModal(true);

    auto* tracksFrame = new QGroupBox(tr("Print tracks"), this);
    tracksFrame->setObjectName(QStringLiteral("frame2"));
    m_all = new QRadioButton(tr("&All"), tracksFrame);
    m_all->setObjectName(QStringLiteral("optTracks(0)"));
    m_all->setToolTip(tr("Print all Tracksheets"));
    m_selected = new QRadioButton(tr("&Selected"), tracksFrame);
    m_selected->setObjectName(QStringLiteral("optTracks(1)"));
    m_selected->setToolTip(tr("Print only selected Tracksheets"));
    m_pages = new QComboBox(tracksFrame);
    m_pages->setObjectName(QStringLiteral("cmbSelectedTracks"));
    for (int page = 1; page <= TrackSheetLayout::kPages; ++page)
        m_pages->addItem(TrackSheetLayout::rangeText(page), page);
    m_pages->setCurrentIndex(0);
    m_pages->setEnabled(false);
    m_all->setChecked(true);
    auto* tracksLayout = new QVBoxLayout(tracksFrame);
    tracksLayout->addWidget(m_all);
    auto* selectedRow = new QHBoxLayout;
    selectedRow->addWidget(m_selected);
    selectedRow->addWidget(m_pages, 1);
    tracksLayout->addLayout(selectedRow);

    auto* printerFrame = new QGroupBox(tr("Standard Printer"), this);
    printerFrame->setObjectName(QStringLiteral("sevFrame1"));
    printerFrame->setToolTip(tr("Change the Printer  with Printer setup"));
    m_printerName = new QLabel(m_state.prompter.defaultPrinterName(), printerFrame);
    m_printerName->setObjectName(QStringLiteral("Label2"));
    // The second property shown is the printer's resolution in dots per inch.
    m_printerNumber =
        new QLabel(QString::number(m_state.prompter.defaultPrinterResolution()), printerFrame);
    m_printerNumber->setObjectName(QStringLiteral("Label1"));
    m_printerNumber->setToolTip(tr("Resolution (dpi)"));
    auto* printerLayout = new QHBoxLayout(printerFrame);
    printerLayout->addWidget(m_printerName, 1);
    printerLayout->addWidget(m_printerNumber);
    printerLayout->addWidget(new QLabel(tr("dpi"), printerFrame));

    auto* printButton = new QPushButton(tr("&Print"), this);
    printButton->setObjectName(QStringLiteral("cmdPrint"));
    printButton->setDefault(true);
    auto* cancelButton = new QPushButton(tr("&Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("roCommand1"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(printButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tracksFrame);
    layout->addWidget(printerFrame);
    layout->addLayout(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 40);

    connect(m_all, &QRadioButton::toggled, this, [this](bool on) { m_pages->setEnabled(!on); });
    connect(printButton, &QPushButton::clicked, this, &PrintTSOptionsDialog::print);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<int> PrintTSOptionsDialog::printPage() const
{
    if (m_all->isChecked())
        return std::nullopt;
    return m_pages->currentData().toInt();
}

void PrintTSOptionsDialog::print()
{
    // Without a printer the options stay open: closing them would look as
    // if the sheets had gone to the printer.
    if (m_state.prompter.defaultPrinterName().isEmpty()) {
        m_state.prompter.noPrinter(this);
        return;
    }
    const std::optional<int> page = printPage();
    m_printing = true;
    accept();
    // The sheet prints itself while print mode is on, then closes.
    m_state.printRequested = true;
    TrackSheetWindow sheet(m_state, parentWidget());
    sheet.setPrintPage(page);
    sheet.exec();
}

void PrintTSOptionsDialog::done(int result)
{
    // Leaving without printing, by Cancel or by the close box, ends print
    // mode so the next track sheet opens on screen.
    if (!m_printing)
        m_state.printRequested = false;
    QDialog::done(result);
}

} // namespace quillon
