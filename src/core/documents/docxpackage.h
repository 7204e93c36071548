#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct zip; // libzip's archive handle

namespace quillon::word {

// The ZIP package of an Office Open XML document, through libzip.
class DocxPackageReader final {
public:
    DocxPackageReader() = default;
    ~DocxPackageReader();
    DocxPackageReader(const DocxPackageReader&) = delete;
    DocxPackageReader& operator=(const DocxPackageReader&) = delete;

    static bool looksLikeZip(const QByteArray& data);

    bool open(const QByteArray& data, QString* error);
    bool contains(const QString& name) const;
    // The unpacked part; false when it is missing, damaged, larger than
    // limits::kMaxFileBytes once unpacked (a ZIP bomb must not exhaust
    // memory) or XML with a document type declaration (entity expansion).
    bool part(const QString& name, QByteArray* out, QString* error) const;

private:
    QByteArray m_data;
    ::zip* m_zip = nullptr;
};

struct DocxPart {
    QString name;
    QByteArray data;
};

class DocxPackageWriter final {
public:
    static QByteArray write(const QList<DocxPart>& parts, QString* error);
};

} // namespace quillon::word
