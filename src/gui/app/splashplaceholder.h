#pragma once

#include <QWidget>

namespace quillon {

// Shown while the main window builds itself, until the about box takes its place.
class SplashPlaceholder final : public QWidget {
    Q_OBJECT
public:
    explicit SplashPlaceholder(QWidget* parent = nullptr);
};

} // namespace quillon
