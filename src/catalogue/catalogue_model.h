#pragma once

#include "store/catalogue_file.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <array>
#include <vector>

// Shows the catalogue as the list's rows without copying it: the paths' bytes
// stay in the catalogue and are only converted for display.
class CatalogueModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CatalogueModel)

public:
    static constexpr int BytesRole = Qt::UserRole;

    CatalogueModel(const PathCatalogue& catalogue, std::array<QIcon, 2> images, QObject* parent);

    // Call around every change of the catalogue.
    void BeginRefresh();
    void EndRefresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The rows whose shown text may be the widest, from an estimate of every
    // text's width: the sum of its bytes' advances, which must be no less
    // than the text's laid-out width. The widest estimate first, then the
    // rows that come within slack of it, a few at most; none when empty.
    std::vector<int> WidestRows(const std::array<int, 256>& advances, int slack) const;

private:
    const PathCatalogue& Catalogue;
    std::array<QIcon, 2> Images;
};
