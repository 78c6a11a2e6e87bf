#include "outline_tree.h"

#include <utility>

void OutlineTree::Clear()
{
    Nodes.assign(1, Item{});
    Nodes[0].Expanded = true;
    Selected = 0;
    ++Changes;
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

const std::vector<std::int32_t>& OutlineTree::ChildrenOf(std::int32_t item) const
{
    return item == 0 ? Nodes[0].Children : Node(item).Children;
}

std::int32_t OutlineTree::NewItem(std::int32_t parent, std::string text, std::optional<std::string> name)
{
    Item item;
    item.Name = name ? std::move(*name) : text;
    item.Text = std::move(text);
    item.Parent = parent;
    Nodes.push_back(std::move(item));
    ++Changes;
    return static_cast<std::int32_t>(Nodes.size()) - 1;
}

std::int32_t OutlineTree::AddChild(std::int32_t parent, std::string text, std::optional<std::string> name)
{
    if (parent != 0)
        Node(parent);
    const auto index = NewItem(parent, std::move(text), std::move(name));
    auto& siblings = Nodes[static_cast<std::size_t>(parent)].Children;
    Nodes[static_cast<std::size_t>(index)].Position = siblings.size();
    siblings.push_back(index);
    return index;
}

std::int32_t OutlineTree::Add(std::int32_t sibling, std::string text)
{
    return AddChild(sibling == 0 ? 0 : Node(sibling).Parent, std::move(text));
}

std::int32_t OutlineTree::Insert(std::int32_t item, std::string text, std::optional<std::string> name)
{
    const auto parent = Node(item).Parent;
    const auto at = Node(item).Position;
    const auto index = NewItem(parent, std::move(text), std::move(name));
    auto& siblings = Nodes[static_cast<std::size_t>(parent)].Children;
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(at), index);
    for (auto k = at; k < siblings.size(); ++k)
        Nodes[static_cast<std::size_t>(siblings[k])].Position = k;
    return index;
}

std::int32_t OutlineTree::FirstChild(std::int32_t item) const
{
    const auto& children = ChildrenOf(item);
    return children.empty() ? InvalidIndex : children.front();
}

std::int32_t OutlineTree::NextChild(std::int32_t item, std::int32_t child) const
{
    const auto& children = ChildrenOf(item);
    if (!Exists(child) || Nodes[static_cast<std::size_t>(child)].Parent != item)
        return InvalidIndex;
    const auto next = Nodes[static_cast<std::size_t>(child)].Position + 1;
    return next < children.size() ? children[next] : InvalidIndex;
}

std::int32_t OutlineTree::LastChild(std::int32_t item) const
{
    const auto& children = ChildrenOf(item);
    return children.empty() ? InvalidIndex : children.back();
}

std::string OutlineTree::JoinedPath(std::int32_t item, std::string Item::*part) const
{
    std::vector<std::int32_t> chain;
    for (auto at = item; at != 0; at = Node(at).Parent)
        chain.push_back(at);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.empty() && path.back() != Separator)
            path += Separator;
        path += Node(*it).*part;
    }
    return path;
}

std::string OutlineTree::FullPath(std::int32_t item) const
{
    return JoinedPath(item, &Item::Text);
}

std::string OutlineTree::NamePath(std::int32_t item) const
{
    return JoinedPath(item, &Item::Name);
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
    ++Changes;
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
