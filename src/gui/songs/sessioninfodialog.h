#pragma once

#include <QDialog>
#include <QList>

class QLineEdit;

namespace quillon {

struct AppState;

// Session details ("frmSessionInfo"): two producers and three technicians of
// the current song. Every change goes straight into the current song's
// details; the main window stores them after the dialog has closed. Closed
// otherwise than by Close with changes made, the dialog asks whether to
// keep them: No puts the details back as they were.
class SessionInfoDialog final : public QDialog {
    Q_OBJECT
public:
    explicit SessionInfoDialog(AppState& state, QWidget* parent = nullptr);

    // txtFields(0) .. txtFields(5).
    QLineEdit* field(int index) const { return m_fields.value(index); }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    QStringList sessionTexts() const;
    void setSessionTexts(const QStringList& texts);

    AppState& m_state;
    QList<QLineEdit*> m_fields;
    QStringList m_original; // the five texts as the dialog found them
};

} // namespace quillon
