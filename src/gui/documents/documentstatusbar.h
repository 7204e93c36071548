#pragma once

#include <QWidget>

class QLabel;

namespace quillon {

// Page, line and column of the cursor under a document.
class DocumentStatusBar final : public QWidget {
    Q_OBJECT

public:
    explicit DocumentStatusBar(QWidget* parent = nullptr);

    void showPosition(int page, int pageCount, int line, int column);

    QString pageText() const;
    QString lineText() const;
    QString columnText() const;

private:
    QLabel* m_page;
    QLabel* m_line;
    QLabel* m_column;
};

} // namespace quillon
