#include "core/view/BackgroundPicture.h"

#include "core/settings/Settings.h"
#include "core/system/Twips.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <cmath>

QStringList PictureFileNames(const QString &folder) {
    // The picture formats of the band that have a reader here (.wmf and .emf have none), plus PNG.
    static const QStringList patterns{"*.bmp", "*.dib", "*.gif", "*.jpg", "*.jpeg", "*.png", "*.ico", "*.cur"};
    QDir dir(folder);
    dir.setNameFilters(patterns);
    dir.setFilter(QDir::Files | QDir::Readable);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    return dir.entryList();
}

QString SelectFolderPicture(const QString &folder, const QString &current, const QString &mode) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return QString();
    const QStringList names = PictureFileNames(folder);
    const qsizetype n = names.size();
    if (n < 1) return QString();
    const qsizetype k = names.indexOf(current);
    if (mode == QLatin1String("FIRST")) return names.front();
    if (mode == QLatin1String("BEFORE")) return k >= 1 ? names[k - 1] : names.back();
    if (mode == QLatin1String("NOW")) return k >= 0 ? current : names.front();
    if (mode == QLatin1String("AFTER")) return k >= 0 && k < n - 1 ? names[k + 1] : names.front();
    if (mode == QLatin1String("LAST")) return names.back();
    return QString();
}

QString PictureFolderPath(const QString &setting, const QString &programFolder) {
    if (setting.isEmpty() || QDir::isAbsolutePath(setting)) return setting;
    return PictureFolderSetting(QDir(programFolder).filePath(setting));
}

QString PictureFilePath(const Settings &s, const QString &programFolder) {
    QString path;
    if (s.Back_PictureDisp == QLatin1String("1"))
        path = s.Back_Picture;
    else if (s.Back_PictureDisp == QLatin1String("2") && !s.Back_PicturePath.isEmpty() &&
             !s.Back_PictureShowName.isEmpty())
        path = PictureFolderPath(s.Back_PicturePath, programFolder) + s.Back_PictureShowName;
    return !path.isEmpty() && QFileInfo(path).isFile() ? path : QString();
}

QSize PictureShownSize(const QString &path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (reader.transformation() & QImageIOHandler::TransformationRotate90) size.transpose();
    return size;
}

QSize FitPicture(QSize picture, const QString &pos, QSize window) {
    const double pW = picture.width(), pH = picture.height();
    double w = 0, h = 0;
    if (pos == QLatin1String("0") || pos == QLatin1String("1")) {
        if (pW > window.width()) {
            h = window.width() / pW * pH - 200;
            w = window.width() - 200;
        } else {
            h = pH - 200;
            w = pW - 200;
        }
    } else if (pos == QLatin1String("2") || pos == QLatin1String("3")) {
        if (pH > window.height()) {
            w = window.height() / pH * pW - 200;
            h = window.height() - 200;
        } else {
            w = pW - 200;
            h = pH - 200;
        }
    }
    if (h < 0) h += 200;
    if (w < 0) w += 200;
    return QSize(int(std::lround(w)), int(std::lround(h)));
}

QPoint PictureOrigin(const QString &pos, QSize displayed, const QRect &frame, QSize window) {
    using namespace WindowMetrics;
    const int w = displayed.width(), h = displayed.height();
    if (pos == QLatin1String("0"))
        return QPoint(frame.left() + (frame.width() - w) / 2 - 10, CyCaption + CyBorder + 100 + CyFrame);
    if (pos == QLatin1String("1"))
        return QPoint(frame.left() + (frame.width() - w) / 2 - 10, window.height() - h - 100);
    if (pos == QLatin1String("2"))
        return QPoint(std::abs(frame.width() - w) - 100,
                      window.height() - h == 200 ? 75 : (window.height() - h) / 2 + 100 - 25);
    if (pos == QLatin1String("3")) return QPoint(100, 75);
    return QPoint();
}

QString PictureStepMode(int command) {
    switch (command) {
    case 0:
    case 2:
        return QStringLiteral("FIRST");
    case 1:
        return QStringLiteral("BEFORE");
    case 3:
        return QStringLiteral("AFTER");
    case 4:
        return QStringLiteral("LAST");
    default:
        return QString();
    }
}

QString PictureFolderSetting(const QString &folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}
