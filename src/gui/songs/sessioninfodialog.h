#pragma once

#include <QDialog>
#include <QList>

class QLineEdit;

namespace quillon {

struct AppState;
struct SongDetails;

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
    // The five texts as stored, when the dialog shows other ones (what was
    // typed before another room's change refused it): closing otherwise
    // than by Close then asks, and No puts these back.
    void setStoredTexts(const QStringList& stored) { m_original = stored; }

    // The five texts the dialog edits, in box order, and their stored fields.
    static QStringList sessionTexts(const SongDetails& details);
    static void setSessionTexts(SongDetails& details, const QStringList& texts);
    static inline const QStringList kStoredFields{"Producer1", "Producer2", "Technician1",
                                                  "Technician2", "Technician3"};

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    AppState& m_state;
    QList<QLineEdit*> m_fields;
    QStringList m_original; // the five texts as stored (as the dialog found them)
};

} // namespace quillon
