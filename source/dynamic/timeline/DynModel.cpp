#include "dynamic/timeline/DynModel.h"

DynModel::DynModel(QObject* parent) : QAbstractTableModel(parent) {}

int DynModel::rowCount(const QModelIndex&) const
{
    return 0;
}

int DynModel::columnCount(const QModelIndex&) const
{
    return 0;
}

QVariant DynModel::data(const QModelIndex&, int) const
{
    return QVariant();
}
