#include "outline_tree.h"

#include <algorithm>
#include <utility>

void OutlineTree::Clear()
{
    Nodes.assign(1, Item{});
    Nodes[0].Expanded = true;
    Selected = 0;
}

OutlineTree::Item& OutlineTree::Node(std::int32_t item)
{
    return const_cast<Item&>(std::as_const(*this).Node(item));
}

const OutlineTree::Item& OutlineTree::Node(std::int32_t item) const
{
    if (item == 0)
        throw EOutlineError("Invalid outline index");
    if (!Exists(item))
        throw EOutlineError("Outline index not found");
    return Nodes[static_cast<std::size_t>(item)];
}

std::int32_t OutlineTree::NewItem(std::int32_t parent, std::string text)
{
    Item item;
    item.Text = std::move(text);
    item.Parent = parent;
    Nodes.push_back(std::move(item));
    return static_cast<std::int32_t>(Nodes.size()) - 1;
}

std::int32_t OutlineTree::AddChild(std::int32_t parent, std::string text)
{
    if (parent != 0)
        Node(parent);
    const auto index = NewItem(parent, std::move(text));
    Nodes[static_cast<std::size_t>(parent)].Children.push_back(index);
    return index;
}

std::int32_t OutlineTree::Add(std::int32_t sibling, std::string text)
{
    return AddChild(sibling == 0 ? 0 : Node(sibling).Parent, std::move(text));
}

std::int32_t OutlineTree::Insert(std::int32_t item, std::string text)
{
    const auto parent = Node(item).Parent;
    const auto index = NewItem(parent, std::move(text));
    auto& siblings = Nodes[static_cast<std::size_t>(parent)].Children;
    siblings.insert(std::find(siblings.begin(), siblings.end(), item), index);
    return index;
}

std::int32_t OutlineTree::FirstChild(std::int32_t item) const
{
    const auto& children = item == 0 ? Nodes[0].Children : Node(item).Children;
    return children.empty() ? InvalidIndex : children.front();
}

std::int32_t OutlineTree::NextChild(std::int32_t item, std::int32_t child) const
{
    const auto& children = item == 0 ? Nodes[0].Children : Node(item).Children;
    const auto at = std::find(children.begin(), children.end(), child);
    return at == children.end() || at + 1 == children.end() ? InvalidIndex : *(at + 1);
}

std::int32_t OutlineTree::LastChild(std::int32_t item) const
{
    const auto& children = item == 0 ? Nodes[0].Children : Node(item).Children;
    return children.empty() ? InvalidIndex : children.back();
}

std::string OutlineTree::FullPath(std::int32_t item) const
{
    std::vector<std::int32_t> chain;
    for (auto at = item; at != 0; at = Node(at).Parent)
        chain.push_back(at);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.empty() && path.back() != Separator)
            path += Separator;
        path += Node(*it).Text;
    }
    return path;
}

void OutlineTree::SetExpanded(std::int32_t item, bool expanded)
{
    auto& node = Node(item);
    if (expanded == node.Expanded)
        return;
    if (expanded) {
        for (auto at = node.Parent; at != 0; at = Node(at).Parent) {
            if (!Node(at).Expanded)
                SetExpanded(at, true);
        }
        if (OnExpand)
            OnExpand(item);
    }
    Node(item).Expanded = expanded;
}

void OutlineTree::SetSelectedItem(std::int32_t item)
{
    if (item == 0) {
        Selected = Count() > 0 ? 1 : 0;
        return;
    }
    if (item < 1)
        throw EOutlineError("Invalid selection");
    Node(item);
    Selected = item;
}

std::vector<std::int32_t> OutlineTree::VisibleItems() const
{
    std::vector<std::int32_t> shown;
    std::vector<std::int32_t> pending(Nodes[0].Children.rbegin(), Nodes[0].Children.rend());
    while (!pending.empty()) {
        const auto item = pending.back();
        pending.pop_back();
        shown.push_back(item);
        const auto& node = Nodes[static_cast<std::size_t>(item)];
        if (node.Expanded)
            pending.insert(pending.end(), node.Children.rbegin(), node.Children.rend());
    }
    return shown;
}

int OutlineTree::Level(std::int32_t item) const
{
    int level = 0;
    for (auto at = Node(item).Parent; at != 0; at = Nodes[static_cast<std::size_t>(at)].Parent)
        ++level;
    return level;
}
