#include "catalogue_model.h"

#include "ui/display_text.h"

#include <QByteArray>

#include <algorithm>

namespace {

constexpr std::size_t ShownLength = 4096;
// Enough to find the widest among texts of one length and like letters.
constexpr std::size_t MostCandidates = 16;

} // namespace

CatalogueModel::CatalogueModel(const PathCatalogue& catalogue, std::array<QIcon, 2> images,
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
    const auto entry = Catalogue[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        // No screen is wide enough for more, and laying out megabytes of one
        // line would stall the window.
        if (entry.NetworkPath.size() > ShownLength)
            return ToDisplay(entry.NetworkPath.substr(0, ShownLength)) + QChar(0x2026);
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

std::vector<int> CatalogueModel::WidestRows(const std::array<int, 256>& advances, int slack) const
{
    // The widest estimates so far, widest first.
    std::vector<std::pair<std::int64_t, int>> best;
    best.reserve(MostCandidates + 1);
    const auto wider = [](const auto& a, const auto& b) { return a.first > b.first; };
    for (std::size_t row = 0; row < Catalogue.size(); ++row) {
        const auto path = Catalogue[row].NetworkPath;
        // What is shown of a long path, and the ellipsis after it.
        std::int64_t width = path.size() > ShownLength ? advances[0xFF] : 0;
        for (const char c : path.substr(0, ShownLength))
            width += advances[static_cast<unsigned char>(c)];
        if (best.size() == MostCandidates && width <= best.back().first)
            continue;
        best.insert(std::upper_bound(best.begin(), best.end(), std::pair{width, 0}, wider),
                    {width, static_cast<int>(row)});
        if (best.size() > MostCandidates)
            best.pop_back();
    }
    std::vector<int> rows;
    for (const auto& [width, row] : best) {
        if (width >= best.front().first - slack)
            rows.push_back(row);
    }
    return rows;
}
