#pragma once

#include "core/notes/NoteSettings.h"

#include <QPoint>
#include <QWidget>

#include <memory>

class AppContext;
class FolderTab;
class QTextDocument;
class QTextEdit;
class frmFrame;

// A sticky note on the desktop: its rich text on its background colour, the folder tab that folds it to a strip and
// opens it again, dragged by its face unless its place is fixed. It reads and writes its place through the note store.
class frmFusen : public QWidget {
    Q_OBJECT
public:
    // Reads the note's file, unless document brings the note already read.
    frmFusen(AppContext &ctx, const QString &name, std::unique_ptr<QTextDocument> document = {},
             QWidget *parent = nullptr);
    ~frmFusen() override;

    QString noteName() const { return m_name; }
    const NoteSettings &settings() const { return m_settings; }
    void sub_Option_Get();
    void sub_Option_Set();
    // Places and sizes the window for a display mode: 0 expanded, 1 folded to the tab's height.
    void sub_Form_Resize(int mode);
    bool SetFolderColour(const QString &name);
    // The window in twips, as the arrangement commands see it.
    QRect rectTwips() const;
    void sub_Move_Start(QPoint global);
    void sub_Move_Refresh(QPoint global);
    void sub_Move_End(QPoint global);

    QTextEdit *rtbFusen = nullptr;
    QWidget *fraMove = nullptr;
    FolderTab *picButton = nullptr;

signals:
    // A right click: the menu of this note, at a point of the screen.
    void menuRequested(const QString &name, const QPoint &global);
    void editRequested(const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void toggle();

    AppContext &m_ctx;
    QString m_name;
    NoteSettings m_settings;
    bool m_dragging = false;
    QPoint m_origin;
    std::unique_ptr<frmFrame> m_outline;
};
