#include "media/tapewindowui.h"

#include "common/twipsscale.h"
#include "media/mediaicons.h"
#include "media/mediatypes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace quillon {

namespace {

// Design geometry in pixels (15 twips each).
constexpr int kMargin = 8;
constexpr int kTreeTop = 32;
constexpr int kTreeWidth = 244;
constexpr int kTreeBottomGap = 7; // 100 twips
constexpr int kFrameWidth = 428;
constexpr int kFrameHeight = 372;
constexpr int kFrameRightGap = 17;   // 260 twips
constexpr int kHideAllAboveTree = 3; // 45 twips
constexpr int kButtonsHeight = 62;

struct FieldSpec {
    const char* objectName;
    const char* caption;
    int maxLength;
    const char* preset;
};

const FieldSpec kFields[TapeWindowUi::kFieldCount] = {
    {"txtFields0", "Name (Number or description)", 50, "000"},
    {"txtFields1", "Brandname", 50, ""},
    {"txtFields2", "Serialnumber", 50, ""},
    {"txtFields3", "Length/Capacity (Feet or MB/GB)", 15, "0"},
    {"txtFields4", "Max. Recordingtime", 8, "00:00:00"},
    {"txtFields5", "Noise Reduction", 20, ""},
    {"txtFields6", "Entered on", 10, "00.00.0000"},
    {"txtFields7", "Separated on", 10, "00.00.0000"},
};

QWidget* captioned(const QString& caption, QWidget* box)
{
    auto* holder = new QWidget;
    auto* column = new QVBoxLayout(holder);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    auto* label = new QLabel(caption);
    label->setBuddy(box);
    column->addWidget(label);
    column->addWidget(box);
    return holder;
}

QPushButton* button(const char* name, const QString& caption, const QString& tip)
{
    auto* b = new QPushButton(caption);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

} // namespace

void TapeWindowUi::setup(QDialog* window)
{
    countCaption = new QLabel(QStringLiteral("Number of items:"), window);
    countCaption->setObjectName("Label4");
    count = new QLabel(QStringLiteral("0"), window);
    count->setObjectName("LblNumberOfTapes");
    countCaption->move(kMargin, kMargin + 2);
    countCaption->adjustSize();
    count->move(kMargin + countCaption->width() + 6, kMargin + 2);
    count->setMinimumWidth(80);
    count->adjustSize();

    tree = new QTreeView(window);
    tree->setObjectName("TreeView1");
    tree->setHeaderHidden(true);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setUniformRowHeights(true); // keeps thousands of media fast
    tree->setSelectionMode(QAbstractItemView::SingleSelection);

    buildDetails(window);
    buildButtons(window);
    buildHideAll(window);

    statusBar = new QStatusBar(window);
    statusBar->setObjectName("StatusBar1");
    statusBar->setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel;
        panel->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        statusBar->addWidget(panel, i == 1 ? 1 : 0);
        panels << panel;
    }
    panels[0]->setText(QStringLiteral("Recording Mediums"));
    panels[2]->setText(QStringLiteral("Items: 0"));

    arrange(minimumClient());
}

void TapeWindowUi::buildDetails(QDialog* window)
{
    details = new QGroupBox(QStringLiteral("Details"), window);
    details->setObjectName("Frame1");
    auto* grid = new QGridLayout(details);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);

    for (const FieldSpec& field : kFields) {
        auto* box = new QLineEdit(QString::fromLatin1(field.preset));
        box->setObjectName(QString::fromLatin1(field.objectName));
        box->setMaxLength(field.maxLength);
        fields << box;
    }
    // The recording time takes only hh:mm:ss; what the program puts into
    // the box (a stored value of another form) is shown as it is.
    fields[4]->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("([0-9]{2}:[0-5][0-9]:[0-5][0-9])?")), fields[4]));
    type = new QComboBox;
    type->setObjectName("Combo1");
    type->setEditable(true);
    type->setInsertPolicy(QComboBox::NoInsert);
    type->addItems(media::mediaTypes());
    separated = new QCheckBox(QStringLiteral("Separated"));
    separated->setObjectName("chkDeleted");
    separated->setToolTip(QStringLiteral("Save as deleted. The item will stay in the database"));
    picture = new QLabel;
    picture->setObjectName("img1");
    picture->setFixedSize(52, 52);
    picture->setAlignment(Qt::AlignCenter);
    picture->setFrameShape(QFrame::StyledPanel);

    grid->addWidget(captioned(kFields[0].caption, fields[0]), 0, 0, 1, 2);
    grid->addWidget(picture, 0, 2, 2, 1, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(captioned(kFields[1].caption, fields[1]), 1, 0);
    grid->addWidget(captioned(QStringLiteral("Type"), type), 1, 1);
    grid->addWidget(captioned(kFields[2].caption, fields[2]), 2, 0);
    grid->addWidget(captioned(kFields[3].caption, fields[3]), 2, 1, 1, 2);
    grid->addWidget(captioned(kFields[4].caption, fields[4]), 3, 0);
    grid->addWidget(captioned(kFields[5].caption, fields[5]), 3, 1, 1, 2);
    grid->addWidget(captioned(kFields[6].caption, fields[6]), 4, 0);
    grid->addWidget(captioned(kFields[7].caption, fields[7]), 4, 1);
    grid->addWidget(separated, 4, 2, Qt::AlignBottom);

    songs = new QListWidget;
    songs->setObjectName("List2");
    grid->addWidget(captioned(QStringLiteral("Songs on that medium"), songs), 5, 0, 1, 1);

    auto* where = new QWidget;
    auto* whereGrid = new QGridLayout(where);
    whereGrid->setContentsMargins(0, 14, 0, 0);
    whereGrid->setVerticalSpacing(2);
    const char* names[5] = {"Label1", "Label2", "Label9", "Label11", "Label19"};
    const char* captions[5] = {
        "Counter from:", "Counter to:", "Tapetime from:", "Tapetime to:", "SMPTE-Time:"};
    for (int i = 0; i < 5; ++i) {
        auto* value = new QLabel;
        value->setObjectName(QString::fromLatin1(names[i]));
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
        value->setMinimumWidth(80);
        whereGrid->addWidget(new QLabel(QString::fromLatin1(captions[i])), i, 0);
        whereGrid->addWidget(value, i, 1);
        positions << value;
    }
    whereGrid->setRowStretch(5, 1);
    grid->addWidget(where, 5, 1, 1, 2);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    details->setFixedSize(kFrameWidth, kFrameHeight);
}

void TapeWindowUi::buildButtons(QDialog* window)
{
    m_buttons = new QWidget(window);
    auto* grid = new QGridLayout(m_buttons);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(6);
    newButton =
        button("cmdHinzufuegen", QStringLiteral("&New"), QStringLiteral("Add a Tape/Disk/CD"));
    saveButton =
        button("cmdSave", QStringLiteral("&Save"), QStringLiteral("Save the current item"));
    deleteButton = button("cmdLoeschen", QStringLiteral("&Delete"),
                          QStringLiteral("Delete current Tape/Disk/CD from database"));
    exitButton = button("cmdSchliessen", QStringLiteral("E&xit"), QStringLiteral("Close program"));
    printButton =
        button("cmdPrint", QStringLiteral("&Print"), QStringLiteral("Print the media list"));
    previewButton =
        button("cmdPreview", QStringLiteral("P&review"), QStringLiteral("Preview the media list"));
    exportButton = button("cmdExport", QStringLiteral("&Export"),
                          QStringLiteral("Export the media list as plain text"));
    grid->addWidget(newButton, 0, 0);
    grid->addWidget(saveButton, 0, 1);
    grid->addWidget(deleteButton, 0, 2);
    grid->addWidget(exitButton, 0, 3);
    grid->addWidget(printButton, 1, 0);
    grid->addWidget(previewButton, 1, 1);
    grid->addWidget(exportButton, 1, 2);
    m_buttons->setFixedSize(kFrameWidth, kButtonsHeight);
}

void TapeWindowUi::buildHideAll(QDialog* window)
{
    hideAll = new QFrame(window);
    hideAll->setObjectName("picHideAll");
    hideAll->setFrameShape(QFrame::StyledPanel);
    hideAll->setAutoFillBackground(true);
    auto* column = new QVBoxLayout(hideAll);
    column->setContentsMargins(24, 24, 24, 24);
    auto* root = new QLabel;
    root->setPixmap(MediaIcons::picture(media::kRootIcon, 96));
    root->setAlignment(Qt::AlignCenter);
    auto* heading =
        new QLabel(QStringLiteral("         Recording Mediums        Tapes, CDs,Harddisks"));
    heading->setObjectName("Label13");
    // Rich text folds the runs of blanks the fixed texts carry into one.
    heading->setTextFormat(Qt::RichText);
    heading->setWordWrap(true);
    heading->setAlignment(Qt::AlignCenter);
    QFont big = heading->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    heading->setFont(big);
    auto* hint =
        new QLabel(QStringLiteral("   Store the information about your    recording mediums"));
    hint->setObjectName("Label15");
    hint->setTextFormat(Qt::RichText);
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignCenter);
    auto* brand = new QLabel(QStringLiteral("Quillon 05"));
    brand->setObjectName("Label14");
    brand->setAlignment(Qt::AlignRight);
    QFont italic = brand->font();
    italic.setItalic(true);
    brand->setFont(italic);
    column->addStretch(1);
    column->addWidget(root);
    column->addSpacing(12);
    column->addWidget(heading);
    column->addSpacing(8);
    column->addWidget(hint);
    column->addStretch(2);
    column->addWidget(brand);
}

QSize TapeWindowUi::minimumClient()
{
    return TwipsScale().toPixels(QSizeF(kMinWidthTwips, kMinHeightTwips));
}

void TapeWindowUi::arrange(QSize client)
{
    const int statusHeight = statusBar->sizeHint().height();
    statusBar->setGeometry(0, client.height() - statusHeight, client.width(), statusHeight);
    // Below the designed size the controls keep their places.
    const QSize designed = minimumClient();
    if (client.width() < designed.width() || client.height() < designed.height())
        return;
    const int treeHeight = client.height() - kTreeTop - kTreeBottomGap - statusHeight;
    tree->setGeometry(kMargin, kTreeTop, kTreeWidth, qMax(40, treeHeight));
    const int frameLeft = client.width() - kFrameWidth - kFrameRightGap;
    details->move(frameLeft, kMargin);
    m_buttons->move(frameLeft, kMargin + kFrameHeight + 6);
    const int hideTop = kTreeTop - kHideAllAboveTree;
    hideAll->setGeometry(frameLeft, hideTop, kFrameWidth, kMargin + kFrameHeight - hideTop);
}

} // namespace quillon
