// Writes through the song store in an endless loop: creates, renames and
// deletes songs and writes banks of tracks, as the windows do. Before each
// call it logs its intent, after it the outcome, each line made durable with
// fsync before the next step, so that whoever kills this process knows which
// writes were acknowledged.
//
// usage: quillon-crashchild DATA_FOLDER LOG_FILE SEED [SERVER_URI]

#include "crashlog.h"
#include "songs/songstore.h"
#include "store/songconstants.h"

#include <cstdio>
#include <fcntl.h>
#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <unistd.h>

using namespace quillon;
using namespace quillon::crash;

namespace {

// Text a user might type, including what breaks naive SQL and encodings.
const char* const kPieces[] = {"Blue",   "O'Neil", "\"Quoted\"", "a;b",       "--",
                               "100%",   "_x_",    "*",          "tab\there", "Mädchen",
                               "Straße", "😀",      "שלום",       "  pad  "};

class Child final {
public:
    Child(const DataFolder& data, const QString& log, quint32 seed)
        : m_store(data), m_random(seed), m_seed(seed)
    {
        m_fd = ::open(QFile::encodeName(log).constData(), O_WRONLY | O_APPEND | O_CREAT, 0644);
        m_open = m_fd >= 0 && m_store.open();
        if (m_open)
            for (const QString& t : m_store.titles())
                if (t != kTrainingSong)
                    m_titles << t;
    }
    ~Child()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_open; }
    QString error() const { return m_store.lastError(); }

    void run()
    {
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
        for (;;)
            step();
    }

private:
    QString piece()
    {
        return QString::fromUtf8(kPieces[m_random.bounded(int(std::size(kPieces)))]);
    }

    QString newTitle()
    {
        // Unique per run and counter; trimmed as the new song dialog stores it.
        return QString("%1 %2-%3").arg(piece()).arg(m_seed).arg(++m_counter).trimmed();
    }

    void log(const QByteArray& line)
    {
        qsizetype done = 0;
        while (done < line.size()) {
            const ssize_t n = ::write(m_fd, line.constData() + done, size_t(line.size() - done));
            if (n <= 0)
                std::_Exit(3);
            done += n;
        }
        ::fsync(m_fd);
    }

    void step()
    {
        Op op;
        const int dice = int(m_random.bounded(100));
        // Keep the catalogue small, so that every check after a kill stays quick.
        const bool crowded = m_titles.size() > 30;
        if (m_titles.size() < 3 || dice < (crowded ? 10 : 25)) {
            op.kind = Op::Kind::Create;
            op.title = newTitle();
        } else {
            op.title = m_titles.at(m_random.bounded(int(m_titles.size())));
            if (dice < 40) {
                op.kind = Op::Kind::Rename;
                op.newTitle = newTitle();
            } else if (dice < (crowded ? 75 : 55)) {
                op.kind = Op::Kind::Delete;
            } else {
                op.kind = Op::Kind::Write;
                op.slot = 1 + int(m_random.bounded(10));
                op.firstTrack = 1 + 24 * int(m_random.bounded(4)); // one bank of the grid
                for (int i = 0; i < 24; ++i)
                    op.texts << (m_random.bounded(4) == 0 ? QString()
                                                          : piece() + QString::number(m_counter++));
            }
        }
        log(op.intentLine());
        bool ok = false;
        switch (op.kind) {
        case Op::Kind::Create:
            ok = !m_store.titleExists(op.title) && m_store.create({op.title, piece(), piece(), {}});
            if (ok)
                m_titles << op.title;
            break;
        case Op::Kind::Rename:
            ok = !m_store.titleExists(op.newTitle) &&
                 m_store.rename(op.title, op.newTitle, {{"notiz1", piece()}});
            if (ok)
                m_titles.replace(m_titles.indexOf(op.title), op.newTitle);
            break;
        case Op::Kind::Delete:
            ok = m_store.remove(op.title);
            if (ok)
                m_titles.removeOne(op.title);
            break;
        case Op::Kind::Write:
            ok = m_store.writeTracks(op.title, op.slot, op.firstTrack, op.texts);
            break;
        }
        log(ok ? "A\n" : "X\n");
    }

    SongStore m_store;
    QRandomGenerator m_random;
    quint32 m_seed;
    int m_counter = 0;
    int m_fd = -1;
    bool m_open = false;
    QStringList m_titles;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4 && args.size() != 5) {
        std::fputs("usage: quillon-crashchild DATA_FOLDER LOG_FILE SEED [SERVER_URI]\n", stderr);
        return 2;
    }
    DataFolder folder(args.at(1));
    if (args.size() == 5)
        folder.setServer(ServerAddress::parse(args.at(4)));
    Child child(folder, args.at(2), args.at(3).toUInt());
    if (!child.isOpen()) {
        std::fprintf(stderr, "%s\n", qPrintable(child.error()));
        return 2;
    }
    child.run();
}
