#include "core/memos/AppointmentTable.h"

#include "core/memos/ScheduleImport.h"

#include <iterator>

int AppointmentTable::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int AppointmentTable::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ImportFieldCount + 1;
}

QVariant AppointmentTable::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::TextAlignmentRole && index.column() <= 3) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    if (index.column() == 0) return role == Qt::DisplayRole ? QVariant(index.row() + 1) : QVariant();
    const QString cell = CellOf(m_rows[size_t(index.row())], index.column() - 1);
    // One line in the grid; the whole text in the tip.
    if (role == Qt::ToolTipRole) return index.column() >= 4 && !cell.isEmpty() ? QVariant(cell) : QVariant();
    QString line = cell;
    line.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
    return line;
}

QVariant AppointmentTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > ImportFieldCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section == 0 ? QString::fromUtf8("№") : ImportFieldNames()[section - 1];
}

void AppointmentTable::clear() {
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void AppointmentTable::append(std::vector<Appointment> appointments) {
    if (appointments.empty()) return;
    beginInsertRows({}, rowCount(), rowCount() + int(appointments.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(appointments.begin()),
                  std::make_move_iterator(appointments.end()));
    endInsertRows();
}
