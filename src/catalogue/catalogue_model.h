#pragma once

#include "store/catalogue_file.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <array>

// Shows the catalogue as the list's rows without copying it: the paths' bytes
// stay in the catalogue and are only converted for display.
class CatalogueModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CatalogueModel)

public:
    static constexpr int BytesRole = Qt::UserRole;

    CatalogueModel(const AvailablePathVector& catalogue, std::array<QIcon, 2> images, QObject* parent);

    // Call around every change of the catalogue.
    void BeginRefresh();
    void EndRefresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const AvailablePathVector& Catalogue;
    std::array<QIcon, 2> Images;
};
