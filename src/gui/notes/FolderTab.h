#pragma once

#include <QColor>
#include <QWidget>

// The folder-tab button in a note's top-right corner, drawn in the note's folder colour: a tab with a chevron that
// points up while the note is expanded (a click collapses it) and down while it is collapsed.
class FolderTab : public QWidget {
    Q_OBJECT
public:
    explicit FolderTab(QWidget *parent = nullptr);

    // "青色", "緑色", "紫色", "赤色", "白色", "黄色" or "黒色"; any other text changes nothing.
    bool setFolderColor(const QString &name);
    QColor folderColor() const { return m_color; }
    void setCollapsed(bool collapsed);
    bool collapsed() const { return m_collapsed; }
    // The tab's colour for a folder colour name; invalid for an unknown name.
    static QColor colorOf(const QString &name);

    QSize sizeHint() const override { return QSize(26, 16); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QColor m_color;
    bool m_collapsed = false;
};
