#include "TreePictureList.h"

#include <QCryptographicHash>
#include <QPixmap>

namespace AUILib {

TreePictureList::TreePictureList()
{
    Clear();
}

std::uint64_t TreePictureList::SampledHash(const unsigned char* data, int length)
{
    std::uint64_t hash = 0;
    for (int i = 0; i < length; i += 5)
        hash = hash * 31 + data[i];
    return hash;
}

int TreePictureList::Add(const unsigned char* data, int length, ImageTypes type, const std::wstring& path)
{
    if (!data || length <= 0)
        return -1;
    const QByteArray digest = QCryptographicHash::hash(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), length), QCryptographicHash::Sha256);
    std::vector<Picture>& sameHash = m_records[SampledHash(data, length)];
    for (const Picture& picture : sameHash) {
        if (picture.digest == digest)
            return picture.index;
    }
    QPixmap pixmap;
    if (!pixmap.loadFromData(data, static_cast<uint>(length), AUILibUtils::ImageTypeToStr(type).c_str())) {
        if (sameHash.empty())
            m_records.erase(SampledHash(data, length));
        return -1;
    }
    m_icons.emplace_back(pixmap);
    const int index = Count() - 1;
    sameHash.push_back({index, path, digest});
    return index;
}

void TreePictureList::SetItemPicture(QStandardItem* item, int index)
{
    if (index >= 0)
        m_itemPictures[item] = index;
}

int TreePictureList::PictureOf(QStandardItem* item) const
{
    const auto found = m_itemPictures.find(item);
    return found == m_itemPictures.end() ? -1 : found->second;
}

std::wstring TreePictureList::PathOf(int index) const
{
    for (const auto& record : m_records) {
        for (const Picture& picture : record.second) {
            if (picture.index == index)
                return picture.path;
        }
    }
    return {};
}

QIcon TreePictureList::Icon(int index) const
{
    return index >= 0 && index < Count() ? m_icons[static_cast<size_t>(index)] : QIcon();
}

void TreePictureList::Clear()
{
    m_records.clear();
    m_itemPictures.clear();
    m_icons.clear();
    m_icons.emplace_back();
}

} // namespace AUILib
