// libFuzzer target for the Word reader (Word 97-2003 compound files and
// .docx packages). Whatever it accepts must keep to the document limits and
// is written back in both formats and read again, so the writers meet
// strange documents too.
#include "documents/documentlimits.h"
#include "documents/wordformat.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

namespace {

// QTextDocument's fonts need a GUI application; one for the whole run.
QGuiApplication* application()
{
    static int argc = 1;
    static char name[] = "fuzz_word";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QGuiApplication(argc, argv);
    }();
    return app;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    application();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    quillon::word::looksLikeWord(bytes);
    QTextDocument document;
    QString error;
    if (!quillon::word::read(bytes, &document, &error))
        return 0;
    if (!quillon::DocumentBudget().addDocument(document))
        abort(); // accepted beyond the limits
    for (const QByteArray& written :
         {quillon::word::writeDoc(document), quillon::word::writeDocx(document)}) {
        QTextDocument again;
        if (!quillon::word::read(written, &again))
            abort(); // our own output must always be readable
        if (again.toRawText() != document.toRawText())
            abort();
    }
    return 0;
}
