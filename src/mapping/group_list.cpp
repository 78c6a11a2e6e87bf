#include "app/mainform.h"

#include "app/display_text.h"
#include "mapping/group_line.h"

#include <QListWidget>

#include <algorithm>

namespace {

constexpr int BytesRole = Qt::UserRole;

std::string LineOf(const QListWidgetItem* item)
{
    return item->data(BytesRole).toByteArray().toStdString();
}

} // namespace

std::vector<std::string> TMainPRGForm::GroupLines() const
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(MappingListBox->count()));
    for (int row = 0; row < MappingListBox->count(); ++row)
        lines.push_back(LineOf(MappingListBox->item(row)));
    return lines;
}

std::string TMainPRGForm::GroupLine(int row) const
{
    return LineOf(MappingListBox->item(row));
}

namespace {

QListWidgetItem* ItemOf(const std::string& line)
{
    auto* item = new QListWidgetItem(ToDisplay(line));
    item->setData(BytesRole, QByteArray(line.data(), static_cast<qsizetype>(line.size())));
    return item;
}

} // namespace

void TMainPRGForm::AddGroupLine(const std::string& line)
{
    // After the lines that sort equal, as a sorted list box places it.
    int low = 0;
    int high = MappingListBox->count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (GroupLineLess(line, LineOf(MappingListBox->item(middle))))
            high = middle;
        else
            low = middle + 1;
    }
    MappingListBox->insertItem(low, ItemOf(line));
}

void TMainPRGForm::AddGroupLines(std::vector<std::string> lines)
{
    if (MappingListBox->count() > 0) {
        for (const auto& line : lines)
            AddGroupLine(line);
        return;
    }
    // A whole profile at once: sorted first, then appended in one go.
    std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return GroupLineLess(a, b); });
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& line : lines)
        texts.append(ToDisplay(line));
    MappingListBox->addItems(texts);
    for (int row = 0; row < MappingListBox->count(); ++row) {
        const auto& line = lines[static_cast<std::size_t>(row)];
        MappingListBox->item(row)->setData(BytesRole, QByteArray(line.data(), static_cast<qsizetype>(line.size())));
    }
}

int TMainPRGForm::SelectedGroupRow() const
{
    const auto selected = MappingListBox->selectedItems();
    return selected.isEmpty() ? -1 : MappingListBox->row(selected.front());
}

void TMainPRGForm::TakeGroupLine(int row)
{
    delete MappingListBox->takeItem(row);
    // The list would select the next line, which the user never picked.
    MappingListBox->clearSelection();
    MappingListBox->setCurrentRow(-1);
}
