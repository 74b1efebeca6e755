#include "gui/calendar/PictureBand.h"

#include "core/program/AppContext.h"
#include "core/shell/FolderChoice.h"
#include "core/system/Prompts.h"
#include "core/system/Twips.h"
#include "core/view/BackgroundPicture.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>

PictureBand::PictureBand(AppContext &ctx) : m_ctx(ctx) {}

QSize PictureBand::fittedSize(const QSize &window) const {
    const SettingsModel &s = m_ctx.settings;
    const QString path = PictureFilePath(s, m_ctx.paths().programFolder);
    if (path.isEmpty()) return QSize();
    const QSize pixels = PictureShownSize(path);
    return pixels.isValid() ? FitPicture(ToTwips(pixels), s.Back_PicturePos, window) : QSize();
}

void PictureBand::load(const MonthGeometry &geometry) {
    const SettingsModel &s = m_ctx.settings;
    m_rect = QRect();
    m_scaled = QPixmap();
    m_shownPath.clear();
    if (s.pictureMode() == PictureMode::None) return;
    const QString path = PictureFilePath(s, m_ctx.paths().programFolder);
    if (path.isEmpty()) return;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        m_ctx.prompts().information(errorText(int(reader.error()), reader.errorString()));
    } else {
        const QSize shown = FitPicture(ToTwips(image.size()), s.Back_PicturePos, geometry.frame.size());
        m_rect = ToPixels(QRect(PictureOrigin(s.Back_PicturePos, shown, geometry.frame, geometry.window), shown));
        if (!m_rect.isEmpty())
            m_scaled = QPixmap::fromImage(image.scaled(m_rect.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    m_shownPath = folder() + s.Back_PictureShowName;
}

void PictureBand::paint(QPainter &painter) const {
    if (!m_scaled.isNull()) painter.drawPixmap(m_rect.topLeft(), m_scaled);
}

void PictureBand::step(int command) {
    const SettingsModel &s = m_ctx.settings;
    QString setting = s.Back_PicturePath;
    if (command == 2) {
        const QString chosen = BrowseForFolder(m_ctx.prompts(), 18, folder(), QStringLiteral("IN"));
        if (!chosen.isEmpty() && chosen != folder()) setting = PictureFolderSetting(chosen);
    }
    const QString name = SelectFolderPicture(PictureFolderPath(setting, m_ctx.paths().programFolder),
                                             s.Back_PictureShowName, PictureStepMode(command));
    // A folder the file cannot name is refused (and said so): the calendar keeps showing what the file holds.
    m_ctx.settings.change(SettingsGroup::Picture, [&](Settings &record) {
        record.Back_PicturePath = setting;
        record.Back_PictureShowName = name;
    });
}

QString PictureBand::folder() const {
    return PictureFolderPath(m_ctx.settings.Back_PicturePath, m_ctx.paths().programFolder);
}

QString PictureBand::errorText(int number, const QString &description) const {
    return QString::fromUtf8("エラーが発生した為，画像を表示できません。\r\n画像ファイル：") + folder() +
           m_ctx.settings.Back_PictureShowName + QStringLiteral("\r\nERR(") + QString::number(number) +
           QStringLiteral(")\r\n") + description;
}
