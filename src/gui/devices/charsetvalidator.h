#pragma once

#include <QValidator>

namespace quillon {

// Lets only the characters of a fixed set into a line edit, matched without
// regard to letter case. Other characters are dropped as they are typed or
// pasted instead of refusing the whole edit, like a keystroke filter.
class CharSetValidator final : public QValidator {
    Q_OBJECT
public:
    explicit CharSetValidator(const QString& allowed, QObject* parent = nullptr);

    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

private:
    QString m_allowed;
};

} // namespace quillon
