#include "core/view/FontSettings.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

struct Face {
    const char *windows, *here;
};
// The first Windows name of each face here is the one stored for it.
const Face kFaces[] = {
    {"MS UI Gothic", "IPAPGothic"}, {"MS PGothic", "IPAPGothic"}, {"MS Gothic", "IPAGothic"},
    {"MS Mincho", "IPAMincho"},     {"MS PMincho", "IPAPMincho"}, {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"ＭＳ ゴシック", "IPAGothic"}, {"ＭＳ 明朝", "IPAMincho"},   {"ＭＳ Ｐ明朝", "IPAPMincho"},
    {"Meiryo", "IPAPGothic"},       {"メイリオ", "IPAPGothic"},
};

} // namespace

void InstallFontSubstitutions() {
    for (const Face &f : kFaces)
        QFont::insertSubstitutions(QString::fromUtf8(f.windows), {QString::fromUtf8(f.here), "Noto Sans CJK JP"});
}

QString DrawnFace(const QString &stored) {
    if (stored.isEmpty()) return stored;
    // A name fontconfig only knows as an alias ("Sans Serif") is shown as the face it resolves to.
    return QFontInfo(QFont(stored)).family();
}

QString StoredFaceName(const QString &chosen, const QString &stored) {
    if (chosen.isEmpty() || chosen == stored) return stored;
    if (!stored.isEmpty() && chosen == DrawnFace(stored)) return stored;
    for (const Face &f : kFaces)
        if (chosen.compare(QString::fromUtf8(f.here), Qt::CaseInsensitive) == 0) return QString::fromUtf8(f.windows);
    return chosen;
}

QFont KeptFont(const QFont &chosen, const QFont &stored) {
    QFont font = chosen;
    font.setFamily(StoredFaceName(chosen.family(), stored.family()));
    const qreal was = stored.pointSizeF();
    const qreal now = chosen.pointSizeF();
    if (now <= 0 || (was > 0 && std::lround(was) == std::lround(now)))
        font.setPointSizeF(was > 0 ? was : 9);
    else
        font.setPointSizeF(std::clamp<qreal>(now, MinFontPoints, MaxFontPoints));
    return font;
}

QString RealFaceName(const QString &family) {
    if (family.isEmpty() || !QFont::substitutes(family).isEmpty() || QFontDatabase::hasFamily(family)) return family;
    return StoredFaceName(DrawnFace(family), QString());
}
