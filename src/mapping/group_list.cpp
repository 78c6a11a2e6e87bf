#include "app/mainform.h"

#include "app/display_text.h"
#include "mapping/group_line.h"

#include <QListWidget>

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

void TMainPRGForm::AddGroupLine(const std::string& line)
{
    // After the lines that sort equal, as a sorted list box places it.
    int row = 0;
    while (row < MappingListBox->count() && !GroupLineLess(line, LineOf(MappingListBox->item(row))))
        ++row;
    auto* item = new QListWidgetItem(ToDisplay(line));
    item->setData(BytesRole, QByteArray(line.data(), static_cast<qsizetype>(line.size())));
    MappingListBox->insertItem(row, item);
}

int TMainPRGForm::SelectedGroupRow() const
{
    const auto selected = MappingListBox->selectedItems();
    return selected.isEmpty() ? -1 : MappingListBox->row(selected.front());
}
