// libFuzzer target: plain-text import (encoding detection, line ends) and
// the native form must survive any bytes and keep to the document limits.
#include "documents/nativeformat.h"
#include "documents/sealedtextdocument.h"
#include "documents/textformat.h"

// The readers are compiled into this target as well: only code built with
// -fsanitize=fuzzer gives the fuzzer its coverage feedback, and the core
// library is built without it. These definitions take the place of the
// library's (its objects for them are then never linked).
#include "../src/core/documents/codepage.cpp"
#include "../src/core/documents/documentlimits.cpp"
#include "../src/core/documents/nativeformat.cpp"
#include "../src/core/documents/textformat.cpp"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_text";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument doc;
    if (!quillon::text::read(bytes, &doc))
        return 0;
    if (!quillon::DocumentBudget().addDocument(doc))
        __builtin_trap(); // accepted beyond the limits
    QTextDocument back;
    quillon::text::read(quillon::text::write(doc), &back);
    if (back.toPlainText() != doc.toPlainText())
        __builtin_trap(); // UTF-8 written must read back unchanged
    // As stored text is read: nothing it names may be fetched.
    quillon::SealedTextDocument native;
    if (quillon::native::read(bytes, &native) && !quillon::DocumentBudget().addDocument(native))
        __builtin_trap();
    return 0;
}
