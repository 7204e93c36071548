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

} // namespace quillon
