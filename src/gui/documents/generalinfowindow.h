#pragma once

#include "documents/notewindow.h"
#include "notebook/notebookstore.h"

namespace quillon {

// The general info notebook (frmGeneralInfo): one formatted document tied
// to no song, kept in note1.mdb. The main window shows it modally:
//   GeneralInfoWindow window(state, this); window.exec();
class GeneralInfoWindow final : public NoteWindow {
    Q_OBJECT

public:
    explicit GeneralInfoWindow(AppState& state, QWidget* parent = nullptr);
    ~GeneralInfoWindow() override;

    // "&Print": the standard print dialog, then the chosen pages on the
    // default printer. False when cancelled or nothing was printed.
    bool print();

protected:
    bool storeFieldText(const QString& fieldText, QString& error) override;
    QString filterLabel() const override { return {}; }
    QString importFolder() const override;
    QString exportFolder() const override;
    void printDocument() override { print(); }
    void aboutToClose() override;

private:
    NotebookStore m_store;
    // The stored text a save is based on: as read when the window opened,
    // as stored by the last save, or as another room left it when a save
    // was refused for that (the typed text stays in the window).
    QString m_asRead;
};

} // namespace quillon
