#include "closeotherwise.h"

#include <QMessageBox>
#include <QTest>
#include <QWidget>

namespace quillon::test {

void addCloseOtherwiseRows()
{
    QTest::addColumn<bool>("escape");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    for (const bool escape : {true, false})
        for (const auto answer : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            QTest::addRow("%s, %d", escape ? "Escape" : "close box", int(answer))
                << escape << answer;
}

void closeOtherwise(QWidget* window, QWidget* focus, bool escape)
{
    if (escape)
        QTest::keyClick(focus, Qt::Key_Escape);
    else
        window->close();
}

} // namespace quillon::test
