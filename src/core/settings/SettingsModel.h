#pragma once

#include "core/settings/Settings.h"
#include "core/settings/SettingsStore.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPoint>
#include <QRect>

#include <functional>
#include <optional>

// What SaveSettings writes: "ALL", "Picture" (BACK) or "Move" (FRAME).
enum class SettingsGroup { All, Picture, Move };
// The text classes of the calendar, each with its own font keys.
enum class TextClass { Title, Time, Weekday, Offday, Holiday, Note };
// The six font keys of a text class.
struct FontKeys {
    QString Settings::*name, Settings::*size, Settings::*italic, Settings::*bold, Settings::*underline,
        Settings::*color;
};
FontKeys FontKeysOf(TextClass text);
// Disp_Mode_ToolBar "0", "1", "2".
enum class ToolbarMode { All, Custom, Hidden };
// Back_PictureDisp "0", "1", "2".
enum class PictureMode { None, File, Folder };

// The settings record and what the program reads from it. The record keeps every value as the file holds it, so that
// a value loaded and saved again is written back unchanged; the windows read the typed view, where each key's rule for
// "on" and each number's bounds live in one place, and hear of every change through changed().
class SettingsModel : public QObject, public Settings {
    Q_OBJECT
public:
    explicit SettingsModel(SettingsFile file);

    // Reads the record from the settings file; a key the file lacks reads as its default.
    void load();
    // Changes the record, writes the group to the file and tells every window. A change the file refuses (a character
    // it cannot hold, a failed write, both already said) is put back, and nobody is told: false.
    bool change(SettingsGroup group, const std::function<void(Settings &)> &edit);

    // The key's own rule: a switch is on at "1"; Frame_Style, Frame_Conner, Position and the toolbar's button switches
    // at anything but "0"; a font flag at "True" in any case or a number other than 0.
    bool on(const QString Settings::*field) const;
    QColor color(const QString Settings::*field) const;

    // Face, size (1 to 200 points), italic, underline, and bold for the title, the clock and the note; the day
    // classes' bold marks a day with a memo and is left off here.
    QFont font(TextClass text) const;
    QColor textColor(TextClass text) const;

    bool seeThrough() const { return on(&Settings::Back_Style); }
    bool japaneseWeekdays() const;
    int startDay() const; // 1 Sunday ... 7 Saturday
    // Nothing for a value of no mode, which changes nothing.
    std::optional<ToolbarMode> toolbarMode() const;
    PictureMode pictureMode() const;
    // Frame_X / Frame_Y in twips, kept on the screens (twips).
    QPoint position(const QRect &screens) const;

signals:
    void changed(SettingsGroup group);

private:
    SettingsFile m_file;
};
