#include "songs/songinfodialog.h"

#include "common/appstate.h"
#include "common/apptitle.h"
#include "common/changedelsewhere.h"
#include "common/characterfilter.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "media/mediastore.h"
#include "songs/songfields.h"
#include "songs/songstore.h"
#include "songs/stylelist.h"
#include "songs/stylewindow.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace quillon {

namespace {

const QString kGeneral = songfields::textCharacters();
const QString kTimeChars = QStringLiteral("1234567890:");

enum class Kind { Line, Style, Medium };

struct FieldRule {
    const char* caption;
    QString allowed;
    int maxLength;
    bool rightAligned;
    Kind kind;
};

// txtFields(0) .. txtFields(19) in index order.
const QList<FieldRule>& fieldRules()
{
    static const QList<FieldRule> rules{
        {"Songtitle", kGeneral, 0, false, Kind::Line},
        {"Artist", kGeneral, 0, false, Kind::Line},
        {"Words by", kGeneral, 0, false, Kind::Line},
        {"Music by", kGeneral, 0, false, Kind::Line},
        {"Publisher", kGeneral, 0, false, Kind::Line},
        {"Recordcompany", kGeneral, 0, false, Kind::Line},
        {"Date of composition", QStringLiteral("1234567890.-/"), 10, false, Kind::Line},
        {"Key", QStringLiteral("abcdefghijklmnopqrstuvwxyz1234567890/"), 0, false, Kind::Line},
        {"Measure", QStringLiteral("1234567890/"), 5, false, Kind::Line},
        {"Tempo", QStringLiteral("1234567890"), 0, false, Kind::Line},
        {"Noisered.", kGeneral, 0, false, Kind::Line},
        {"Length", kTimeChars, 8, false, Kind::Line},
        {"Style", QStringLiteral("*") + kGeneral, 100, false, Kind::Style},
        {"Tape/HD/CD", QString(), 50, false, Kind::Medium},
        {"Counter from", kTimeChars, 0, true, Kind::Line},
        {"Tapetime from", kTimeChars, 8, true, Kind::Line},
        {"SMPTE-Time", kTimeChars, 8, true, Kind::Line},
        {"SMPTE-Type", kGeneral, 0, true, Kind::Line},
        {"Counter to", kTimeChars, 0, true, Kind::Line},
        {"Tapetime to", kTimeChars, 8, true, Kind::Line},
    };
    return rules;
}

// The song table field of each box, by box index.
const char* const kStoredFields[SongInfoDialog::kFieldCount] = {
    "songtitle",      "artist",    "text",      "composer",        "publisher",
    "recordcomp",     "compodate", "Key",       "Signature",       "tempo",
    "NoiseReduction", "Length",    "Style",     "Bandnummer",      "BandZählWerkVon",
    "BandzeitVon",    "SMPTEZeit", "SmpteType", "BandZählWerkBis", "BandzeitBis"};

// The stored fields the boxes write, as the row holds them.
QVariantMap storedFields(const SongRecord& row)
{
    QVariantMap fields;
    for (int i = 1; i < SongInfoDialog::kFieldCount; ++i) {
        const QString field = QString::fromUtf8(kStoredFields[i]);
        fields.insert(field, row.text(field));
    }
    return fields;
}

// The element of the current song's details that box i shows (not the title).
QString* detailOf(SongDetails& d, int i)
{
    switch (i) {
    case 1:
        return &d.artist;
    case 2:
        return &d.words;
    case 3:
        return &d.composer;
    case 4:
        return &d.publisher;
    case 5:
        return &d.recordCompany;
    case 6:
        return &d.compositionDate;
    case 7:
        return &d.key;
    case 8:
        return &d.signature;
    case 9:
        return &d.tempo;
    case 10:
        return &d.noiseReduction;
    case 11:
        return &d.length;
    case 12:
        return &d.style;
    case 13:
        return &d.mediumNumber;
    case 14:
        return &d.counterFrom;
    case 15:
        return &d.mediumTimeFrom;
    case 16:
        return &d.smpteTime;
    case 17:
        return &d.smpteType;
    case 18:
        return &d.counterTo;
    case 19:
        return &d.mediumTimeTo;
    default:
        return nullptr;
    }
}

// A drop-down whose list starts with a heading that cannot be chosen.
void fillDropDown(QComboBox* box, const QString& heading, const QStringList& entries)
{
    const QString text = box->currentText();
    box->clear();
    box->addItem(heading);
    if (auto* model = qobject_cast<QStandardItemModel*>(box->model()))
        model->item(0)->setFlags(Qt::NoItemFlags);
    box->addItems(entries);
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

class BusyCursor final {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { release(); }
    void release()
    {
        if (m_active)
            QApplication::restoreOverrideCursor();
        m_active = false;
    }

private:
    bool m_active = true;
};

} // namespace

SongInfoDialog::SongInfoDialog(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName("frmSongInfo");
    setWindowTitle("Songdetails");
    setModal(true);
    buildUi();

    BusyCursor busy;
    m_fields.at(0)->setEnabled(true);
    m_oldTitle = m_state.currentSong;
    fillStyles();
    fillMedia();
    if (m_state.currentSong == kTrainingSong) {
        m_fields.at(0)->setEnabled(false);
        m_training = true;
    }
    fillFields();
    // Without a stored row there is nothing another room could have changed.
    if (const std::optional<SongRecord> row = m_state.songs.song(m_oldTitle))
        m_asRead = storedFields(*row);
}

void SongInfoDialog::buildUi()
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    const auto& rules = fieldRules();
    for (int i = 0; i < kFieldCount; ++i) {
        const FieldRule& rule = rules.at(i);
        auto* caption = new QLabel(QString::fromUtf8(rule.caption), this);
        caption->setObjectName(QString("lblCaption%1").arg(i));
        QWidget* editor = nullptr;
        QLineEdit* line = nullptr;
        if (rule.kind == Kind::Line) {
            line = new QLineEdit(this);
            line->setObjectName(QString("txtFields%1").arg(i));
            editor = line;
        } else {
            auto* combo = new QComboBox(this);
            combo->setObjectName(QString("txtFields%1").arg(i));
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setCompleter(nullptr);
            combo->setMaxVisibleItems(20);
            combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            combo->setMinimumContentsLength(20);
            line = combo->lineEdit();
            editor = combo;
            (rule.kind == Kind::Style ? m_styleBox : m_mediumBox) = combo;
        }
        new CharacterFilter(line, rule.allowed, rule.maxLength);
        if (i == 8) {
            // The measure takes the form ##/## (one or two digits each side);
            // a stored value of another form is still shown as it is.
            line->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("([0-9]{1,2}/[0-9]{1,2})?")), line));
        }
        if (rule.rightAligned)
            line->setAlignment(Qt::AlignRight);
        caption->setBuddy(editor);
        m_fields << line;

        // Three columns of caption and box: the song, its musical details,
        // and its place on the medium.
        const int column = i < 7 ? 0 : (i < 14 ? 2 : 4);
        const int row = i < 7 ? i : (i < 14 ? i - 7 : i - 14);
        grid->addWidget(caption, row, column);
        if (i == 9) {
            auto* tempoRow = new QHBoxLayout;
            tempoRow->addWidget(editor);
            auto* unit = new QLabel("bpm", this);
            unit->setObjectName("lblTempoUnit");
            tempoRow->addWidget(unit);
            grid->addLayout(tempoRow, row, column + 1);
        } else {
            grid->addWidget(editor, row, column + 1);
        }
    }
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);
    grid->setColumnStretch(5, 1);
    grid->setColumnMinimumWidth(1, 220);
    grid->setColumnMinimumWidth(3, 180);
    grid->setColumnMinimumWidth(5, 110);

    m_more = new QPushButton("&More ...", this);
    m_more->setObjectName("cmdMoreSongInfo");
    m_styles = new QPushButton("Styles ...", this);
    m_styles->setObjectName("cmdStyle");
    m_close = new QPushButton("&Close", this);
    m_close->setObjectName("cmdClose");
    for (QPushButton* b : {m_more, m_styles, m_close})
        b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_more);
    buttons->addWidget(m_styles);
    buttons->addWidget(m_close);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addSpacing(8);
    outer->addLayout(buttons);

    connect(m_more, &QPushButton::clicked, this, &SongInfoDialog::noteRequested);
    connect(m_styles, &QPushButton::clicked, this, &SongInfoDialog::onStyles);
    connect(m_close, &QPushButton::clicked, this, &SongInfoDialog::onClose);
}

void SongInfoDialog::fillStyles()
{
    QStringList shown;
    for (const QString& entry : StyleList(m_state.data).readForSongDetails())
        shown << entry.left(StyleList::kDropDownWidth);
    fillDropDown(m_styleBox, "Styles", shown);
}

void SongInfoDialog::fillMedia()
{
    MediaStore media(m_state.data);
    QStringList names;
    if (media.databaseExists()) {
        names = media.names();
        if (!media.lastError().isEmpty())
            qCWarning(lcMedia) << "media names unavailable:" << media.lastError();
    }
    fillDropDown(m_mediumBox, "Tape/HD/CD", names);
}

void SongInfoDialog::fillFields()
{
    m_fields.at(0)->setText(m_state.currentSong);
    for (int i = 1; i < kFieldCount; ++i)
        m_fields.at(i)->setText(*detailOf(m_state.currentSongDetails, i));
    m_shown.clear();
    for (QLineEdit* box : m_fields)
        m_shown << box->text();
}

const QString SongInfoDialog::kStoreQuestion =
    QStringLiteral("The changes have not been stored.\rDo you want to store them?");

QMessageBox::StandardButton SongInfoDialog::askToStore(Prompter& prompter, QWidget* window)
{
    return prompter.message(window, kStoreQuestion, window->windowTitle(), Prompter::Icon::Question,
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                            QMessageBox::Yes);
}

bool SongInfoDialog::hasChanges() const
{
    for (int i = 0; i < kFieldCount; ++i)
        if (m_fields.at(i)->text() != m_shown.value(i))
            return true;
    return false;
}

void SongInfoDialog::reject()
{
    // Escape and the title bar's close box come here; only Close stored
    // before, so what was typed went lost without a word.
    if (!hasChanges()) {
        QDialog::reject();
        return;
    }
    const auto answer = askToStore(m_state.prompter, this);
    if (answer == QMessageBox::Yes)
        onClose(); // closes unless it refuses, as Close does
    else if (answer == QMessageBox::No)
        QDialog::reject();
}

void SongInfoDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        (m_training ? m_fields.at(1) : m_fields.at(0))->setFocus();
    }
}

void SongInfoDialog::onStyles()
{
    StyleWindow styles(m_state, this);
    styles.exec();
    // A style just added is offered at once, not only on the next opening.
    fillStyles();
}

bool SongInfoDialog::measureComplete()
{
    // The box refuses what cannot become ##/##, but a half-typed measure
    // ("3/") gets through the keys; an untouched stored value is kept.
    QLineEdit* measure = m_fields.at(8);
    if (measure->text() == m_shown.value(8) || measure->hasAcceptableInput())
        return true;
    m_state.prompter.critical(this, "Please enter the measure as ##/##, for example 4/4.",
                              kApplicationTitle);
    measure->setFocus();
    return false;
}

bool SongInfoDialog::takeStoredState()
{
    bool gone = false;
    QString why = changedelsewhere::refusalText(m_state.songs, m_oldTitle, &gone);
    std::optional<SongRecord> row;
    if (!gone)
        row = m_state.songs.song(m_oldTitle);
    else if (m_state.currentSong != m_oldTitle && (row = m_state.songs.song(m_state.currentSong)))
        // Renamed, and the main window has followed: so does this window.
        why = QStringLiteral("\"%1\" was renamed to \"%2\" in another room after it was shown "
                             "here, so this change was not stored.\rIts current state is shown "
                             "now; what you typed is still there to apply again.")
                  .arg(m_oldTitle, m_state.currentSong);
    m_state.prompter.message(this, why, kApplicationTitle, Prompter::Icon::Warning);
    if (!row)
        return false;
    m_oldTitle = row->title();
    SongDetails stored = m_state.currentSongDetails;
    stored.readFrom(*row);
    m_state.currentSongDetails = stored;
    QStringList current{m_oldTitle};
    for (int i = 1; i < kFieldCount; ++i)
        current << *detailOf(stored, i);
    changedelsewhere::takeCurrent(m_fields, m_shown, current);
    m_asRead = storedFields(*row);
    return true;
}

double SongInfoDialog::leadingNumber(const QString& text)
{
    const QString t = text.trimmed();
    int end = 0;
    if (end < t.size() && (t.at(end) == '+' || t.at(end) == '-'))
        ++end;
    const int digitsFrom = end;
    while (end < t.size() && t.at(end) >= '0' && t.at(end) <= '9')
        ++end;
    if (end < t.size() && t.at(end) == '.') {
        ++end;
        while (end < t.size() && t.at(end) >= '0' && t.at(end) <= '9')
            ++end;
    }
    if (end == digitsFrom || (end == digitsFrom + 1 && t.at(digitsFrom) == '.'))
        return 0.0;
    bool ok = false;
    const double value = t.left(end).toDouble(&ok);
    return ok ? value : 0.0;
}

void SongInfoDialog::onClose()
{
    if (!measureComplete())
        return;
    BusyCursor busy;
    QLineEdit* titleBox = m_fields.at(0);
    const QString trimmed = titleBox->text().trimmed();
    // The same caption as the new song dialog's, whatever the program's
    // displayed name is at the moment.
    const QString& appTitle = kApplicationTitle;

    if (trimmed.isEmpty()) {
        busy.release();
        m_state.prompter.critical(this,
                                  "WARNING:       Missing songtitle         \r\r"
                                  "SONGTITLE will not be changed !\r\r"
                                  "All other changes will be saved !",
                                  appTitle);
        titleBox->setText(m_state.currentSong);
        titleBox->setFocus();
    } else if (trimmed != m_oldTitle.trimmed() && m_state.songs.titleExists(trimmed)) {
        // Compared without the song's own exception: changing only the letter
        // case of a title is refused, since its own row then matches.
        busy.release();
        m_state.prompter.critical(this, "  Songtitle already exists   ", appTitle);
        titleBox->setFocus();
        return;
    }

    const QString newTitle = titleBox->text();
    SongDetails details = m_state.currentSongDetails;
    QVariantMap fields;
    for (int i = 1; i < kFieldCount; ++i) {
        const QString text = m_fields.at(i)->text();
        *detailOf(details, i) = text;
        fields.insert(QString::fromUtf8(kStoredFields[i]), text);
    }
    const double tempo = leadingNumber(m_fields.at(9)->text());
    fields.insert("tempo", tempo);
    details.tempo = QString::number(tempo);

    if (!m_state.songs.rename(m_oldTitle, newTitle, fields, m_asRead)) {
        // Nothing was stored; the window stays open with what was typed.
        busy.release();
        if (m_state.songs.changedElsewhere()) {
            if (!takeStoredState())
                QDialog::reject();
        } else if (m_state.songs.titleTaken()) {
            // Another room took the title after it was checked here.
            m_state.prompter.critical(this, "  Songtitle already exists   ", appTitle);
            titleBox->setFocus();
        } else {
            m_state.prompter.critical(this, m_state.songs.lastError(), appTitle);
        }
        return;
    }
    qCDebug(lcSongs) << "song details stored" << m_oldTitle << "->" << newTitle;
    m_state.currentSong = newTitle;
    m_state.currentSongDetails = details;
    m_training = false;
    busy.release();
    accept();
}

} // namespace quillon
