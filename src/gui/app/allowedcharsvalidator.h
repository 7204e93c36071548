#pragma once

#include <QValidator>

namespace quillon {

// Accepts only characters of an allowed set. Letters are matched without
// regard to case, so a set written partly in capitals still admits both.
class AllowedCharsValidator final : public QValidator {
    Q_OBJECT
public:
    explicit AllowedCharsValidator(const QString& allowed, QObject* parent = nullptr);

    State validate(QString& input, int& pos) const override;
    bool admits(QChar c) const;
    QString allowed() const { return m_allowed; }

private:
    QString m_allowed;
};

} // namespace quillon
