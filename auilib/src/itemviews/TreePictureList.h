#pragma once

#include "AUILibUtils.h"

#include <QByteArray>
#include <QIcon>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class QStandardItem;

namespace AUILib {

// The tree view's pictures: each distinct picture is decoded once and named by a small index that
// items refer to. Index 0 is always the empty icon, so real pictures count from 1.
class TreePictureList
{
public:
    TreePictureList();

    // The picture's index, the earlier one when the same bytes were added before; -1 when the bytes
    // are missing or do not decode.
    int Add(const unsigned char* data, int length, ImageTypes type, const std::wstring& path);
    // A negative index is ignored.
    void SetItemPicture(QStandardItem* item, int index);
    void ForgetItem(QStandardItem* item) { m_itemPictures.erase(item); }
    // -1 when the item has no picture.
    int PictureOf(QStandardItem* item) const;
    // Empty for pictures given as bytes and for unknown indexes.
    std::wstring PathOf(int index) const;
    // A null icon for an index outside the list.
    QIcon Icon(int index) const;
    int Count() const { return static_cast<int>(m_icons.size()); }
    void Clear();

    // Every fifth byte from the first, folded into a wrapping 64-bit sum.
    static std::uint64_t SampledHash(const unsigned char* data, int length);

private:
    struct Picture
    {
        int index;
        std::wstring path;
        QByteArray digest; // of all the bytes: sampled hashes of different pictures can meet
    };

    std::unordered_map<std::uint64_t, std::vector<Picture>> m_records;
    std::vector<QIcon> m_icons;
    std::unordered_map<QStandardItem*, int> m_itemPictures;
};

} // namespace AUILib
