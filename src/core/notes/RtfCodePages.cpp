#include "core/notes/RtfCodePages.h"

#include "core/system/Cp932.h"

int RtfCodePages::forCharset(int charset) {
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return 1252; // Symbol: its glyphs sit on Latin-1 positions
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

QString RtfCodePages::decode(const QByteArray &bytes, int codePage) {
    if (codePage == Japanese) return Cp932::decode(bytes);
    if (codePage == 65001) return QString::fromUtf8(bytes);
    if (QStringDecoder *decoder = decoderFor(codePage)) return decoder->decode(bytes);
    return QString::fromLatin1(bytes);
}

QStringDecoder *RtfCodePages::decoderFor(int codePage) {
    if (codePage <= 0 || codePage > 65535) return nullptr;
    auto found = m_decoders.find(codePage);
    if (found == m_decoders.end()) {
        if (m_decoders.size() >= MaxDecoders) return nullptr;
        std::optional<QStringDecoder> decoder;
        const QByteArray number = QByteArray::number(codePage);
        for (const QByteArray &name : {"windows-" + number, "cp" + number, "ibm-" + number}) {
            QStringDecoder candidate(name.constData(), QStringConverter::Flag::Stateless);
            if (candidate.isValid()) {
                decoder.emplace(std::move(candidate));
                break;
            }
        }
        if (codePage == 10000 && !decoder) decoder.emplace("macintosh", QStringConverter::Flag::Stateless);
        found = m_decoders.emplace(codePage, std::move(decoder)).first;
    }
    if (!found->second || !found->second->isValid()) return nullptr;
    return &*found->second;
}
