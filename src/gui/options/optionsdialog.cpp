#include "options/optionsdialog.h"

#include "common/appstate.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "store/serveraddress.h"
#include "store/settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon {

namespace {
constexpr int kMinSize = 6;
constexpr int kMaxSize = 18;

const QString kCatalogueTitle = QStringLiteral("Catalogue");

const QColor kSwatches[OptionsDialog::kSwatchCount] = {
    Qt::black,          Qt::white,          QColor(0x80, 0, 0),
    QColor(0, 0x60, 0), QColor(0, 0, 0x90), QColor(0xff, 0xff, 0xc0)};

QIcon swatchIcon(const QColor& color)
{
    QPixmap pixmap(22, 16);
    pixmap.fill(color);
    QPainter p(&pixmap);
    p.setPen(Qt::gray);
    p.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    return QIcon(pixmap);
}

// The number a text starts with (blanks skipped), 0 when there is none.
int leadingNumber(const QString& text)
{
    const QString t = text.trimmed();
    int end = 0;
    while (end < t.size() && t.at(end).isDigit() && end < 6)
        ++end;
    return t.left(end).toInt();
}
} // namespace

OptionsDialog::OptionsDialog(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    setObjectName("frmOptions");
    setWindowTitle("Settings");
    setModal(true);

    auto* frame = new QGroupBox(this);
    frame->setObjectName("sevFrame1");
    auto* frameLayout = new QVBoxLayout(frame);
    const struct {
        const char* name;
        const char* caption;
    } boxes[kBoxCount] = {
        {"optRecentSong", "Open Last Song at Start Up"},
        {"optShowWelcome", "Show Welcome Screen at Start Up"},
        {"optShowTip", "Show Tip Screen at Start Up"},
        {"optStartMinimized", "Start minimized (sent to Tray)"},
        {"chkShowDBar", "Start with Devices Bar outside"},
        {"chkTBShow", "Start with Sidebar opened"},
    };
    for (int i = 0; i < kBoxCount; ++i) {
        m_boxes[i] = new QCheckBox(boxes[i].caption, frame);
        m_boxes[i]->setObjectName(boxes[i].name);
        frameLayout->addWidget(m_boxes[i]);
    }

    m_pages = new QStackedWidget(this);
    m_pages->addWidget(buildFontPage());
    m_pages->addWidget(buildColorPage());

    m_fontsButton = new QPushButton("Fonts ...", this);
    m_fontsButton->setObjectName("cmdFonts");
    m_colorsButton = new QPushButton("&C&olors ...", this);
    m_colorsButton->setObjectName("cmdColors");
    m_ok = new QPushButton("&OK", this);
    m_ok->setObjectName("roCommand1");
    m_ok->setToolTip("Save current settings");
    m_ok->setDefault(true);
    m_cancel = new QPushButton("&Cancel", this);
    m_cancel->setObjectName("roCommand2");
    m_cancel->setToolTip("Close without saving");

    auto* pageButtons = new QHBoxLayout;
    pageButtons->addWidget(m_fontsButton);
    pageButtons->addWidget(m_colorsButton);
    pageButtons->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(pageButtons);
    layout->addWidget(m_pages);
    layout->addWidget(buildCatalogueGroup());
    layout->addLayout(buttons);

    loadSettings();

    // Connected after loading, so the stored values show as they are.
    connect(m_boxes[RecentSong], &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_boxes[ShowWelcome]->setChecked(false);
    });
    connect(m_boxes[ShowWelcome], &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_boxes[RecentSong]->setChecked(false);
    });
    connect(m_fontsButton, &QPushButton::clicked, this, [this] {
        m_pages->setCurrentIndex(0);
        setWindowTitle("Set Fonts");
    });
    connect(m_colorsButton, &QPushButton::clicked, this, [this] {
        m_pages->setCurrentIndex(1);
        setWindowTitle("Set Colors");
    });
    connect(m_ok, &QPushButton::clicked, this, [this] {
        ServerAddress server;
        if (!readCatalogue(server))
            return;
        store(server);
        accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    QGuiApplication::restoreOverrideCursor();
}

QWidget* OptionsDialog::buildFontPage()
{
    auto* page = new QWidget;
    m_fontNames = new QComboBox(page);
    m_fontNames->setObjectName("Combo1");
    m_fontSizes = new QComboBox(page);
    m_fontSizes->setObjectName("Combo2");
    m_fontSizes->setEditable(true);
    m_fontSizes->setInsertPolicy(QComboBox::NoInsert);
    m_samples[0] = new QLabel("Lead Voice, doubled on Track 34, needs de-essing", page);
    m_samples[0]->setObjectName("lbl1_0");
    m_samples[1] = new QLabel("Bass DI on Track 35, compressed 4:1", page);
    m_samples[1]->setObjectName("lbl1_1");
    for (QLabel* sample : m_samples)
        sample->setAutoFillBackground(true);

    m_fontNames->addItems(QFontDatabase::families());
    for (int size = kMinSize; size <= kMaxSize; ++size)
        m_fontSizes->addItem(QString::number(size));
    m_fontSizes->setCurrentIndex(0);
    m_fontNames->setCurrentIndex(0);
    const int current = m_fontNames->findText(m_samples[0]->font().family());
    if (current >= 0)
        m_fontNames->setCurrentIndex(current);

    connect(m_fontNames, &QComboBox::currentTextChanged, this, &OptionsDialog::setSampleFamily);
    connect(m_fontSizes, &QComboBox::activated, this,
            [this](int index) { setSampleSize(m_fontSizes->itemText(index).toInt()); });
    connect(m_fontSizes->lineEdit(), &QLineEdit::textEdited, this, &OptionsDialog::sizeTyped);

    auto* layout = new QGridLayout(page);
    layout->addWidget(new QLabel("Font:", page), 0, 0);
    layout->addWidget(m_fontNames, 0, 1);
    layout->addWidget(new QLabel("Size:", page), 0, 2);
    layout->addWidget(m_fontSizes, 0, 3);
    layout->addWidget(m_samples[0], 1, 0, 1, 4);
    layout->addWidget(m_samples[1], 2, 0, 1, 4);
    layout->setColumnStretch(1, 1);
    return page;
}

QWidget* OptionsDialog::buildColorPage()
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    layout->addWidget(new QLabel("Text:", page), 0, 0);
    layout->addWidget(new QLabel("Background:", page), 1, 0);
    auto* foreGroup = new QButtonGroup(page);
    auto* backGroup = new QButtonGroup(page);
    for (int i = 0; i < kSwatchCount; ++i) {
        m_fore[i] = new QToolButton(page);
        m_fore[i]->setObjectName(QStringLiteral("optForecolor_%1").arg(i));
        m_back[i] = new QToolButton(page);
        m_back[i]->setObjectName(QStringLiteral("optBackcolor_%1").arg(i));
        for (QToolButton* b : {m_fore[i], m_back[i]}) {
            b->setCheckable(true);
            b->setIcon(swatchIcon(kSwatches[i]));
            b->setToolTip(kSwatches[i].name());
        }
        foreGroup->addButton(m_fore[i], i);
        backGroup->addButton(m_back[i], i);
        layout->addWidget(m_fore[i], 0, i + 1);
        layout->addWidget(m_back[i], 1, i + 1);
    }
    layout->setColumnStretch(kSwatchCount + 1, 1);
    connect(foreGroup, &QButtonGroup::idClicked, this, [this](int id) {
        setSampleColors(kSwatches[id], m_samples[0]->palette().color(QPalette::Window));
    });
    connect(backGroup, &QButtonGroup::idClicked, this, [this](int id) {
        setSampleColors(m_samples[0]->palette().color(QPalette::WindowText), kSwatches[id]);
    });
    return page;
}

QGroupBox* OptionsDialog::buildCatalogueGroup()
{
    auto* group = new QGroupBox("Catalogue", this);
    group->setObjectName("fraCatalogue");
    m_inFolder = new QRadioButton("In the data folder (default)", group);
    m_inFolder->setObjectName("optCatalogueFolder");
    m_onServer = new QRadioButton("On a PostgreSQL server:", group);
    m_onServer->setObjectName("optCatalogueServer");
    m_serverAddress = new QLineEdit(group);
    m_serverAddress->setObjectName("txtCatalogueServer");
    m_serverAddress->setPlaceholderText("postgresql://user@host:5432/database?sslmode=require");
    m_serverAddress->setToolTip("The password is never stored: keep it in ~/.pgpass, a service "
                                "file or PGPASSWORD.");
    auto* note = new QLabel("A change takes effect at the next start.", group);
    auto* layout = new QGridLayout(group);
    layout->addWidget(m_inFolder, 0, 0, 1, 2);
    layout->addWidget(m_onServer, 1, 0);
    layout->addWidget(m_serverAddress, 1, 1);
    layout->addWidget(note, 2, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    connect(m_onServer, &QRadioButton::toggled, m_serverAddress, &QWidget::setEnabled);
    return group;
}

void OptionsDialog::loadSettings()
{
    const Settings& s = m_state.settings;
    const QString server = s.catalogueServer();
    m_serverAddress->setText(server);
    m_onServer->setChecked(!server.isEmpty());
    m_inFolder->setChecked(server.isEmpty());
    m_serverAddress->setEnabled(!server.isEmpty());
    m_boxes[RecentSong]->setChecked(s.openRecentSong());
    m_boxes[ShowWelcome]->setChecked(s.showWelcomeScreen());
    m_boxes[ShowTip]->setChecked(s.showTipScreen());
    m_boxes[StartMinimized]->setChecked(s.showMinimized(true));
    m_boxes[ShowDeviceBar]->setChecked(s.showDeviceBar());
    m_boxes[ShowSidebar]->setChecked(s.showSidebar(false));
}

bool OptionsDialog::readCatalogue(ServerAddress& server)
{
    server = ServerAddress();
    if (!m_onServer->isChecked())
        return true;
    QString why;
    server = ServerAddress::parse(m_serverAddress->text(), &why);
    if (server.isValid())
        return true;
    m_state.prompter.critical(this,
                              "The server address cannot be used, so nothing was stored.\r" + why +
                                  "\r\rGive it as postgresql://user@host:port/database, "
                                  "with parameters such as ?sslmode=require after it.",
                              kCatalogueTitle);
    m_serverAddress->setFocus();
    return false;
}

void OptionsDialog::storeCatalogue(const ServerAddress& server)
{
    Settings& s = m_state.settings;
    const QString before = s.catalogueServer();
    s.setCatalogueServer(server);
    QStringList notes;
    if (server.hasPassword()) {
        m_serverAddress->setText(server.withoutPassword());
        notes << "The password in the address is not stored. Keep it where the connection "
                 "finds it: in ~/.pgpass, in a service file (?service=...), or in the "
                 "PGPASSWORD environment variable.";
    }
    if (s.catalogueServer() != before)
        notes << (server.isValid()
                      ? QString("From the next start on, the catalogue is opened on %1.")
                            .arg(server.describe())
                      : QString("From the next start on, the catalogue is opened in the data "
                                "folder."));
    if (!notes.isEmpty())
        m_state.prompter.information(this, notes.join("\r\r"), kCatalogueTitle);
}

void OptionsDialog::store(const ServerAddress& server)
{
    Settings& s = m_state.settings;
    storeCatalogue(server);
    s.setOpenRecentSong(m_boxes[RecentSong]->isChecked());
    s.setRecentSong(m_state.currentSong);
    s.setShowWelcomeScreen(m_boxes[ShowWelcome]->isChecked());
    s.setShowTipScreen(m_boxes[ShowTip]->isChecked());
    s.setShowMinimized(m_boxes[StartMinimized]->isChecked());
    s.setShowDeviceBar(m_boxes[ShowDeviceBar]->isChecked());
    s.setShowSidebar(m_boxes[ShowSidebar]->isChecked());
    s.sync();
    qCInfo(lcOptions) << "settings stored";
}

void OptionsDialog::setSampleFamily(const QString& family)
{
    for (QLabel* sample : m_samples) {
        QFont f = sample->font();
        f.setFamily(family);
        f.setBold(false);
        sample->setFont(f);
    }
}

void OptionsDialog::setSampleSize(int points)
{
    if (points < 1)
        return; // no size a font can take; the samples stay as they are
    for (QLabel* sample : m_samples) {
        QFont f = sample->font();
        f.setPointSize(points);
        f.setBold(false);
        sample->setFont(f);
    }
}

void OptionsDialog::sizeTyped(const QString& text)
{
    const int size = leadingNumber(text);
    if (text.isEmpty() || size > kMaxSize) {
        const QString first = m_fontSizes->itemText(0);
        m_fontSizes->setEditText(first);
        setSampleSize(first.toInt());
        return;
    }
    setSampleSize(size);
}

void OptionsDialog::setSampleColors(const QColor& fore, const QColor& back)
{
    for (QLabel* sample : m_samples) {
        QPalette p = sample->palette();
        p.setColor(QPalette::WindowText, fore);
        p.setColor(QPalette::Window, back);
        sample->setPalette(p);
    }
}

} // namespace quillon
