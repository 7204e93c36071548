#include "songs/sessioninfodialog.h"

#include "common/appstate.h"
#include "common/characterfilter.h"
#include "common/prompter.h"
#include "songs/songfields.h"
#include "songs/songinfodialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

SessionInfoDialog::SessionInfoDialog(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("frmSessionInfo"));
    setWindowTitle(tr("Sessiondetails"));
    setModal(true);

    SongDetails& details = m_state.currentSongDetails;
    m_original = sessionTexts(m_state.currentSongDetails);
    struct Box {
        QString caption;
        int maxLength;
        QString* element;
    };
    const QList<Box> boxes{
        {tr("Songtitle"), 32767, nullptr},
        {tr("Producer 1"), 60, &details.producer1},
        {tr("Producer 2"), 60, &details.producer2},
        {tr("Technician 1"), 50, &details.technician1},
        {tr("Technician 2"), 50, &details.technician2},
        {tr("Technician 3"), 50, &details.technician3},
    };

    auto* form = new QFormLayout;
    for (int i = 0; i < boxes.size(); ++i) {
        const Box& box = boxes.at(i);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("txtFields(%1)").arg(i));
        edit->setMaxLength(box.maxLength);
        edit->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
        if (box.element) {
            // Stored text longer than the box allows is shown whole, not cut;
            // the limit holds for what is typed or pasted.
            CharacterFilter::setText(edit, *box.element);
            new CharacterFilter(edit, songfields::textCharacters(), box.maxLength);
            // The box's own text: the filter's correction of an edit is
            // reported before the line edit reports the edit itself.
            QString* element = box.element;
            connect(edit, &QLineEdit::textChanged, this,
                    [element, edit] { *element = edit->text(); });
        } else {
            edit->setText(m_state.currentSong);
            edit->setReadOnly(true);
        }
        form->addRow(box.caption, edit);
        m_fields << edit;
    }

    auto* closeButton = new QPushButton(tr("&Close"), this);
    closeButton->setObjectName(QStringLiteral("cmdClose"));
    closeButton->setAutoDefault(false);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

QStringList SessionInfoDialog::sessionTexts(const SongDetails& d)
{
    return {d.producer1, d.producer2, d.technician1, d.technician2, d.technician3};
}

void SessionInfoDialog::setSessionTexts(SongDetails& d, const QStringList& texts)
{
    QString* elements[] = {&d.producer1, &d.producer2, &d.technician1, &d.technician2,
                           &d.technician3};
    for (int i = 0; i < 5; ++i)
        *elements[i] = texts.value(i);
}

void SessionInfoDialog::reject()
{
    // Escape and the title bar's close box: the same question as the song
    // details ask, so that no way of closing drops or keeps edits unasked.
    if (sessionTexts(m_state.currentSongDetails) == m_original) {
        QDialog::reject();
        return;
    }
    const auto answer = SongInfoDialog::askToStore(m_state.prompter, this);
    if (answer == QMessageBox::Yes) {
        accept();
    } else if (answer == QMessageBox::No) {
        setSessionTexts(m_state.currentSongDetails, m_original);
        QDialog::reject();
    }
}

void SessionInfoDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_fields.first()->setFocus();
}

} // namespace quillon
