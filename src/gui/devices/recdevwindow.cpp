#include "devices/recdevwindow.h"

#include "common/appstate.h"
#include "common/characterfilter.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "devices/dateentry.h"
#include "devices/devicefields.h"
#include "devices/devicelist.h"
#include "devices/devicenoteedit.h"
#include "store/datafolder.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon {

namespace {

// Shows the wait cursor for the lifetime of the guard; released early before
// a message box so the user is not left with an hourglass over a question.
class WaitCursor final {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { release(); }
    void release()
    {
        if (m_active)
            QApplication::restoreOverrideCursor();
        m_active = false;
    }

private:
    bool m_active = true;
};

QLineEdit* textBox(const char* objectName, const QString& allowed, int maxLength, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    new CharacterFilter(box, allowed, maxLength);
    return box;
}

QString applicationTitle()
{
    return QApplication::applicationDisplayName();
}

// A box's value as OK takes it (trimmed) is still the shown one.
bool untouched(const QString& typed, const QString& shown)
{
    return typed == shown.trimmed();
}
bool untouched(int typed, int shown)
{
    return typed == shown;
}

} // namespace

RecDevWindow::RecDevWindow(AppState& state, QWidget* parent, int slot)
    : QDialog(parent), m_state(state), m_register(state.data),
      m_clock([] { return QDateTime::currentDateTime(); })
{
    setObjectName(QStringLiteral("frmRecDev"));
    setWindowTitle(tr("Recording Devices"));
    setModal(true);
    buildUi();

    // Which row is being edited: the caller's slot when it still holds the
    // name, else the first row of that name.
    const QString name = m_state.currentDeviceName;
    const auto rows = m_register.readAll();
    if (rows) {
        if (slot >= 1 && slot <= rows->size() && rows->at(slot - 1).name == name)
            m_slot = slot;
        for (qsizetype i = 0; m_slot == 0 && i < rows->size(); ++i)
            if (rows->at(i).name == name)
                m_slot = int(i) + 1;
        if (m_slot > 0)
            m_record = rows->at(m_slot - 1);
    }
    if (m_slot == 0)
        qCWarning(lcDevices) << "device form opened for an unknown device" << name
                             << m_register.lastError();
    loadRecord();
}

void RecDevWindow::buildUi()
{
    namespace f = devicefields;

    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("lblÜberschrift"));
    QFont headingFont = m_heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.25);
    m_heading->setFont(headingFont);

    auto* recordFrame = new QGroupBox(tr("Recordingdevice"), this);
    recordFrame->setObjectName(QStringLiteral("sevFrame1"));
    m_name = textBox("txtFields0", f::nameCharacters(), f::kNameLength, recordFrame);
    m_tracks = textBox("txtFields4", f::digitCharacters(), f::kTracksLength, recordFrame);
    m_tracks->setAlignment(Qt::AlignRight);
    m_tracks->setText(QStringLiteral("000"));
    m_tracks->setMaximumWidth(m_tracks->fontMetrics().horizontalAdvance(QStringLiteral("00000")) +
                              24);
    m_serial = textBox("txtFields2", f::textCharacters(), f::kSerialLength, recordFrame);
    m_noiseReduction =
        textBox("txtFields5", f::textCharacters(), f::kNoiseReductionLength, recordFrame);
    m_purchasedOn = new DateEntry(recordFrame);
    m_purchasedOn->setObjectName(QStringLiteral("txtFields6"));
    m_seller = textBox("txtFields7", f::textCharacters(), 0, recordFrame);
    m_lastInspection = new DateEntry(recordFrame);
    m_lastInspection->setObjectName(QStringLiteral("txtFields8"));
    m_technician = textBox("txtFields9", f::textCharacters(), f::kTechnicianLength, recordFrame);
    m_note = new DeviceNoteEdit(f::noteCharacters(), f::kNoteLength, recordFrame);
    m_note->setObjectName(QStringLiteral("txtFields10"));
    m_note->setFixedHeight(m_note->fontMetrics().lineSpacing() * 4 + 12);
    const int dateWidth =
        m_purchasedOn->fontMetrics().horizontalAdvance(QStringLiteral("00-00-00000")) + 48;
    m_purchasedOn->setMaximumWidth(dateWidth);
    m_lastInspection->setMaximumWidth(dateWidth);

    auto* form = new QFormLayout(recordFrame);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(tr("Name"), m_name);
    form->addRow(tr("No. of tracks"), m_tracks);
    form->addRow(tr("Serial Number"), m_serial);
    form->addRow(tr("Noisereduction"), m_noiseReduction);
    form->addRow(tr("Purchase date"), m_purchasedOn);
    form->addRow(tr("Seller"), m_seller);
    form->addRow(tr("Last inspection"), m_lastInspection);
    form->addRow(tr("Technician Insp."), m_technician);
    form->addRow(tr("Note"), m_note);
    m_name->setMinimumWidth(
        m_name->fontMetrics().horizontalAdvance(QString(30, QLatin1Char('M'))) / 2 + 40);

    auto* typeFrame = new QGroupBox(tr("Type"), this);
    typeFrame->setObjectName(QStringLiteral("sevFrame2"));
    auto* typeLayout = new QVBoxLayout(typeFrame);
    typeLayout->setSpacing(2);
    m_types = new QButtonGroup(this);
    for (int i = 0; i < f::kTypeCount; ++i) {
        auto* option = new QRadioButton(f::typeNames().at(i), typeFrame);
        option->setObjectName(QStringLiteral("optRecType%1").arg(i));
        m_types->addButton(option, i);
        typeLayout->addWidget(option);
    }
    typeLayout->addStretch(1);
    connect(m_types, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            m_type = id;
    });

    m_preview = new QPushButton(tr("P&review"), this);
    m_preview->setObjectName(QStringLiteral("cmdPreview"));
    m_preview->setToolTip(tr("Preview list"));
    m_export = new QPushButton(tr("&Export"), this);
    m_export->setObjectName(QStringLiteral("cmdExport"));
    m_export->setToolTip(tr("Export to list (recordingdevices.txt)"));
    m_ok = new QPushButton(tr("&OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdClose"));
    m_preview->setAutoDefault(false);
    m_export->setAutoDefault(false);
    m_ok->setDefault(true);
    connect(m_preview, &QPushButton::clicked, this, &RecDevWindow::previewList);
    connect(m_export, &QPushButton::clicked, this, &RecDevWindow::exportList);
    connect(m_ok, &QPushButton::clicked, this, &RecDevWindow::save);

    auto* frames = new QHBoxLayout;
    frames->addWidget(recordFrame, 1);
    frames->addWidget(typeFrame);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_preview);
    buttons->addWidget(m_export);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    auto* main = new QVBoxLayout(this);
    main->addWidget(m_heading);
    main->addLayout(frames);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

void RecDevWindow::loadRecord()
{
    m_heading->setText(tr("Recordingdevice: ") + m_state.currentDeviceName);
    showRecord(m_record);
    m_name->setFocus();
}

void RecDevWindow::showRecord(const DeviceRecord& record, const DeviceRecord* typed)
{
    const auto shown = [&](auto field) {
        return !typed || untouched(typed->*field, m_record.*field);
    };
    // Stored values are shown whole: a value longer than its box or holding
    // a character the box refuses is what the register holds, and OK must
    // not change it unless the user does.
    const auto show = [&](QLineEdit* box, QString DeviceRecord::*field) {
        if (shown(field))
            CharacterFilter::setText(box, record.*field);
    };
    show(m_name, &DeviceRecord::name);
    if (shown(&DeviceRecord::tracks))
        CharacterFilter::setText(m_tracks, QString::number(record.tracks));
    show(m_serial, &DeviceRecord::serialNr);
    show(m_noiseReduction, &DeviceRecord::noiseReduction);
    if (shown(&DeviceRecord::purchasedOn))
        m_purchasedOn->setText(record.purchasedOn);
    show(m_seller, &DeviceRecord::seller);
    if (shown(&DeviceRecord::note))
        m_note->setText(record.note);
    if (shown(&DeviceRecord::lastInspection))
        m_lastInspection->setText(record.lastInspection);
    show(m_technician, &DeviceRecord::technician);
    if (shown(&DeviceRecord::type)) {
        m_type = record.type;
        // A stored type outside the twelve shows no option and is kept as it is.
        if (QAbstractButton* option = m_types->button(record.type))
            option->setChecked(true);
    }
    m_record = record;
}

DeviceRecord RecDevWindow::recordFromBoxes() const
{
    DeviceRecord r = m_record;
    r.name = m_name->text().trimmed();
    r.tracks = devicefields::tracksFromText(m_tracks->text());
    r.serialNr = m_serial->text().trimmed();
    r.noiseReduction = m_noiseReduction->text().trimmed();
    r.purchasedOn = m_purchasedOn->text().trimmed();
    r.seller = m_seller->text().trimmed();
    r.note = m_note->text().trimmed();
    r.lastInspection = m_lastInspection->text().trimmed();
    r.technician = m_technician->text().trimmed();
    r.type = m_type;
    return r;
}

void RecDevWindow::save()
{
    const DeviceRecord r = recordFromBoxes();
    if (r.name.isEmpty()) {
        m_state.prompter.critical(this, tr("Please enter a name for the Recording Device!"),
                                  applicationTitle());
        m_name->setFocus();
        return;
    }
    // A failed write must not close the form as if the record were stored.
    if (!m_register.updateSlot(m_slot, r, m_record)) {
        if (m_register.changedElsewhere()) {
            // What another room stored is shown; what was typed here stays,
            // and the next OK applies it over the stored row.
            const QString why = m_register.lastError();
            if (const std::optional<DeviceRecord> now = m_register.findSlot(m_slot))
                showRecord(*now, &r);
            m_state.prompter.critical(this, why, applicationTitle());
            return;
        }
        m_state.prompter.critical(
            this, tr("The recording device could not be saved.\r%1").arg(m_register.lastError()),
            applicationTitle());
        return;
    }

    const QString oldName = m_state.currentDeviceName;
    m_state.currentDeviceName = r.name;
    int entry = m_slot - 1;
    if (entry < 0 || entry >= m_state.deviceNames.size() ||
        m_state.deviceNames.at(entry) != oldName)
        entry = int(m_state.deviceNames.indexOf(oldName));
    if (entry >= 0)
        m_state.deviceNames[entry] = r.name;
    m_record = r;
    accept();
}

bool RecDevWindow::writeList(bool* listBuilt)
{
    if (listBuilt)
        *listBuilt = false;
    WaitCursor wait;
    const auto rows = m_register.readAll();
    if (!rows) {
        wait.release();
        m_state.prompter.critical(
            this,
            tr("The list of recording devices could not be read.\r%1").arg(m_register.lastError()),
            applicationTitle());
        return false;
    }
    m_listText = deviceListText(*rows, m_clock());
    if (listBuilt)
        *listBuilt = true;
    QString error;
    if (!writeDeviceList(m_state.data.deviceListTxt(), m_listText, &error)) {
        wait.release();
        m_state.prompter.critical(this, error, applicationTitle());
        return false;
    }
    return true;
}

void RecDevWindow::exportList()
{
    writeList();
}

void RecDevWindow::previewList()
{
    bool built = false;
    writeList(&built);
    // The preview shows the list even when the file could not be written.
    if (!built)
        return;
    if (m_showPreview)
        m_showPreview(m_listText);
    else
        qCWarning(lcDevices) << "no print preview connected to the device form";
}

} // namespace quillon
