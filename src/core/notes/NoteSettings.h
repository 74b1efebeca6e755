#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>

#include <array>
#include <optional>

// The colour of a note's folder tab, stored by its Japanese name.
enum class FolderColor { Blue, Green, Purple, Red, White, Yellow, Black };
QString FolderColorText(FolderColor color);
// nullopt for an empty or unknown text.
std::optional<FolderColor> FolderColorFromText(const QString &text);

// One sticky note's settings, held as stored in the note's section of the settings file (each text written back
// unchanged); the helpers convert. Positions and sizes are in twips.
struct NoteSettings {
    QString Fusen_Font_Name;
    QString Fusen_Font_Size;
    QString Fusen_Font_Italic;
    QString Fusen_Font_Bold;
    QString Fusen_Font_Color;
    QString Fusen_Font_UnderLine;
    QString Fusen_Font_Strikethrough;
    QString Fusen_Back_Color;
    QString Fusen_Top;
    QString Fusen_Left;
    QString Fusen_Height;
    QString Fusen_Width;
    QString Fusen_Disp;        // "0" expanded, "1" collapsed
    QString Fusen_Form_Height; // the editor's size; the note window leaves it alone
    QString Fusen_Form_Width;
    QString Fusen_Disp_Position; // "True" when the note stays where it is; absent when not
    QString Fusen_Folder_Color;  // "青色" ... "黒色"

    QFont font() const;
    void setFont(const QFont &font);
    QColor fontColor() const;
    void setFontColor(const QColor &color);
    QColor backColor() const;
    void setBackColor(const QColor &color);
    bool collapsed() const;
    void setCollapsed(bool collapsed);
    bool fixed() const;
    void setFixed(bool fixed);
    // Left and top; nullopt while either is empty, as for a note that has never been shown.
    std::optional<QPoint> position() const;
    void setPosition(const QPoint &topLeft);
    QSize textSize() const;
    void setTextSize(const QSize &size);
    QSize formSize() const;
    void setFormSize(const QSize &size);
    std::optional<FolderColor> folderColor() const;
    void setFolderColor(FolderColor color);
};

struct NoteSettingKey {
    const char *key;
    QString NoteSettings::*member;
    bool editorOnly; // written by the editor only, not by the note window
};

// The seventeen keys in the order they are written.
const std::array<NoteSettingKey, 17> &NoteSettingKeys();
