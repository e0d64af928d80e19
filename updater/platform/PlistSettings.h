#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// Settings kept in property lists, as the reader keeps them. Nothing outside this layer constructs a
// QSettings: on Linux the "native" format would be an INI file in another place.
//
// Top-level keys are stored the way the reader's own settings code stores them: "/" is written as
// ".", "." as the middle dot (U+00B7) and the middle dot as "/". Keys inside a dictionary are kept as
// they are. A list that cannot be read gives an empty store whose status() is FormatError; writes
// replace the file atomically, so a failed one leaves the previous file untouched.
QSettings::Format plistSettingsFormat();

// The settings in one property-list file.
std::unique_ptr<QSettings> openPlistSettings(const QString& filePath);

// The settings of an organisation's application, in the user's preferences folder:
// "~/Library/Preferences/com.<organisation in lower case, blanks as '-'>.<application>.plist".
std::unique_ptr<QSettings> openApplicationSettings(const QString& organisation, const QString& application);
QString applicationSettingsPath(const QString& organisation, const QString& application);
