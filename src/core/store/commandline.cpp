#include "store/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

namespace quillon {

std::optional<int> answerCommandLine(QCommandLineParser& parser, const QStringList& arguments,
                                     const std::function<QString()>& helpFooter)
{
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    QString name = QCoreApplication::applicationName();
    if (name.isEmpty() && !arguments.isEmpty())
        name = QFileInfo(arguments.first()).fileName();
    if (!parser.parse(arguments)) {
        QTextStream(stderr) << name << ": " << parser.errorText().simplified() << " (try --help)\n";
        return 2;
    }
    QTextStream out(stdout);
    if (parser.isSet(help) || parser.optionNames().contains(QStringLiteral("help-all"))) {
        out << parser.helpText();
        if (helpFooter)
            out << '\n' << helpFooter() << '\n';
        return 0;
    }
    if (parser.isSet(version)) {
        out << name << ' ' << QCoreApplication::applicationVersion() << '\n';
        return 0;
    }
    return std::nullopt;
}

QCommandLineOption catalogueOption(const QString& without)
{
    return QCommandLineOption(
        QStringLiteral("catalogue"),
        QStringLiteral("Use the catalogue on the PostgreSQL server URI "
                       "(postgresql://user@host:port/database?sslmode=...) instead of the one in "
                       "the data folder (which is still used, for its backups among others). "
                       "%1 The password is never part of the stored address: libpq takes it "
                       "from ~/.pgpass, a service file or PGPASSWORD.")
            .arg(without),
        QStringLiteral("URI"));
}

std::optional<int> readCatalogueOption(const QCommandLineParser& parser,
                                       const QCommandLineOption& option, ServerAddress& server)
{
    server = ServerAddress();
    if (!parser.isSet(option))
        return std::nullopt;
    QString why;
    server = ServerAddress::parse(parser.value(option), &why);
    if (server.isValid())
        return std::nullopt;
    // The reason never quotes the address, so no password reaches the terminal.
    QTextStream(stderr) << QCoreApplication::applicationName()
                        << ": --catalogue: " << why.simplified() << " (try --help)\n";
    return 2;
}

} // namespace quillon
