#pragma once

#include <QString>
#include <QVariant>

// Registry-style settings ("HKEY_CURRENT_USER\Software\...") kept in property lists. Every operation
// opens the settings, does one read or one write and closes them again, re-reading the machine's
// layout switch each time, so a change made by the reader in between is always seen.
class CRegister
{
public:
    virtual ~CRegister() = default;

    static QString regGetString(QString key, QString name);
    static unsigned int regGetDword(QString key, QString name);
    static bool regSetString(QString key, QString name, QString value);
    static bool regSetDword(QString key, QString name, unsigned int value);

    // `key` is used exactly as given. Reads `plistFile` when it names an existing file, else the
    // settings of `organisation` and `application` (both empty: the reader's own).
    static QVariant regGetVariant(const QString& key, const QVariant& defaultValue, const QString& plistFile,
                                  const QString& organisation, const QString& application);
};

// True for the flat ("Continuous") layout, false for the nested ("Classic") one.
bool CheckIsContinue();

// Reads one key ("\" turned into "/") in the current layout. An empty organisation together with an
// empty application are replaced, in place, by the reader's own. True when the file reads without error.
bool CheckSingleKeysPlist(const QString& key, QVariant& result, const QVariant& defaultValue, QString& organisation,
                          QString& application);

// Writes one key in the current layout and synchronises the file; true when that succeeded.
bool WriteSingleKeysPlist(const QString& key, const QVariant& value, QString& organisation, QString& application);
