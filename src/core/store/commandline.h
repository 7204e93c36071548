#pragma once

#include <functional>
#include <optional>
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

} // namespace quillon
