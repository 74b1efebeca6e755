#pragma once

#include "core/memos/AppointmentTable.h"
#include "core/memos/ScheduleImport.h"

#include <QWidget>

#include <array>

class AppContext;
class IcsExtraction;
struct IcsAppointments;
class QCheckBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableView;

// "予定表取込": the appointments of iCalendar files that start in the chosen days are listed, and chosen fields of
// each are added to the memo of its day through the memo book.
class frmImport : public QWidget {
    Q_OBJECT
public:
    frmImport(AppContext &ctx, QWidget *calendar);

    // 抽　出: asks for the files and lists what they hold for the chosen days, read off the window's thread;
    // extractionDone() follows.
    void Extract();
    bool extracting() const;
    // 取　込: adds the listed appointments to the memos, after asking.
    void Import();

    ImportChoice choice() const;
    const AppointmentTable &rows() const { return m_rows; }

    std::array<QDateEdit *, 2> dtpSelectDate{}; // from, to
    QTableView *grdSchedule = nullptr;
    QListWidget *lstSelect = nullptr;
    QCheckBox *chkHeader = nullptr;
    std::array<QRadioButton *, 3> optHeader{};
    std::array<QLineEdit *, 2> txtHeader{}; // before and after the name of その他
    std::array<QRadioButton *, 5> optDelimiter{};
    QLineEdit *txtDelimiter = nullptr;
    std::array<QPushButton *, 3> cmdButton{}; // 抽　出, 取　込, 閉じる
    QProgressBar *barProgressBar = nullptr;

signals:
    void extractionDone();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *fieldBox();
    QWidget *headerBox();
    QWidget *delimiterBox();
    void lstSelect_Click();
    void fail(const QString &numberAndReason);
    void extracted(const IcsAppointments &read);

    AppContext &m_ctx;
    QWidget *m_calendar;
    AppointmentTable m_rows;
    IcsExtraction *m_extraction = nullptr;
};
