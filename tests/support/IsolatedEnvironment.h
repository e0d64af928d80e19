#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

// Gives the current test its own HOME, XDG folders, TMPDIR and system root inside one
// temporary folder, and puts the previous environment back when it goes away.
class IsolatedEnvironment
{
public:
    IsolatedEnvironment();
    ~IsolatedEnvironment();
    IsolatedEnvironment(const IsolatedEnvironment&) = delete;
    IsolatedEnvironment& operator=(const IsolatedEnvironment&) = delete;

    QString root() const { return m_root.path(); }
    QString home() const { return path("home"); }
    QString dataHome() const { return path("home/.local/share"); }
    QString tempDir() const { return path("tmp"); }
    QString systemRoot() const { return path("system"); }

    // `absolutePath` as the system sees it ("/Library/...") placed under this test's system root.
    QString systemFile(const QString& absolutePath) const { return systemRoot() + absolutePath; }

    // Writes `bytes` to `filePath`, creating its folders; fails the test when it cannot.
    static void writeFile(const QString& filePath, const QByteArray& bytes);
    static QByteArray readFile(const QString& filePath);

private:
    QString path(const char* relative) const { return m_root.path() + "/" + relative; }
    void setVariable(const char* name, const QString& value);

    QTemporaryDir m_root;
    std::map<std::string, std::optional<QByteArray>> m_saved;
};

// A test fixture whose every test runs inside its own IsolatedEnvironment.
class IsolatedTest : public testing::Test
{
protected:
    IsolatedEnvironment env;
};
