#pragma once

#include "store/serveraddress.h"

#include <functional>
#include <optional>
#include <QCommandLineOption>
#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace quillon {

// The conventions every installed program keeps: --help and --version print
// to stdout and end with 0, a bad option ends with 2 and one line on stderr.
// The parser must already carry its options (help and version are added
// here); helpFooter, asked after the parse, adds lines to the help. Returns
// the exit code when the program is to end now.
std::optional<int> answerCommandLine(QCommandLineParser& parser, const QStringList& arguments,
                                     const std::function<QString()>& helpFooter = {});

// --catalogue URI, taken by every program that reads the catalogue; without
// it is said in the help (`without`: where the catalogue is then).
QCommandLineOption catalogueOption(const QString& without);
// After answerCommandLine: the server --catalogue names (an invalid address
// when the option is not given). A malformed URI is a bad option: one line
// on stderr and the exit code 2 are returned.
std::optional<int> readCatalogueOption(const QCommandLineParser& parser,
                                       const QCommandLineOption& option, ServerAddress& server);

} // namespace quillon
