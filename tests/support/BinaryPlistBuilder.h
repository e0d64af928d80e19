#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Builds binary property lists object by object, including shapes no writer would produce: shared
// and circular references, strings holding U+0000. References and offsets are written with the
// widths given to build().
class BinaryPlistBuilder
{
public:
    // Adds one encoded object and returns its index.
    int add(const QByteArray& object);

    int addAscii(const QByteArray& text);
    int addUtf16(const QString& text);
    int addData(int size);

    // Encodes an array (or, with pairs of keys and values, a dictionary) whose references are
    // `refSize` bytes wide; the same width must be given to build().
    static QByteArray array(const QVector<int>& items, int refSize = 1);
    static QByteArray dictionary(const QVector<int>& keys, const QVector<int>& values, int refSize = 1);

    // The whole list with object `top` at its root.
    QByteArray build(int top, int refSize = 1) const;

private:
    QVector<QByteArray> m_objects;
};
