#include "core/notes/RtfReader.h"
#include "core/notes/RtfWriter.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // Formats and fonts of a document want an application; one without a screen is enough.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rtf_fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = new QGuiApplication(argc, argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QTextDocument document;
    if (!ReadRtf(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), document)) return 0;
    // Whatever was read must survive being written and read again.
    QTextDocument again;
    if (!ReadRtf(WriteRtf(document), again) || again.toRawText() != document.toRawText()) abort();
    return 0;
}
