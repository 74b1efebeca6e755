#include "window/FontSettings.h"

#include <QFont>
#include <QStringList>

void InstallFontSubstitutions() {
    const struct {
        const char *windows, *here;
    } faces[] = {
        {"MS UI Gothic", "IPAPGothic"}, {"MS PGothic", "IPAPGothic"}, {"MS Gothic", "IPAGothic"},
        {"MS Mincho", "IPAMincho"},     {"MS PMincho", "IPAPMincho"}, {"ＭＳ Ｐゴシック", "IPAPGothic"},
        {"ＭＳ ゴシック", "IPAGothic"}, {"ＭＳ 明朝", "IPAMincho"},   {"ＭＳ Ｐ明朝", "IPAPMincho"},
        {"Meiryo", "IPAPGothic"},       {"メイリオ", "IPAPGothic"},
    };
    for (const auto &f : faces)
        QFont::insertSubstitutions(QString::fromUtf8(f.windows), {QString::fromUtf8(f.here), "Noto Sans CJK JP"});
}
