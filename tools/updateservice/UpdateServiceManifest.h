#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// One module that the stand-in service offers.
struct OfferedModule {
    QString name;
    QString title;
    QString version;
    QString type;        // the reply's "module_type": "updater", "service" or "basic"
    bool silent = false; // "SilentInstall"
    QString package;     // the package file, relative to the manifest's folder
    QString description;
    QString md5;         // empty: the package's own digest; set: announced as given (a wrong one on purpose)
};

// The modules of a manifest file (JSON: {"modules": [{"name": ..., "title": ..., "version": ...,
// "type": ..., "silent": false, "package": ..., "description": ..., "md5": ...}]}).
struct UpdateServiceManifest {
    QString folder;
    QVector<OfferedModule> modules;

    // False with `error` set when the file cannot be read or is not such a manifest.
    bool load(const QString& path, QString* error);

    QString packagePath(const OfferedModule& module) const { return folder + "/" + module.package; }
    static QString packageUrlPath(const OfferedModule& module) { return "/packages/" + module.package; }

    // The service's reply: one element per module, with the package's size and MD5, and the
    // package's address as a path, which the updater completes with the service's own address.
    QByteArray reply() const;
};
