#include "window/frmMenu.h"

#include "app/AppContext.h"
#include "schedule/MemoCommands.h"

#include <QCloseEvent>
#include <QMenu>

frmMenu::frmMenu(AppContext &ctx, QWidget *parent) : QWidget(parent, Qt::Window), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmMenu"));
    m_menu = new QMenu(QString::fromUtf8("メニュー"), this);
    m_menu->setObjectName(QStringLiteral("Menu"));
    const char *const calendar[][2] = {
        {"Cut", "切り取り"},
        {"Copy", "コピー"},
        {"Paste", "貼り付け"},
        {"Del", "削除"},
        {"Clear", "すべてクリア"},
        {"Line1", "-"},
        {"Export", "エクスポート"},
        {"Line2", "-"},
        {"BeforeYear", "1年前"},
        {"BeforeMonth", "1ヶ月前"},
        {"Now", "現在"},
        {"AfterMonth", "1ヵ月後"},
        {"AfterYear", "1年後"},
        {"Line3", "-"},
        {"NoteList", "メモ一覧"},
        {"Option", "設定"},
        {"Line4", "-"},
        {"Quit", "終了"},
        {"Line5", "-"},
        {"Fusen_Edit", "編集"},
        {"Fusen_Position", "表示位置を固定"},
        {"Fusen_Del", "削除"},
        {"Line6", "-"},
    };
    for (const auto &[name, caption] : calendar) add(m_menu, name, caption);
    m_items.value("Fusen_Position")->setCheckable(true);

    const auto submenu = [this](const char *name, const char *caption,
                                std::initializer_list<std::pair<const char *, const char *>> entries) {
        QMenu *sub = m_menu->addMenu(QString::fromUtf8(caption));
        sub->setObjectName(QString::fromLatin1(name));
        sub->menuAction()->setObjectName(QString::fromLatin1(name));
        m_items.insert(QString::fromLatin1(name), sub->menuAction());
        for (const auto &[entry, text] : entries) add(sub, entry, text);
    };
    submenu("Fusen_Sort", "整列",
            {{"Fusen_Sort_Left", "左揃え"},
             {"Fusen_Sort_Right", "右揃え"},
             {"Fusen_Sort_Upper", "上揃え"},
             {"Fusen_Sort_Lower", "下揃え"}});
    submenu("Fusen_Scale", "同じサイズに揃える",
            {{"Fusen_Scale_Width", "幅"}, {"Fusen_Scale_Height", "高さ"}, {"Fusen_Scale_Both", "両方向"}});
    submenu("Fusen_Folder", "フォルダ色",
            {{"Fusen_Folder_Blue", "青色"},
             {"Fusen_Folder_Green", "緑色"},
             {"Fusen_Folder_Purple", "紫色"},
             {"Fusen_Folder_Red", "赤色"},
             {"Fusen_Folder_White", "白色"},
             {"Fusen_Folder_Yellow", "黄色"},
             {"Fusen_Folder_Black", "黒色"}});
    add(m_menu, "Fusen_Pic_Disp", "背景画像を表示")->setVisible(false);
    add(m_menu, "Fusen_Pic_Path", "背景画像を指定")->setVisible(false);
    ShowPopupMenu(QStringLiteral("Nomal"));
}

QAction *frmMenu::add(QMenu *menu, const char *name, const char *caption) {
    QAction *action = QString::fromUtf8(caption) == QLatin1String("-") ? menu->addSeparator()
                                                                       : menu->addAction(QString::fromUtf8(caption));
    const QString item = QString::fromLatin1(name);
    action->setObjectName(item);
    m_items.insert(item, action);
    if (!action->isSeparator()) connect(action, &QAction::triggered, this, [this, item] { emit command(item); });
    return action;
}

void frmMenu::ShowPopupMenu(const QString &mode) {
    static const QStringList memo{"Cut", "Copy", "Paste", "Del", "Clear", "Line1", "Export"};
    static const QStringList months{"BeforeYear", "BeforeMonth", "Now",    "AfterMonth", "AfterYear",
                                    "Line3",      "NoteList",    "Option", "Line4",      "Quit"};
    static const QStringList notes{"Line6",      "Fusen_Edit",  "Fusen_Position", "Fusen_Del",
                                   "Fusen_Sort", "Fusen_Scale", "Fusen_Folder"};
    QStringList shown;
    if (mode == QLatin1String("Nomal"))
        shown = months;
    else if (mode == QLatin1String("Edit"))
        shown = memo;
    else if (mode == QLatin1String("Fusen"))
        shown = notes;
    else
        return;
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it) {
        const QString &name = it.key();
        const bool calendarItem = memo.contains(name) || months.contains(name) || name == QLatin1String("Line2");
        const bool noteItem = notes.contains(name) || name == QLatin1String("Line5") || name.startsWith("Fusen_Pic");
        if (calendarItem || noteItem) it.value()->setVisible(shown.contains(name));
    }
    // Nothing to paste before a cut or copy, nor after a cut memo has been moved.
    m_items.value("Paste")->setEnabled(CanPaste(m_ctx));
    if (mode == QLatin1String("Fusen") && !m_ctx.currentNoteName.isEmpty())
        m_items.value("Fusen_Position")
            ->setChecked(m_ctx.settingsFile().read(m_ctx.currentNoteName, QStringLiteral("Fusen_Disp_Position")) ==
                         QLatin1String("True"));
}

void frmMenu::closeEvent(QCloseEvent *event) {
    // Asked to close from outside (the session ending): the calendar window ends the program.
    event->ignore();
    if (QWidget *calendar = parentWidget()) QMetaObject::invokeMethod(calendar, "close", Qt::QueuedConnection);
}
