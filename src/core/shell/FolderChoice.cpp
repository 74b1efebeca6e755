#include "core/shell/FolderChoice.h"

#include <QDir>

QString BrowseForFolder(Prompts &prompts, int rootKind, const QString &initialFolder, const QString &mode) {
    Q_UNUSED(rootKind);
    QString title;
    if (mode == u"IN")
        title = QStringLiteral("入力ファイル保存場所を指定してください。");
    else if (mode == u"OUT")
        title = QStringLiteral("出力ファイル保存場所を指定してください。");
    const QString chosen = prompts.chooseFolder(title, initialFolder.isEmpty() ? QDir::homePath() : initialFolder);
    return chosen.isEmpty() ? initialFolder : chosen;
}
