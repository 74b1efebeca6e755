#include "core/sync/SyncReport.h"

#include <QStringList>

QString SyncReport::summary() const {
    const QString when = finished.isValid() ? finished.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm "))
                                            : QString();
    if (!ok) return when + QStringLiteral("同期できませんでした: ") + error;
    QString line = when + QStringLiteral("同期しました: 送信 %1 件、受信 %2 件、削除 %3 件")
                              .arg(uploaded)
                              .arg(downloaded)
                              .arg(deleted);
    if (!mergedDays.isEmpty()) {
        QStringList days;
        for (const QDate &day : mergedDays) days << day.toString(QStringLiteral("yyyy/MM/dd"));
        line += QStringLiteral("、両方で変更された日 (両方の内容を残しました): ") + days.join(QStringLiteral(" "));
    }
    return line;
}
