#pragma once

#include <QString>

// What the conductor tells the component-found dialog about the components the reader asked for.
struct ComponentInfo {
    QString product;
    // The reader version from the command line.
    QString version;
    // One component name or a comma-separated list of them.
    QString components;
    QString language;
    QString edition;
};
