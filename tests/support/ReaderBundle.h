#pragma once

#include <QString>
#include <QStringList>

// A reader bundle "Kelvrin PDF Reader.app" laid out in a test's folder, with a test program copied
// in as its updater. A copy, not a link: a program resolves its own folder through links, and what
// the updater finds beside itself (package type, schedule file) depends on where that folder is.
class ReaderBundle
{
public:
    explicit ReaderBundle(const QString& applicationsFolder);

    QString applicationsFolder() const { return m_applicationsFolder; }
    QString contents() const { return m_applicationsFolder + "/Kelvrin PDF Reader.app/Contents"; }
    QString executable() const { return contents() + "/MacOS/updater"; }

    // Copies `program` into the bundle once; false when it cannot.
    bool install(const QString& program) const;
    // Runs the installed program, killed after `timeoutMs`; its standard output split in lines.
    QStringList run(const QStringList& arguments, int timeoutMs = 30000) const;

private:
    QString m_applicationsFolder;
};
