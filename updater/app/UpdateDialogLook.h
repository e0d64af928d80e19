#pragma once

#include <QPixmap>
#include <QWidget>
#include <QString>

#include <string>

// What the update list and the download list show alike.

// A module's size text in megabytes with two decimals: blanks and every "B" (either case) dropped,
// the rest read as a whole number of bytes; text that is no number counts as 0.
QString moduleMegabytes(const std::string& size);

// The 319x48 title banner for the appearance: the China package's own banner when the bundle is
// of package type "zh-CN" and the run's language is Chinese.
QPixmap updateBanner(bool darkMode, int language);

// Gives `dialog` the colours of the appearance. The system's dark appearance recolours every window
// of a program; here the dialogs that follow the appearance carry it themselves.
void applyAppearancePalette(QWidget* dialog, bool darkMode);
