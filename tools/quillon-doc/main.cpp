// quillon-doc convert IN OUT   converts by the names' extensions
// quillon-doc dump IN          prints paragraphs and runs with their format
// quillon-doc stats IN         prints the size of what was read and the
//                              memory it took (peak resident set, Linux)
#include "documents/documentdump.h"
#include "documents/richtextdocument.h"
#include "store/commandline.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextStream>

#include <cstdio>
#include <optional>

using namespace quillon;

namespace {

std::optional<DocumentFormat> formatOf(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("txt"))
        return DocumentFormat::Text;
    if (ext == QLatin1String("rtf"))
        return DocumentFormat::Rtf;
    if (ext == QLatin1String("doc") || ext == QLatin1String("docx"))
        return DocumentFormat::Word;
    if (ext == QLatin1String("html") || ext == QLatin1String("htm"))
        return DocumentFormat::Native;
    return std::nullopt;
}

int usage()
{
    QTextStream(stderr) << "usage: quillon-doc convert IN OUT\n"
                           "       quillon-doc dump IN\n"
                           "       quillon-doc stats IN\n"
                           "formats by extension: .txt .rtf .doc .docx .html\n";
    return 2;
}

bool load(RichTextDocument& doc, const QString& path)
{
    const auto format = formatOf(path);
    if (!format) {
        QTextStream(stderr) << "quillon-doc: unknown file format: " << path << '\n';
        return false;
    }
    if (!doc.loadFile(path, *format)) {
        QTextStream(stderr) << "quillon-doc: " << doc.lastError() << '\n';
        return false;
    }
    return true;
}

// The process's peak resident set in KiB (VmHWM), or -1 where unknown.
long long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

void printStats(const RichTextDocument& doc, QTextStream& out)
{
    const QTextDocument& text = *doc.textDocument();
    qsizetype runs = 0;
    for (QTextBlock block = text.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            ++runs;
    }
    out << "paragraphs " << text.blockCount() << '\n'
        << "characters " << text.characterCount() << '\n'
        << "runs " << runs << '\n'
        << "peak-kib-read " << peakKiB() << '\n';
    // Pagination lays the whole document out, as the preview and printing do.
    out << "pages " << doc.pageCount() << '\n' << "peak-kib-paginated " << peakKiB() << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    // Fonts need a platform; a batch tool must not need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName("quillon-doc");
    QCoreApplication::setApplicationVersion(QUILLON_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Converts lyrics and notes between .txt, .rtf, .doc, .docx and .html, and shows what an "
        "import understood.\n"
        "  convert IN OUT  converts by the names' extensions\n"
        "  dump IN         prints paragraphs and runs with their format\n"
        "  stats IN        prints the size of what was read and the memory it took");
    parser.addPositionalArgument("COMMAND", "convert, dump or stats");
    parser.addPositionalArgument("FILES", "the files the command takes");
    if (const std::optional<int> done = answerCommandLine(parser, app.arguments()))
        return *done;
    const QStringList args = QStringList{app.arguments().first()} + parser.positionalArguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("convert")) {
        RichTextDocument doc;
        if (!load(doc, args.at(2)))
            return 1;
        const auto format = formatOf(args.at(3));
        if (!format) {
            QTextStream(stderr) << "quillon-doc: unknown file format: " << args.at(3) << '\n';
            return 1;
        }
        if (!doc.saveFile(args.at(3), *format)) {
            QTextStream(stderr) << "quillon-doc: " << doc.lastError() << '\n';
            return 1;
        }
        return 0;
    }
    if (args.size() == 3 && args.at(1) == QLatin1String("dump")) {
        RichTextDocument doc;
        if (!load(doc, args.at(2)))
            return 1;
        QTextStream out(stdout);
        for (const QString& line : dumpDocument(*doc.textDocument()))
            out << line << '\n';
        return 0;
    }
    if (args.size() == 3 && args.at(1) == QLatin1String("stats")) {
        RichTextDocument doc;
        if (!load(doc, args.at(2)))
            return 1;
        QTextStream out(stdout);
        printStats(doc, out);
        return 0;
    }
    return usage();
}
