#include "crashlog.h"

#include <QList>

namespace quillon::crash {

namespace {
QByteArray enc(const QString& s)
{
    return s.toUtf8().toPercentEncoding();
}
QString dec(const QByteArray& b)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(b));
}
} // namespace

QByteArray Op::intentLine() const
{
    QByteArray line = "I ";
    switch (kind) {
    case Kind::Create:
        line += "C " + enc(title);
        break;
    case Kind::Rename:
        line += "R " + enc(title) + ' ' + enc(newTitle);
        break;
    case Kind::Delete:
        line += "D " + enc(title);
        break;
    case Kind::Write:
        line += "W " + enc(title) + ' ' + QByteArray::number(slot) + ' ' +
                QByteArray::number(firstTrack);
        for (const QString& t : texts)
            line += ' ' + enc(t);
        break;
    }
    return line + '\n';
}

bool Op::parse(const QByteArray& line, Op* op)
{
    // Empty fields are encoded as empty, so split keeps them.
    QByteArray body = line;
    while (body.endsWith('\n') || body.endsWith('\r'))
        body.chop(1);
    const QList<QByteArray> f = body.split(' ');
    if (f.size() < 3 || f.at(0) != "I")
        return false;
    const QByteArray k = f.at(1);
    op->title = dec(f.at(2));
    if (k == "C" && f.size() == 3)
        op->kind = Kind::Create;
    else if (k == "D" && f.size() == 3)
        op->kind = Kind::Delete;
    else if (k == "R" && f.size() == 4) {
        op->kind = Kind::Rename;
        op->newTitle = dec(f.at(3));
    } else if (k == "W" && f.size() >= 5) {
        op->kind = Kind::Write;
        op->slot = f.at(3).toInt();
        op->firstTrack = f.at(4).toInt();
        op->texts.clear();
        for (qsizetype i = 5; i < f.size(); ++i)
            op->texts << dec(f.at(i));
    } else {
        return false;
    }
    return true;
}

void Model::apply(const Op& op)
{
    switch (op.kind) {
    case Op::Kind::Create:
        m_titles.insert(op.title);
        m_cells.remove(op.title);
        break;
    case Op::Kind::Rename:
        m_titles.remove(op.title);
        m_titles.insert(op.newTitle);
        m_cells.insert(op.newTitle, m_cells.take(op.title));
        break;
    case Op::Kind::Delete:
        m_titles.remove(op.title);
        m_cells.remove(op.title);
        break;
    case Op::Kind::Write:
        for (int i = 0; i < op.texts.size(); ++i)
            m_cells[op.title][cellKey(op.slot, op.firstTrack + i)] = op.texts.at(i);
        break;
    }
}

} // namespace quillon::crash
