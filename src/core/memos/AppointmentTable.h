#pragma once

#include "core/memos/Appointment.h"

#include <QAbstractTableModel>

#include <vector>

// The rows of the import grid: "№" (a running number), then the fields of each appointment.
class AppointmentTable : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void clear();
    void append(std::vector<Appointment> appointments);
    const std::vector<Appointment> &appointments() const { return m_rows; }

private:
    std::vector<Appointment> m_rows;
};
