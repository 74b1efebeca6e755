#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

struct Settings;

// The pictures of a folder that the band can show, in a stable order (names compared without regard to case).
QStringList PictureFileNames(const QString &folder);

// The file name to show after a step: mode "FIRST", "BEFORE", "NOW", "AFTER" or "LAST", wrapping around the ends.
// Empty when the folder holds no picture or the mode is unknown.
QString SelectFolderPicture(const QString &folder, const QString &current, const QString &mode);

// The folder Back_PicturePath names; a relative one lies in the program folder. Ends with the separator, empty when
// the setting is.
QString PictureFolderPath(const QString &setting, const QString &programFolder);

// The picture file the settings ask for: Back_Picture in mode "1", the folder's current picture in mode "2". Empty when
// there is none or the file does not exist.
QString PictureFilePath(const Settings &settings, const QString &programFolder);

// A picture's size as it is shown: a photo whose orientation tag turns it is as wide as it is shown, not as stored.
// Invalid when the file cannot be read.
QSize PictureShownSize(const QString &path);

// The displayed size of a picture (both in twips) on its side of a window of the given size: shrunk at its own
// proportions, never enlarged, 200 twips smaller than its own or the window's extent.
QSize FitPicture(QSize picture, const QString &picturePos, QSize window);

// Where the picture is painted in the window (twips).
QPoint PictureOrigin(const QString &picturePos, QSize displayed, const QRect &frame, QSize window);

// The toolbar's picture command (0 first, 1 previous, 2 choose a folder, 3 next, 4 last) as a folder step.
QString PictureStepMode(int command);
// A chosen folder as Back_PicturePath keeps it: ending with the separator.
QString PictureFolderSetting(const QString &folder);
