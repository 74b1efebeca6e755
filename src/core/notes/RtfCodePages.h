#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <map>
#include <optional>

// Turns the bytes of an RTF run into text by the Windows code page that the font or the document names.
class RtfCodePages {
public:
    static constexpr int Ansi = 1252;
    static constexpr int Japanese = 932;

    // The code page of a \fcharsetN; 0 when the font follows the document's code page.
    static int forCharset(int charset);

    // Code page 932 as Windows maps it; code pages Qt does not know are read as Latin-1.
    QString decode(const QByteArray &bytes, int codePage);

private:
    QStringDecoder *decoderFor(int codePage);

    // A document naming many code pages cannot grow this without bound.
    static constexpr std::size_t MaxDecoders = 16;
    std::map<int, std::optional<QStringDecoder>> m_decoders;
};
