#pragma once

#include "core/view/OptionValues.h"

#include <QDialog>

#include <array>
#include <utility>
#include <vector>

class AppContext;
class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class SyncTab;

// The options dialog "オプション": every general setting and the extra off-day and working-day lists. Changes stay in
// the controls until OK or 適用 stores them through the settings model and the memo book, whose signals re-lay the
// calendar at once. Modeless; one at a time.
class frmOption : public QDialog {
    Q_OBJECT
public:
    frmOption(AppContext &ctx, QWidget *calendar);

    // The controls as typed values, and back.
    OptionValues values() const;
    void setValues(const OptionValues &values);
    // Stores the controls; false when the file refused them (said), and the changes stay pending.
    bool apply();
    bool hasPendingChanges() const;

    QTabWidget *SSTab1 = nullptr;
    std::array<QPushButton *, 3> cmdOption{}; // OK, キャンセル, 適用
    QPushButton *cmdHelp = nullptr;
    // 0-4 fonts, 5 today, 6 background, 7 line, 8 outline, 9 picture file, 10 picture folder, 11 note font,
    // 12 note background, 13 cell, 14 note outline.
    std::array<QPushButton *, 15> cmdDisp{};
    std::array<QPushButton *, 7> cmdFontColor{}; // the text colour of each font sample (5 unused)
    std::array<QLabel *, 7> lblFont{};           // samples 0-4 and 6 (the note); 5 unused
    QFrame *shpToday = nullptr;
    QComboBox *cmbTitleFormat = nullptr, *cmbDayFormat = nullptr, *cmbStartDay = nullptr, *cmbTimeFormat = nullptr,
              *cmbTimeZone = nullptr, *cmbPicturePos = nullptr, *cmbDisp_Mode_ToolBar = nullptr;
    QLabel *lblTitleFormat = nullptr, *lblDayFormat = nullptr, *lblTimeFormat = nullptr, *lblTimeDiff = nullptr;
    std::array<QCheckBox *, 7> chkOffDay{};
    QCheckBox *chkRokuyo = nullptr, *chkTime = nullptr, *chkBackColor = nullptr, *chkBackLine = nullptr,
              *chkFrameStyle = nullptr, *chkFrameCorner = nullptr, *chkNoteCorner = nullptr;
    QCheckBox *chkMonth = nullptr, *chkOption = nullptr, *chkNoteList = nullptr, *chkSchedule = nullptr,
              *chkFusen = nullptr, *chkQuit = nullptr, *chkPic = nullptr;
    QCheckBox *chkDispPosition = nullptr, *chkTaskTray = nullptr, *chkDeskTop = nullptr, *chkStartUp = nullptr,
              *chkStartMenu = nullptr;
    QCheckBox *chkRemindToday = nullptr, *chkRemindTime = nullptr;
    QSpinBox *spnRemindMinutes = nullptr;
    QLabel *lblBackColor = nullptr, *lblBackCellColor = nullptr, *lblBackLineColor = nullptr, *lblFrameColor = nullptr,
           *lblBackNoteColor = nullptr, *lblNoteFrameColor = nullptr;
    std::array<QRadioButton *, 3> optBackPicture{};
    QLineEdit *txtBackPicture = nullptr, *txtBackPicturePath = nullptr;
    QListWidget *lstOffDay = nullptr, *lstWeekDay = nullptr;
    QCalendarWidget *mtvOffDay = nullptr, *mtvWeekDay = nullptr;
    SyncTab *fraSync = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *fontTab();
    QWidget *calendarTab();
    QWidget *backgroundTab();
    QWidget *dayListTab();
    QWidget *noteTab();
    QWidget *optionTab();
    QWidget *remindFrame(); // on the 予定・ツールバー tab
    QWidget *versionTab();
    QPushButton *dispButton(int index, const char *caption);
    QLabel *colorPreview(const char *name);
    void changed(); // a control changed: the apply button lights
    void watch(QWidget *control);
    void watchControls();
    void setColor(QLabel *preview, const QColor &color);
    QColor colorOf(const QLabel *preview) const;
    void setFont(int sample, const FontChoice &choice);
    void cmdDisp_Click(int index);
    void cmdOption_Click(int index);
    void updateEnabled();
    void updatePreviews();
    void sub_MonthList_Set(QListWidget *list);
    void sub_MonthView_Refresh(QCalendarWidget *picker, QListWidget *list);
    void dateDoubleClicked(bool offDays, const QDate &date);
    void rowDoubleClicked(bool offDays);
    static QStringList rows(const QListWidget *list);
    // Which control shows which value, for both directions.
    std::vector<std::pair<QCheckBox *, bool OptionValues::*>> switchBindings() const;
    std::vector<std::pair<QLabel *, QColor OptionValues::*>> colorBindings() const;
    std::array<QCheckBox *, 7> buttonBoxes() const; // in the order of OptionValues::buttons

    AppContext &m_ctx;
    QWidget *m_calendar;
    std::array<FontChoice, 7> m_fonts; // by sample index
    bool m_listsFilled = false;
};
