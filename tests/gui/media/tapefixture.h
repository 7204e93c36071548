#pragma once

#include "appfixture.h"
#include "media/mediastore.h"
#include "media/tapewindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

namespace quillon::test {

// The window tests' start, with the media library's store.
struct TapeFixture : AppFixture {
    MediaStore media{tmp.folder()};

    static Medium medium(const QString& name, const QString& type = "2 - Analog Tape")
    {
        Medium m;
        m.name = name;
        m.brand = "Ampex";
        m.type = type;
        m.serialNumber = "SN-" + name;
        m.length = "2500";
        m.maxTime = "00:33:00";
        m.noiseReduction = "Dolby SR";
        m.enteredOn = "01.02.2005";
        return m;
    }
    void add(const QString& name, const QString& type = "2 - Analog Tape")
    {
        if (!media.add(medium(name, type)))
            qFatal("media store: %s", qPrintable(media.lastError()));
    }
    Medium stored(const QString& name)
    {
        Medium missing;
        missing.name = "<missing>";
        return media.find(name).value_or(missing);
    }
};

inline QLineEdit* box(TapeWindow& w, int i)
{
    return w.ui().fields.at(i);
}

// Replaces a box's text by typing, as the user does.
inline void type(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

inline void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// Clicks the medium labelled `name`.
inline bool clickMedium(TapeWindow& w, const QString& name)
{
    const QModelIndex node = w.tree().find(name);
    if (!node.isValid())
        return false;
    w.clickNode(node);
    return true;
}

} // namespace quillon::test
