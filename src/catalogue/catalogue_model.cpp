#include "catalogue_model.h"

#include "app/display_text.h"

#include <QByteArray>

namespace {

constexpr std::size_t ShownLength = 4096;

} // namespace

CatalogueModel::CatalogueModel(const AvailablePathVector& catalogue, std::array<QIcon, 2> images,
                               QObject* parent)
    : QAbstractTableModel(parent), Catalogue(catalogue), Images(std::move(images))
{
}

void CatalogueModel::BeginRefresh()
{
    beginResetModel();
}

void CatalogueModel::EndRefresh()
{
    endResetModel();
}

int CatalogueModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(Catalogue.size());
}

int CatalogueModel::columnCount(const QModelIndex& parent) const
{
    // "UP" (image and path) and "Network Path" (always empty).
    return parent.isValid() ? 0 : 2;
}

QVariant CatalogueModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.column() != 0 || index.row() >= rowCount())
        return {};
    const auto& entry = Catalogue[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        // No screen is wide enough for more, and laying out megabytes of one
        // line would stall the window.
        if (entry.NetworkPath.size() > ShownLength)
            return ToDisplay(std::string_view(entry.NetworkPath).substr(0, ShownLength)) + QChar(0x2026);
        return ToDisplay(entry.NetworkPath);
    case Qt::DecorationRole:
        return Images[entry.RequiresPW != 0 ? 1 : 0];
    case BytesRole:
        return QByteArray(entry.NetworkPath.data(), static_cast<qsizetype>(entry.NetworkPath.size()));
    default:
        return {};
    }
}

Qt::ItemFlags CatalogueModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
