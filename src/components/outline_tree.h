#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// An error of the outline: an index no item has, the invisible root, or a
// selection below the first item.
class EOutlineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Items addressed by index under an invisible root 0, each with a text, the
// name it stands for (the text unless given), a read mark, children in order
// and an expanded state.
class OutlineTree {
public:
    static constexpr std::int32_t InvalidIndex = -1;

    explicit OutlineTree(char separator = '\\') : Separator(separator) { Clear(); }

    void Clear();
    std::int32_t AddChild(std::int32_t parent, std::string text, std::optional<std::string> name = std::nullopt);
    // After the last item of the level that holds sibling.
    std::int32_t Add(std::int32_t sibling, std::string text);
    // Before item, at its level.
    std::int32_t Insert(std::int32_t item, std::string text, std::optional<std::string> name = std::nullopt);

    const std::string& Text(std::int32_t item) const { return Node(item).Text; }
    const std::string& Name(std::int32_t item) const { return Node(item).Name; }
    bool Read(std::int32_t item) const { return Node(item).Read; }
    void SetRead(std::int32_t item) { Node(item).Read = true; }
    std::int32_t Parent(std::int32_t item) const { return Node(item).Parent; }
    bool HasItems(std::int32_t item) const { return !Node(item).Children.empty(); }
    std::int32_t FirstChild(std::int32_t item) const;
    std::int32_t NextChild(std::int32_t item, std::int32_t child) const;
    std::int32_t LastChild(std::int32_t item) const;
    const std::vector<std::int32_t>& Children(std::int32_t item) const { return Node(item).Children; }
    // The texts from the top level down to the item, joined by the separator
    // (none after a top-level text that ends with it).
    std::string FullPath(std::int32_t item) const;
    // The same path of the items' names.
    std::string NamePath(std::int32_t item) const;

    bool Expanded(std::int32_t item) const { return Node(item).Expanded; }
    // Expanding runs OnExpand first; the ancestors must be expanded already.
    void SetExpanded(std::int32_t item, bool expanded);
    std::function<void(std::int32_t)> OnExpand;

    std::int32_t SelectedItem() const { return Selected; }
    void SetSelectedItem(std::int32_t item);

    std::int32_t Count() const { return static_cast<std::int32_t>(Nodes.size()) - 1; }
    bool Exists(std::int32_t item) const { return item > 0 && item < static_cast<std::int32_t>(Nodes.size()); }
    // The items a user sees, top to bottom: the expanded parts of the tree.
    std::vector<std::int32_t> VisibleItems() const;
    int Level(std::int32_t item) const;
    // Counts every change of the items, their order or what is expanded, so
    // that a view can keep what it worked out until the next one.
    std::uint64_t Generation() const { return Changes; }

private:
    struct Item {
        std::string Text;
        std::string Name;
        std::int32_t Parent = 0;
        // Where the item stands among its parent's children.
        std::size_t Position = 0;
        std::vector<std::int32_t> Children;
        bool Expanded = false;
        bool Read = false;
    };

    Item& Node(std::int32_t item);
    const Item& Node(std::int32_t item) const;
    std::int32_t NewItem(std::int32_t parent, std::string text, std::optional<std::string> name);
    const std::vector<std::int32_t>& ChildrenOf(std::int32_t item) const;
    std::string JoinedPath(std::int32_t item, std::string Item::*part) const;

    char Separator;
    std::vector<Item> Nodes;
    std::int32_t Selected = 0;
    std::uint64_t Changes = 0;
};
