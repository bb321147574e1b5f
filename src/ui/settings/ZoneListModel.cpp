#include "ui/settings/ZoneListModel.h"

namespace tavrin {

ZoneListModel::ZoneListModel(WorldZoneList& list, QObject* parent) : QAbstractListModel(parent), list_(list) {
    rows_ = list_.matching({});
}

void ZoneListModel::setFilter(const QString& filter) {
    filter_ = filter;
    reload();
}

void ZoneListModel::reload() {
    beginResetModel();
    rows_ = list_.matching(filter_.toStdString());
    endResetModel();
}

int ZoneListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant ZoneListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const ZoneItem& item = list_.items()[itemAt(index.row())];
    if (role == Qt::DisplayRole) return QString::fromStdString(item.displayText);
    if (role == Qt::CheckStateRole && list_.choosable()) return item.checked ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool ZoneListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= rowCount()) return false;
    const bool checked = value.toInt() == Qt::Checked;
    if (!list_.setChecked(itemAt(index.row()), checked)) {
        if (checked && list_.choosable()) emit tickRefused();
        return false;
    }
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags ZoneListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (list_.choosable()) f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant ZoneListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QStringLiteral("Time Zone");
    return {};
}

}  // namespace tavrin
