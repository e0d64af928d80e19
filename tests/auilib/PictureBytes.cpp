#include "PictureBytes.h"

#include <QBuffer>
#include <QDataStream>
#include <QImage>
#include <QVector>

namespace PictureBytes {

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage Filled(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

namespace {

constexpr int kIconHeaderSize = 6;
constexpr int kIconEntrySize = 16;

} // namespace

QByteArray Png(int width, int height, QColor colour)
{
    return Encoded(Filled(width, height, colour), "PNG");
}

QByteArray Ico(std::initializer_list<int> widths)
{
    // Each single-image icon file is header, one entry, image data: the entries are joined under one
    // header and the image data follow in the same order.
    QVector<QByteArray> singles;
    for (int width : widths)
        singles.append(Encoded(Filled(width, width, QColor(0, 128, 0)), "ICO"));
    QByteArray entries;
    QByteArray images;
    quint32 offset = kIconHeaderSize + kIconEntrySize * singles.size();
    for (const QByteArray& single : singles) {
        QByteArray entry = single.mid(kIconHeaderSize, kIconEntrySize);
        const QByteArray image = single.mid(kIconHeaderSize + kIconEntrySize);
        for (int byte = 0; byte < 4; ++byte)
            entry[12 + byte] = static_cast<char>((offset >> (8 * byte)) & 0xFF);
        entries += entry;
        images += image;
        offset += static_cast<quint32>(image.size());
    }
    QByteArray header(kIconHeaderSize, '\0');
    header[2] = 1;
    header[4] = static_cast<char>(singles.size());
    return header + entries + images;
}

QByteArray TwoFrameGif()
{
    static const unsigned char gif[] = {
        'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0x80, 0, 0,         // 4 x 4, two colours
        0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF,                           // red, blue
        0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0, // loop
        0x21, 0xF9, 4, 0, 10, 0, 0, 0,                                // 100 ms
        0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0,         // one pixel of colour 0
        0x21, 0xF9, 4, 0, 10, 0, 0, 0,
        0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x4C, 0x01, 0,         // colour 1
        0x3B,
    };
    return QByteArray(reinterpret_cast<const char*>(gif), sizeof gif);
}

} // namespace PictureBytes
