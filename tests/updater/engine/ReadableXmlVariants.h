#pragma once

#include <QByteArray>

#include <vector>

// A document in the forms the updater reads as it reads the plain one, although a strict reader
// refuses them or reads them otherwise.
struct XmlVariant
{
    const char* name;
    QByteArray document;
};

// `root` is the document's root element; the attribute extra="-" somewhere in it carries the text
// that an encoding, a repeat or an entity changes.
std::vector<XmlVariant> readableVariants(const QByteArray& root);
