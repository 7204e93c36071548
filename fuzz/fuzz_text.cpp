// libFuzzer target: plain-text import (encoding detection, line ends) and
// the native form must survive any bytes.
#include "documents/nativeformat.h"
#include "documents/textformat.h"

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
    quillon::text::read(bytes, &doc);
    QTextDocument back;
    quillon::text::read(quillon::text::write(doc), &back);
    if (back.toPlainText() != doc.toPlainText())
        __builtin_trap(); // UTF-8 written must read back unchanged
    QTextDocument native;
    quillon::native::read(bytes, &native);
    return 0;
}
