#include "IsolatedEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

IsolatedEnvironment::IsolatedEnvironment()
{
    if (!m_root.isValid())
        ADD_FAILURE() << "cannot create a temporary folder: " << m_root.errorString().toStdString();
    for (const char* folder : {"home/.local/share", "home/.config", "home/.cache", "home/Library/Preferences", "tmp",
                               "system", "runtime"})
        QDir().mkpath(path(folder));
    QFile::setPermissions(path("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    setVariable("HOME", home());
    setVariable("XDG_DATA_HOME", dataHome());
    setVariable("XDG_CONFIG_HOME", path("home/.config"));
    setVariable("XDG_CACHE_HOME", path("home/.cache"));
    setVariable("XDG_RUNTIME_DIR", path("runtime"));
    setVariable("TMPDIR", tempDir());
    setVariable("KELVRIN_SYSTEM_ROOT", systemRoot());
}

IsolatedEnvironment::~IsolatedEnvironment()
{
    for (const auto& [name, value] : m_saved) {
        if (value)
            qputenv(name.c_str(), *value);
        else
            qunsetenv(name.c_str());
    }
}

void IsolatedEnvironment::setVariable(const char* name, const QString& value)
{
    if (m_saved.find(name) == m_saved.end())
        m_saved[name] = qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name)) : std::nullopt;
    qputenv(name, QFile::encodeName(value));
}

void IsolatedEnvironment::writeFile(const QString& filePath, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    QFile file(filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << filePath.toStdString();
}

QByteArray IsolatedEnvironment::readFile(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
