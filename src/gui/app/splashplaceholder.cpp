#include "app/splashplaceholder.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace quillon {

SplashPlaceholder::SplashPlaceholder(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName("frmInfo");
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QApplication::applicationDisplayName(), this);
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 2);
    font.setBold(true);
    title->setFont(font);
    layout->addWidget(title, 0, Qt::AlignCenter);
    layout->addWidget(new QLabel("Version " + QApplication::applicationVersion(), this), 0,
                      Qt::AlignCenter);
    layout->addWidget(new QLabel("Loading ...", this), 0, Qt::AlignCenter);
    resize(360, 180);
}

} // namespace quillon
