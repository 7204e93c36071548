// libFuzzer target: the RTF reader must survive any bytes, keep to the
// document limits, and what it reads must write back out and read again.
#include "documents/rtfformat.h"

// The readers are compiled into this target as well: only code built with
// -fsanitize=fuzzer gives the fuzzer its coverage feedback, and the core
// library is built without it. These definitions take the place of the
// library's (its objects for them are then never linked).
#include "../src/core/documents/codepage.cpp"
#include "../src/core/documents/documentlimits.cpp"
#include "../src/core/documents/rtfkeywords.cpp"
#include "../src/core/documents/rtfreader.cpp"
#include "../src/core/documents/rtfstate.cpp"
#include "../src/core/documents/rtftokenizer.cpp"
#include "../src/core/documents/rtfwriter.cpp"
#include "../src/core/documents/textformat.cpp"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!bytes.startsWith("{\\rtf"))
        bytes.prepend("{\\rtf1 ");
    QTextDocument doc;
    if (quillon::rtf::read(bytes, &doc) && !quillon::DocumentBudget().addDocument(doc))
        abort(); // accepted beyond the limits
    QTextDocument again;
    quillon::rtf::read(quillon::rtf::write(doc), &again);
    return 0;
}
