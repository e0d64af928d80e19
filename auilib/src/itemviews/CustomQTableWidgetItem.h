#pragma once

#include "ListBox.h"

#include <QTableWidgetItem>

#include <functional>
#include <map>
#include <unordered_map>
#include <utility>

class ItemDataStore;

namespace AUILib {

// A list box cell: its text, the row's payload ID, and what sorting needs to know of the list.
class CustomQTableWidgetItem : public QTableWidgetItem
{
public:
    using SortFunctions = std::map<int, ListBox::SortFunction>;

    // The answers of the column functions during one sort. A function that answers a pair one way and
    // then the other would send Qt's sort past the ends of its rows: each pair is asked once per sort.
    struct SortAnswers
    {
        using Pair = std::pair<const QTableWidgetItem*, const QTableWidgetItem*>;
        struct PairHash
        {
            std::size_t operator()(const Pair& pair) const
            {
                return std::hash<const void*>()(pair.first) * 31u ^ std::hash<const void*>()(pair.second);
            }
        };
        bool active = false;
        std::unordered_map<Pair, bool, PairHash> answers;
    };

    CustomQTableWidgetItem(const QString& text, const bool* caseSensitive, const SortFunctions* sortFunctions,
                           ItemDataStore* store, SortAnswers* sortAnswers);
    ~CustomQTableWidgetItem() override;

    // Numbers compare as numbers; texts through the column's function, else by QString::compare. A pinned
    // cell comes first in the table's present order and ties with other pinned cells.
    bool operator<(const QTableWidgetItem& other) const override;

    bool pinned = false;
    ListBox::EditMode editMode = ListBox::ColumnEditMode;
    const bool* caseSensitive;
    const SortFunctions* sortFunctions;
    ItemDataStore* store;
    SortAnswers* sortAnswers;

private:
    bool FunctionLess(const ListBox::SortFunction& function, const QTableWidgetItem& other, const QString& mine,
                      const QString& theirs, int dataColumn) const;
    bool TextLess(const QTableWidgetItem& other, const QString& mine, const QString& theirs) const;
    any DataFor(const QTableWidgetItem& cell, int column) const;
};

} // namespace AUILib
