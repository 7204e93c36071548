#pragma once

#include "printing/formsheet.h"

#include <QDialog>
#include <QHash>

class QLabel;
class QPlainTextEdit;

namespace quillon {

struct AppState;

// The song details preview ("frmPreviewSongdetails", caption "Songdetails"):
// every detail of the current song on one read-only, fixed-width sheet.
// Opened while print mode is on it prints the sheet as one page and closes.
class SongDetailsPreview final : public QDialog {
    Q_OBJECT
public:
    explicit SongDetailsPreview(AppState& state, QWidget* parent = nullptr);

    bool printMode() const { return m_printMode; }
    const FormSheet& sheet() const { return m_sheet; }
    QLabel* label(const QString& name) const { return m_labels.value(name); }
    QPlainTextEdit* noteBox() const { return m_note; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    double dpi() const;
    QSizeF innerTwips() const;
    void fill();
    void relayout();
    void printAndClose();

    AppState& m_state;
    const bool m_printMode;
    FormSheet m_sheet;
    QString m_date;
    bool m_activated = false;
    bool m_finished = false;
    bool m_adjusting = false;
    QWidget* m_picture = nullptr;
    QPlainTextEdit* m_note = nullptr;
    QHash<QString, QLabel*> m_labels;
    QList<QWidget*> m_rules;
};

} // namespace quillon
