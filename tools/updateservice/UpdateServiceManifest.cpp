#include "UpdateServiceManifest.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamWriter>

namespace {

QByteArray md5Of(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QByteArray();
    return hash.result().toHex();
}

OfferedModule moduleFrom(const QJsonObject& object)
{
    OfferedModule module;
    module.name = object.value("name").toString();
    module.title = object.value("title").toString(module.name);
    module.version = object.value("version").toString();
    module.type = object.value("type").toString("service");
    module.silent = object.value("silent").toBool();
    module.package = object.value("package").toString();
    module.description = object.value("description").toString();
    module.md5 = object.value("md5").toString();
    return module;
}

} // namespace

bool UpdateServiceManifest::load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = "cannot read " + path;
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        *error = "not a manifest: " + parseError.errorString();
        return false;
    }
    folder = QFileInfo(path).absolutePath();
    modules.clear();
    for (const QJsonValue& value : document.object().value("modules").toArray()) {
        const OfferedModule module = moduleFrom(value.toObject());
        if (module.name.isEmpty() || module.package.isEmpty() || !QFileInfo(packagePath(module)).isFile()) {
            *error = "a module needs a name and a package file: " + module.name;
            return false;
        }
        modules.append(module);
    }
    return true;
}

QByteArray UpdateServiceManifest::reply() const
{
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.writeStartElement("modules");
    for (const OfferedModule& module : modules) {
        const QString package = packagePath(module);
        writer.writeStartElement("module");
        writer.writeAttribute("name", module.name);
        writer.writeAttribute("title", module.title);
        writer.writeAttribute("version", module.version);
        writer.writeAttribute("module_type", module.type);
        writer.writeAttribute("size", QString("%1B").arg(QFileInfo(package).size()));
        writer.writeAttribute("md5", module.md5.isEmpty() ? QString::fromLatin1(md5Of(package)) : module.md5);
        writer.writeAttribute("url", packageUrlPath(module));
        writer.writeAttribute("description", module.description);
        writer.writeAttribute("result", "true");
        writer.writeAttribute("autoCheck", "true");
        if (module.silent)
            writer.writeAttribute("SilentInstall", "true");
        writer.writeEndElement();
    }
    writer.writeEndElement();
    return xml;
}
