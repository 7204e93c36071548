#include "printing/printdialog.h"

#include "common/appstate.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "devices/deviceregister.h"
#include "devices/equipmentlist.h"
#include "printing/pagesink.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon {

namespace {
// Wait cursor for the life of a scope.
class WaitCursor final {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
} // namespace

PrintDialog::PrintDialog(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName("frmPrinter");
    setWindowTitle("Print");
    setModal(true);
    m_state.printRequested = false;

    auto* box = new QGroupBox(this);
    auto* options = new QVBoxLayout(box);
    auto* group = new QButtonGroup(this);
    const char* captions[] = {"Tracksheet", "Songdetails", "Lyrics", "Recordingdevices",
                              "Studioequipment"};
    for (int i = 0; i < 5; ++i) {
        m_options[i] = new QRadioButton(captions[i], box);
        m_options[i]->setObjectName(QStringLiteral("repname_%1").arg(i));
        group->addButton(m_options[i], i);
        options->addWidget(m_options[i]);
    }
    m_options[Tracksheet]->setChecked(true);

    auto* caption = new QLabel("Actual Printer:", this);
    caption->setObjectName("Label1");
    m_printer = new QLabel("Printer", this);
    m_printer->setObjectName("lblActualPrinter");
    m_print = new QPushButton("&Print", this);
    m_print->setObjectName("cmdPrint");
    m_print->setDefault(true);
    m_close = new QPushButton("&Close", this);
    m_close->setObjectName("cmdClose");

    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(caption);
    printerRow->addWidget(m_printer, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_print);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(printerRow);
    layout->addLayout(buttons);

    // The song options need a song.
    if (!m_state.songLoaded()) {
        for (Choice c : {Tracksheet, Songdetails, Lyrics})
            m_options[c]->setEnabled(false);
        m_options[Recordingdevices]->setChecked(true);
    }
    refreshPrinter();

    connect(m_print, &QPushButton::clicked, this, &PrintDialog::print);
    connect(m_close, &QPushButton::clicked, this, &PrintDialog::reject);
}

PrintDialog::Choice PrintDialog::selected() const
{
    for (int i = 0; i < 5; ++i)
        if (m_options[i]->isChecked())
            return Choice(i);
    return Tracksheet;
}

bool PrintDialog::event(QEvent* e)
{
    // The default printer may have been changed elsewhere meanwhile.
    if (e->type() == QEvent::WindowActivate)
        refreshPrinter();
    return QDialog::event(e);
}

void PrintDialog::refreshPrinter()
{
    const QString name = m_state.prompter.defaultPrinterName();
    m_printer->setText(name.isEmpty() ? QStringLiteral("No printer chosen or available") : name);
}

void PrintDialog::reject()
{
    m_state.printRequested = false;
    QDialog::reject();
}

void PrintDialog::print()
{
    // The track sheet and the song details go straight to the default
    // printer; without one the dialog stays for another choice instead of
    // closing as if they had printed.
    const Choice choice = selected();
    if ((choice == Tracksheet || choice == Songdetails) &&
        m_state.prompter.defaultPrinterName().isEmpty()) {
        m_state.prompter.noPrinter(this);
        return;
    }
    m_state.printRequested = true;
    switch (choice) {
    case Tracksheet:
        handOver(m_handlers.trackSheetPrintOptions, "track sheet print options");
        break;
    case Songdetails:
        handOver(m_handlers.songDetailsPreview, "song details preview");
        break;
    case Lyrics:
        handOver(m_handlers.lyricsEditor, "lyrics editor");
        break;
    case Recordingdevices:
        m_state.currentDeviceName = m_state.deviceName(m_state.currentDeviceIndex);
        handOver(m_handlers.deviceWindow, "device window");
        break;
    case Studioequipment:
        printEquipmentList();
        break;
    }
}

void PrintDialog::handOver(const std::function<void()>& handler, const char* what)
{
    accept();
    if (handler)
        handler();
    else
        qCWarning(lcPrinting) << "print dialog: nothing opens the" << what;
    // The windows that print for themselves have cleared the request when
    // they closed; the lyrics editor and the device window never read it, so
    // it must not linger and make a later preview print instead.
    m_state.printRequested = false;
}

void PrintDialog::printEquipmentList()
{
    WaitCursor wait;
    DeviceRegister devices(m_state.data);
    const QList<DeviceRecord> rows = devices.all();
    if (!devices.lastError().isEmpty()) {
        m_state.prompter.critical(this, devices.lastError());
        return;
    }
    std::unique_ptr<PageSink> sink = m_state.prompter.openDefaultPrinter();
    if (!sink) {
        m_state.prompter.noPrinter(this);
        return;
    }
    const QList<EquipmentLine> lines = EquipmentList::lines(rows, QDateTime::currentDateTime());
    if (!EquipmentList::print(*sink, lines, QFont()))
        m_state.prompter.critical(this, sink->lastError().isEmpty()
                                            ? QStringLiteral("The list could not be printed.")
                                            : sink->lastError());
}

} // namespace quillon
