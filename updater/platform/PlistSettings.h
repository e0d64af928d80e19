#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// Settings kept in property lists, as the reader keeps them. Nothing outside this layer constructs a
// QSettings: on Linux the "native" format would be an INI file in another place.
//
// Top-level keys are stored the way the reader's own settings code stores them: "/" is written as
// ".", "." as the middle dot (U+00B7) and the middle dot as "/". Keys inside a dictionary are kept as
// they are. A list that cannot be read gives an empty store whose status() is FormatError, and is
// never written over; writes replace the file atomically, so a failed one leaves the previous file
// untouched.
//
// QSettings keeps parsed files for the whole process and trusts their size and time stamp, so a
// change another program makes can go unseen and be written back over. Settings that another
// program changes while we run go through PlistSettingsFile instead.
QSettings::Format plistSettingsFormat();

// The settings in one property-list file.
std::unique_ptr<QSettings> openPlistSettings(const QString& filePath);

// The settings of an organisation's application, in the user's preferences folder:
// "~/Library/Preferences/com.<organisation in lower case, blanks as '-'>.<application>.plist".
std::unique_ptr<QSettings> openApplicationSettings(const QString& organisation, const QString& application);
QString applicationSettingsPath(const QString& organisation, const QString& application);

// One settings file as it is on disk when the object is made. Nothing is kept beyond the object, so
// a change another program makes between two of them is seen by the second and kept by its writes.
// Keys are QSettings keys, normalised the same way ("a//b/" is "a/b").
class PlistSettingsFile
{
public:
    explicit PlistSettingsFile(QString path);

    // NoError for a settings list or no file at all; FormatError for a file that is no settings
    // list, which then reads as empty; AccessError for a file that cannot be opened.
    QSettings::Status status() const { return m_status; }

    bool contains(const QString& key) const;
    QVariant value(const QString& key, const QVariant& defaultValue = QVariant()) const;

    // Sets `key` and replaces the file at once. A file that is no property list at all is replaced.
    // A file that may well be one but was not read (beyond this layer's bounds, holding what it
    // cannot map, not a dictionary, not openable) is left byte-identical and the write fails:
    // writing over it would lose it.
    bool setValue(const QString& key, const QVariant& value);
    // Why the last setValue failed, in words for the log.
    QString writeFailure() const { return m_writeFailure; }

private:
    bool failWrite(const QString& cause);

    QString m_path;
    QString m_writeFailure;
    QSettings::Status m_status = QSettings::NoError;
    bool m_replaceable = true;
    QSettings::SettingsMap m_values;
};
