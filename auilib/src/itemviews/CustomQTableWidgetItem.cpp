#include "CustomQTableWidgetItem.h"

#include "ItemDataStore.h"
#include "WideText.h"

#include <QHeaderView>
#include <QTableWidget>

#include <typeinfo>

namespace AUILib {

namespace {

enum ValueClass { IntegerClass = 0, FloatingClass = 1, TextClass = 2 };

ValueClass ClassOf(const QVariant& value)
{
    switch (value.userType()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::QChar:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::ULong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return IntegerClass;
    case QMetaType::Double:
    case QMetaType::Float:
        return FloatingClass;
    default:
        return TextClass;
    }
}

// Called for every comparison of a sort: an exact type test, cheaper than a dynamic cast.
const CustomQTableWidgetItem* AsListBoxCell(const QTableWidgetItem& item)
{
    return typeid(item) == typeid(CustomQTableWidgetItem) ? static_cast<const CustomQTableWidgetItem*>(&item)
                                                          : nullptr;
}

bool IsPinned(const QTableWidgetItem& item)
{
    const CustomQTableWidgetItem* cell = AsListBoxCell(item);
    return cell && cell->pinned;
}

} // namespace

CustomQTableWidgetItem::CustomQTableWidgetItem(const QString& text, const bool* caseSensitiveFlag,
                                               const SortFunctions* functions, ItemDataStore* itemStore,
                                               SortAnswers* answers)
    : QTableWidgetItem(text, Type)
    , caseSensitive(caseSensitiveFlag)
    , sortFunctions(functions)
    , store(itemStore)
    , sortAnswers(answers)
{
}

CustomQTableWidgetItem::~CustomQTableWidgetItem() = default;

bool CustomQTableWidgetItem::operator<(const QTableWidgetItem& other) const
{
    const QVariant mine = data(Qt::DisplayRole);
    const QVariant theirs = other.data(Qt::DisplayRole);
    const ValueClass pairClass = std::max(ClassOf(mine), ClassOf(theirs));
    if (pairClass == IntegerClass)
        return mine.toLongLong() < theirs.toLongLong();
    if (pairClass == FloatingClass)
        return mine.toReal() < theirs.toReal();

    const bool minePinned = pinned;
    const bool theirsPinned = IsPinned(other);
    if (minePinned || theirsPinned) {
        if (minePinned == theirsPinned)
            return false;
        // Qt sorts descending with the arguments swapped: a pinned cell answers "greater" then.
        const QTableWidget* table = tableWidget() ? tableWidget() : other.tableWidget();
        const bool descending = table && table->horizontalHeader()->sortIndicatorOrder() == Qt::DescendingOrder;
        return minePinned != descending;
    }
    return TextLess(other, mine.toString(), theirs.toString());
}

bool CustomQTableWidgetItem::TextLess(const QTableWidgetItem& other, const QString& mine,
                                      const QString& theirs) const
{
    if (sortFunctions && !sortFunctions->empty()) {
        // Qt compares cells of the column it sorts by, the header's sort column. Asking the table for a
        // cell's column would search its cells once rows were inserted above it.
        const QTableWidget* table = other.tableWidget() ? other.tableWidget() : tableWidget();
        const int sortColumn = table ? table->horizontalHeader()->sortIndicatorSection() : -1;
        const auto found = sortFunctions->find(sortColumn);
        if (found != sortFunctions->end()) {
            const int dataColumn = sortColumn;
            if (!sortAnswers || !sortAnswers->active)
                return FunctionLess(found->second, other, mine, theirs, dataColumn);
            const auto key = std::make_pair(static_cast<const QTableWidgetItem*>(this), &other);
            const auto known = sortAnswers->answers.find(key);
            if (known != sortAnswers->answers.end())
                return known->second;
            const bool less = FunctionLess(found->second, other, mine, theirs, dataColumn);
            sortAnswers->answers.emplace(key, less);
            return less;
        }
    }
    const Qt::CaseSensitivity sensitivity =
        (caseSensitive && !*caseSensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    return QString::compare(mine, theirs, sensitivity) < 0;
}

bool CustomQTableWidgetItem::FunctionLess(const ListBox::SortFunction& function, const QTableWidgetItem& other,
                                          const QString& mine, const QString& theirs, int dataColumn) const
{
    const std::wstring mineText = ToWString(mine);
    const std::wstring theirsText = ToWString(theirs);
    const any mineData = DataFor(*this, dataColumn);
    const any theirsData = DataFor(other, dataColumn);
    // A function that answers true both ways (such as <=) is no order: only a one-way answer counts.
    return function(mineText, mineData, theirsText, theirsData) &&
           !function(theirsText, theirsData, mineText, mineData);
}

any CustomQTableWidgetItem::DataFor(const QTableWidgetItem& cell, int column) const
{
    const CustomQTableWidgetItem* listCell = AsListBoxCell(cell);
    if (!listCell)
        return {};
    if (!listCell->store)
        return any(0L);
    return listCell->store->Get(cell.data(Qt::UserRole).toInt(), column);
}

} // namespace AUILib
