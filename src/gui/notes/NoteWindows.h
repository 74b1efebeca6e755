#pragma once

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>

class AppContext;
class frmFusen;
class frmFusenEdit;
class frmMenu;
class QWidget;

// The note windows of the run, one per note by name: brought up at start, replaced when a note is saved, closed when
// it is deleted. Carries out the note commands of the popup menu on the note it was opened on.
class NoteWindows : public QObject {
    Q_OBJECT
public:
    NoteWindows(AppContext &ctx, frmMenu &menu, QWidget *calendar);
    ~NoteWindows() override;

    // Every note whose section places it.
    void ShowAllNotes();
    frmFusen *window(const QString &name) const;
    QList<frmFusen *> windows() const;
    frmFusenEdit *editor() const;
    // The editor on the current note (a new one when it is empty); an open editor's text is dropped only when the
    // user agrees.
    void edit();

private:
    void show(const QString &name);
    void addCommands();
    void deleteNote(const QString &name);
    void align(int alignment);
    void size(int sizing);

    AppContext &m_ctx;
    frmMenu &m_menu;
    QWidget *m_calendar;
    QMap<QString, QPointer<frmFusen>> m_windows;
    QPointer<frmFusenEdit> m_editor;
};
