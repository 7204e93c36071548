// libFuzzer target: the RTF reader must survive any bytes, and what it reads
// must write back out and read again.
#include "documents/rtfformat.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

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
    quillon::rtf::read(bytes, &doc);
    QTextDocument again;
    quillon::rtf::read(quillon::rtf::write(doc), &again);
    return 0;
}
