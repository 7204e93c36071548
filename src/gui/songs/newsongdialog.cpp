#include "songs/newsongdialog.h"

#include "common/appstate.h"
#include "common/apptitle.h"
#include "common/characterfilter.h"
#include "common/prompter.h"
#include "songs/songfields.h"
#include "songs/songstore.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QWidgetAction>

namespace quillon {

NewSongDialog::NewSongDialog(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName("frmNewSong");
    setWindowTitle("New Song");
    new QFormLayout(this);
    m_title = addField("txtNewSongtitle", "Songname", songfields::titleCharacters(), 50);
    m_words = addField("txtWords", "Words by", songfields::textCharacters(), 0);
    m_composer = addField("txtComposer", "Composed by", songfields::composerCharacters(), 0);

    m_date = new QLineEdit(this);
    m_date->setObjectName("sevText2");
    m_date->setMaxLength(10);
    m_datePicker = new QToolButton(this);
    m_datePicker->setObjectName("cmdDatePicker");
    m_datePicker->setText("...");
    m_datePicker->setToolTip("Choose a date");
    connect(m_datePicker, &QToolButton::clicked, this, &NewSongDialog::pickDate);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(m_date);
    dateRow->addWidget(m_datePicker);
    static_cast<QFormLayout*>(layout())->addRow("Date of composition", dateRow);

    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("cmdOK");
    ok->setToolTip("Confirm new Song");
    ok->setDefault(true);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("cmdCancel");
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    static_cast<QFormLayout*>(layout())->addRow(buttons);
    connect(ok, &QPushButton::clicked, this, &NewSongDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_title->clear();
}

QLineEdit* NewSongDialog::addField(const QString& name, const QString& caption,
                                   const QString& allowed, int maxLength)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    new CharacterFilter(edit, allowed, maxLength);
    edit->setMinimumWidth(320);
    static_cast<QFormLayout*>(layout())->addRow(caption, edit);
    return edit;
}

void NewSongDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_title->setFocus();
}

void NewSongDialog::pickDate()
{
    QMenu popup(this);
    auto* calendar = new QCalendarWidget(&popup);
    auto* action = new QWidgetAction(&popup);
    action->setDefaultWidget(calendar);
    popup.addAction(action);
    connect(calendar, &QCalendarWidget::clicked, &popup, [this, &popup](QDate date) {
        m_date->setText(date.toString("MM-dd-yyyy"));
        popup.close();
    });
    popup.exec(m_datePicker->mapToGlobal(QPoint(0, m_datePicker->height())));
}

void NewSongDialog::confirm()
{
    const QString title = m_title->text().trimmed();
    if (title.isEmpty()) {
        m_state.prompter.critical(this, "   Missing songtitle   ", "New song");
        m_title->setFocus();
        return;
    }
    if (m_state.songs.titleExists(title)) {
        m_state.prompter.critical(this, "  Songtitle already exists   ", kApplicationTitle);
        m_title->setFocus();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool created =
        m_state.songs.create(NewSong{title, m_words->text(), m_composer->text(), m_date->text()});
    QApplication::restoreOverrideCursor();
    if (!created) {
        // Nothing was stored; the current song stays what it was. Another
        // room may have taken the title since it was checked.
        m_state.prompter.critical(this,
                                  m_state.songs.titleTaken() ? "  Songtitle already exists   "
                                                             : m_state.songs.lastError(),
                                  kApplicationTitle);
        m_title->setFocus();
        return;
    }
    m_state.currentSong = title;
    m_state.songCount = m_state.songs.count();
    emit songCountChanged(m_state.songCount);
    accept();
}

} // namespace quillon
