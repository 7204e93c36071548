#pragma once

#include <QList>
#include <QSize>

class QCheckBox;
class QComboBox;
class QDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStatusBar;
class QTreeView;
class QWidget;

namespace quillon {

// The controls of the media library window and where they stand. The window
// is laid out in twips as designed; only the resize rule moves things.
struct TapeWindowUi {
    static constexpr int kFieldCount = 8;
    // The smallest size at which the window rearranges itself, in twips.
    static constexpr int kMinWidthTwips = 10600;
    static constexpr int kMinHeightTwips = 7300;
    // The same in pixels of the design, whose controls are placed at 96 DPI.
    static QSize minimumClient();

    void setup(QDialog* window);
    // Applies the resize rule for a client area of this size.
    void arrange(QSize client);

    QTreeView* tree = nullptr;            // TreeView1
    QGroupBox* details = nullptr;         // Frame1
    QList<QLineEdit*> fields;             // txtFields(0) .. (7)
    QComboBox* type = nullptr;            // Combo1
    QCheckBox* separated = nullptr;       // chkDeleted
    QLabel* picture = nullptr;            // img1
    QListWidget* songs = nullptr;         // List2
    QList<QLabel*> positions;             // Label1, Label2, Label9, Label11, Label19
    QPushButton* newButton = nullptr;     // cmdHinzufügen
    QPushButton* saveButton = nullptr;    // cmdSave
    QPushButton* deleteButton = nullptr;  // cmdLöschen
    QPushButton* exitButton = nullptr;    // cmdSchließen
    QPushButton* printButton = nullptr;   // cmdPrint
    QPushButton* previewButton = nullptr; // cmdPreview
    QPushButton* exportButton = nullptr;  // cmdExport
    QLabel* countCaption = nullptr;       // Label4
    QLabel* count = nullptr;              // LblNumberOfTapes
    QStatusBar* statusBar = nullptr;      // StatusBar1
    QList<QLabel*> panels;                // its three panels
    QFrame* hideAll = nullptr;            // picHideAll

private:
    void buildDetails(QDialog* window);
    void buildButtons(QDialog* window);
    void buildHideAll(QDialog* window);
    QWidget* m_buttons = nullptr;
};

} // namespace quillon
