#pragma once

#include <QString>
#include <QStringList>

// A reader bundle "Kelvrin PDF Reader.app" laid out in a test's folder, with a test program copied
// in as its updater, in the updater's own bundle inside the reader's. A copy, not a link: a program
// resolves its own folder through links, and what the updater finds from there (package type,
// translations, schedule file) depends on where that folder is.
class ReaderBundle
{
public:
    explicit ReaderBundle(const QString& applicationsFolder);

    QString applicationsFolder() const { return m_applicationsFolder; }
    QString contents() const { return m_applicationsFolder + "/Kelvrin PDF Reader.app/Contents"; }
    QString updaterContents() const { return contents() + "/Helpers/Updater.app/Contents"; }
    QString executable() const { return updaterContents() + "/MacOS/updater"; }
    // The reader's own program folder, as the reader names it with "-readerpath".
    QString readerProgramFolder() const { return contents() + "/MacOS"; }
    // Where the updater finds the bundle's files: "packagetype.xml" and "UpdaterInfo.xml" in the
    // reader's resources, the translations under "lang", the schedule file beside its own bundle.
    QString resources() const { return contents() + "/Resources"; }
    QString langFolder() const { return contents() + "/lang"; }
    QString scheduleTimeFile() const { return contents() + "/Helpers/scheduleTime.txt"; }

    // Copies `program` into the bundle once; false when it cannot.
    bool install(const QString& program) const;
    // Runs the installed program, killed after `timeoutMs`; its standard output split in lines.
    QStringList run(const QStringList& arguments, int timeoutMs = 30000) const;

private:
    QString m_applicationsFolder;
};
