#include "core/notes/NoteSettings.h"

#include "core/settings/SettingValues.h"

namespace {

// Far beyond any screen, and small enough that sums of positions and sizes stay within int.
constexpr double kTwipsLimit = 100'000'000;

const std::array<QString, 7> &folderColorTexts() {
    static const std::array<QString, 7> texts{
        QStringLiteral("青色"), QStringLiteral("緑色"), QStringLiteral("紫色"), QStringLiteral("赤色"),
        QStringLiteral("白色"), QStringLiteral("黄色"), QStringLiteral("黒色"),
    };
    return texts;
}

int twips(const QString &text) {
    return int(SettingNumber(text, -kTwipsLimit, kTwipsLimit, 0));
}

int extent(const QString &text) {
    return int(SettingNumber(text, 0, kTwipsLimit, 0));
}

} // namespace

QString FolderColorText(FolderColor color) {
    return folderColorTexts()[size_t(color)];
}

std::optional<FolderColor> FolderColorFromText(const QString &text) {
    const auto &texts = folderColorTexts();
    for (size_t i = 0; i < texts.size(); ++i)
        if (texts[i] == text.trimmed()) return FolderColor(i);
    return std::nullopt;
}

QFont NoteSettings::font() const {
    QFont font(Fusen_Font_Name);
    font.setPointSizeF(FontPoints(Fusen_Font_Size));
    font.setItalic(FontFlag(Fusen_Font_Italic));
    font.setBold(FontFlag(Fusen_Font_Bold));
    font.setUnderline(FontFlag(Fusen_Font_UnderLine));
    font.setStrikeOut(FontFlag(Fusen_Font_Strikethrough));
    return font;
}

void NoteSettings::setFont(const QFont &font) {
    Fusen_Font_Name = font.family();
    // A font sized in pixels has no point size; the stored one stays.
    if (font.pointSizeF() > 0) Fusen_Font_Size = SingleText(font.pointSizeF());
    Fusen_Font_Italic = FontFlagText(font.italic());
    Fusen_Font_Bold = FontFlagText(font.bold());
    Fusen_Font_UnderLine = FontFlagText(font.underline());
    Fusen_Font_Strikethrough = FontFlagText(font.strikeOut());
}

QColor NoteSettings::fontColor() const {
    return ColorFromText(Fusen_Font_Color);
}

void NoteSettings::setFontColor(const QColor &color) {
    Fusen_Font_Color = ColorText(BgrFromColor(color));
}

QColor NoteSettings::backColor() const {
    return ColorFromText(Fusen_Back_Color);
}

void NoteSettings::setBackColor(const QColor &color) {
    Fusen_Back_Color = ColorText(BgrFromColor(color));
}

bool NoteSettings::collapsed() const {
    return NumberValue(Fusen_Disp) != 0;
}

void NoteSettings::setCollapsed(bool collapsed) {
    Fusen_Disp = collapsed ? QStringLiteral("1") : QStringLiteral("0");
}

bool NoteSettings::fixed() const {
    return FontFlag(Fusen_Disp_Position);
}

void NoteSettings::setFixed(bool fixed) {
    Fusen_Disp_Position = FontFlagText(fixed);
}

std::optional<QPoint> NoteSettings::position() const {
    if (Fusen_Left.trimmed().isEmpty() || Fusen_Top.trimmed().isEmpty()) return std::nullopt;
    return QPoint(twips(Fusen_Left), twips(Fusen_Top));
}

void NoteSettings::setPosition(const QPoint &topLeft) {
    Fusen_Top = SingleText(topLeft.y());
    Fusen_Left = SingleText(topLeft.x());
}

QSize NoteSettings::textSize() const {
    return QSize(extent(Fusen_Width), extent(Fusen_Height));
}

void NoteSettings::setTextSize(const QSize &size) {
    Fusen_Height = SingleText(size.height());
    Fusen_Width = SingleText(size.width());
}

QSize NoteSettings::formSize() const {
    return QSize(extent(Fusen_Form_Width), extent(Fusen_Form_Height));
}

void NoteSettings::setFormSize(const QSize &size) {
    Fusen_Form_Height = SingleText(size.height());
    Fusen_Form_Width = SingleText(size.width());
}

std::optional<FolderColor> NoteSettings::folderColor() const {
    return FolderColorFromText(Fusen_Folder_Color);
}

void NoteSettings::setFolderColor(FolderColor color) {
    Fusen_Folder_Color = FolderColorText(color);
}

const std::array<NoteSettingKey, 17> &NoteSettingKeys() {
    static const std::array<NoteSettingKey, 17> keys{{
        {"Fusen_Font_Name", &NoteSettings::Fusen_Font_Name, false},
        {"Fusen_Font_Size", &NoteSettings::Fusen_Font_Size, false},
        {"Fusen_Font_Italic", &NoteSettings::Fusen_Font_Italic, false},
        {"Fusen_Font_Bold", &NoteSettings::Fusen_Font_Bold, false},
        {"Fusen_Font_Color", &NoteSettings::Fusen_Font_Color, false},
        {"Fusen_Font_UnderLine", &NoteSettings::Fusen_Font_UnderLine, false},
        {"Fusen_Font_Strikethrough", &NoteSettings::Fusen_Font_Strikethrough, false},
        {"Fusen_Back_Color", &NoteSettings::Fusen_Back_Color, false},
        {"Fusen_Top", &NoteSettings::Fusen_Top, false},
        {"Fusen_Left", &NoteSettings::Fusen_Left, false},
        {"Fusen_Height", &NoteSettings::Fusen_Height, false},
        {"Fusen_Width", &NoteSettings::Fusen_Width, false},
        {"Fusen_Disp", &NoteSettings::Fusen_Disp, false},
        {"Fusen_Form_Height", &NoteSettings::Fusen_Form_Height, true},
        {"Fusen_Form_Width", &NoteSettings::Fusen_Form_Width, true},
        {"Fusen_Disp_Position", &NoteSettings::Fusen_Disp_Position, false},
        {"Fusen_Folder_Color", &NoteSettings::Fusen_Folder_Color, false},
    }};
    return keys;
}
