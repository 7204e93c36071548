#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

namespace quillon::word {

// A compound file (the OLE2 container of Word 97-2003 documents) read
// from memory through libgsf. Only top-level streams are needed.
class CfbReader final {
public:
    CfbReader();
    ~CfbReader();
    CfbReader(const CfbReader&) = delete;
    CfbReader& operator=(const CfbReader&) = delete;

    static bool looksLikeCompoundFile(const QByteArray& data);

    bool open(const QByteArray& data, QString* error);
    bool hasStream(const char* name) const;
    // The whole stream; false when it is missing, unreadable or larger than
    // the file itself could hold (a looping sector chain).
    bool stream(const char* name, QByteArray* out, QString* error) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

struct CfbStream {
    QByteArray name;
    QByteArray data;
};

// Builds a compound file holding the given top-level streams.
class CfbWriter final {
public:
    static QByteArray write(const QList<CfbStream>& streams, const QByteArray& classId,
                            QString* error);
};

} // namespace quillon::word
