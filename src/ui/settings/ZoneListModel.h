#pragma once
// The rows of the preferences' zone list: the items of a WorldZoneList that match the filter, each
// with its tick box. Ticks belong to the items, so they stay while the filter hides their rows.
#include <QAbstractListModel>

#include <cstddef>
#include <vector>

#include "core/settings/WorldZoneList.h"

namespace tavrin {

class ZoneListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    explicit ZoneListModel(WorldZoneList& list, QObject* parent = nullptr);

    // Shows the items whose text holds every word of `filter`; all of them for an empty filter.
    void setFilter(const QString& filter);
    // The list's items changed as a whole (filled again).
    void reload();
    // The list item shown on a row.
    std::size_t itemAt(int row) const { return rows_[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  signals:
    // A tick was refused: the list holds as many zones as the menu can show.
    void tickRefused();

  private:
    WorldZoneList& list_;
    QString filter_;
    std::vector<std::size_t> rows_;
};

}  // namespace tavrin
