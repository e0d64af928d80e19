#include "IsolatedEnvironment.h"
#include "engine/InstallHistoryCheck.h"
#include "platform/InstallerPrograms.h"

#include <QDateTime>
#include <QStringList>
#include <QVector>

#include <gtest/gtest.h>

#include <optional>

namespace {

using InstallHistoryCheck::Verdict;

// A history as a list of "name@seconds" records, dated that many seconds from the installers' start;
// "unreadable" for a history that does not parse.
using History = QStringList;
const History kUnreadable{"unreadable"};

struct Installer {
    QString path;
    int startedAfterSeconds = 0;    // behind the first installer's start
    std::optional<History> atStart = std::nullopt; // as it finds the history when it starts; none: as the scenario's
};

// The history is rewritten, then the window takes the end of one installer.
struct End {
    History history;
    int installer;
    Verdict expected;
};

struct Scenario {
    const char* name;
    History atStart; // as the installers find it when they start, unless one says otherwise
    QVector<Installer> installers;
    QVector<End> ends;
};

class InstallHistoryCheckTest : public IsolatedTest
{
protected:
    void writeHistory(const History& history) const
    {
        if (history == kUnreadable) {
            IsolatedEnvironment::writeFile(InstallerPrograms::installHistory(), "<plist><array><dict>");
            return;
        }
        QByteArray records;
        for (const QString& record : history) {
            const QDateTime date = QDateTime::fromMSecsSinceEpoch(m_startMs + record.section('@', 1).toLongLong() * 1000,
                                                                  Qt::UTC);
            records += QString("<dict><key>date</key><date>%1</date><key>displayName</key><string>%2</string>"
                               "<key>processName</key><string>Installer</string></dict>")
                           .arg(date.toString(Qt::ISODate), record.section('@', 0, 0))
                           .toUtf8();
        }
        IsolatedEnvironment::writeFile(InstallerPrograms::installHistory(),
                                       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><array>" +
                                           records + "</array></plist>\n");
    }

    void play(const Scenario& scenario)
    {
        writeHistory(scenario.atStart);
        ClaimedRecords claimed;
        QVector<InstallerStart> starts;
        for (const Installer& installer : scenario.installers) {
            if (installer.atStart)
                writeHistory(*installer.atStart);
            InstallerStart start;
            start.path = installer.path;
            start.atMs = m_startMs + installer.startedAfterSeconds * 1000;
            InstallHistoryCheck::noteHistoryAtStart(claimed);
            starts.append(start);
        }
        for (int i = 0; i < scenario.ends.size(); ++i) {
            const End& end = scenario.ends[i];
            writeHistory(end.history);
            EXPECT_EQ(InstallHistoryCheck::claimRecord(starts[end.installer], claimed), end.expected)
                << scenario.name << ", end " << i << ": " << end.history.join(' ').toStdString();
        }
    }

private:
    const qint64 m_startMs = QDateTime::currentMSecsSinceEpoch();
};

const History kFull{"old1.pkg@-3600", "old2.pkg@-3600", "old3.pkg@-3600"};

TEST_F(InstallHistoryCheckTest, EachInstallerTakesARecordOfItsOwnWhereverTheHistoryMovesIt)
{
    const Installer a{"/unpack/a.pkg"};
    const Installer b{"/unpack/b.pkg"};
    const Installer c{"/unpack/c.pkg"};
    const Installer sameOne{"/unpack/one/same.pkg"};
    const Installer sameTwo{"/unpack/two/same.pkg"};
    const Scenario scenarios[] = {
        {"kept at its length",
         kFull,
         {a, b},
         {{{"old2.pkg@-3600", "old3.pkg@-3600", "a.pkg@0"}, 0, Verdict::Confirmed},
          {{"old3.pkg@-3600", "a.pkg@0", "b.pkg@0"}, 1, Verdict::Confirmed}}},
        {"several dropped per record",
         kFull + History{"old4.pkg@-3600"},
         {a, b},
         {{{"old4.pkg@-3600", "a.pkg@0"}, 0, Verdict::Confirmed}, {{"a.pkg@0", "b.pkg@0"}, 1, Verdict::Confirmed}}},
        {"three installers",
         kFull,
         {a, b, c},
         {{{"old2.pkg@-3600", "old3.pkg@-3600", "a.pkg@0"}, 0, Verdict::Confirmed},
          {{"old3.pkg@-3600", "a.pkg@0", "b.pkg@0"}, 1, Verdict::Confirmed},
          {{"a.pkg@0", "b.pkg@0", "c.pkg@0"}, 2, Verdict::Confirmed}}},
        {"rewritten shorter between the ends",
         kFull,
         {a, b},
         {{{"old3.pkg@-3600", "a.pkg@0"}, 0, Verdict::Confirmed}, {{"b.pkg@0"}, 1, Verdict::Confirmed}}},
        // Two installers of one file in one second leave two identical records: each takes one.
        {"identical records",
         kFull,
         {sameOne, sameTwo},
         {{{"old2.pkg@-3600", "old3.pkg@-3600", "same.pkg@0"}, 0, Verdict::Confirmed},
          {{"old3.pkg@-3600", "same.pkg@0", "same.pkg@0"}, 1, Verdict::Confirmed}}},
        {"one record for two installers of one file",
         kFull,
         {sameOne, sameTwo},
         {{{"old2.pkg@-3600", "old3.pkg@-3600", "same.pkg@0"}, 0, Verdict::Confirmed},
          {{"old2.pkg@-3600", "old3.pkg@-3600", "same.pkg@0"}, 1, Verdict::NotConfirmed}}},
        // The earlier installer ends first, when both records are there.
        {"the earlier of two installers of one file takes the older record",
         kFull,
         {sameOne, {sameTwo.path, 8}},
         {{kFull + History{"same.pkg@0", "same.pkg@8"}, 0, Verdict::Confirmed},
          {kFull + History{"same.pkg@0", "same.pkg@8"}, 1, Verdict::Confirmed}}},
        // An earlier run of the same installer recorded a moment before this one started.
        {"the record of an earlier run, moved by a drop",
         {"old2.pkg@-3600", "old3.pkg@-3600", "a.pkg@-2"},
         {a},
         {{{"old3.pkg@-3600", "a.pkg@-2", "other.pkg@0"}, 0, Verdict::NotConfirmed}}},
        {"a single installer",
         kFull,
         {a},
         {{{"old2.pkg@-3600", "old3.pkg@-3600", "a.pkg@0"}, 0, Verdict::Confirmed}}},
        // What the history held at the start stays old, whatever its date says.
        {"records in the future",
         {"a.pkg@3600"},
         {a, b},
         {{{"a.pkg@3600"}, 0, Verdict::NotConfirmed}, {{"a.pkg@3600", "b.pkg@3600"}, 1, Verdict::Confirmed}}},
        {"unreadable at the start, then the dates decide",
         kUnreadable,
         {a, {"/unpack/two/a.pkg"}},
         {{{"a.pkg@-3600", "a.pkg@0"}, 0, Verdict::Confirmed}, {{"a.pkg@-3600", "a.pkg@0"}, 1, Verdict::NotConfirmed}}},
        {"unreadable at an end, which takes nothing",
         kFull,
         {a, b},
         {{kUnreadable, 0, Verdict::Unusable}, {kFull + History{"a.pkg@0", "b.pkg@0"}, 1, Verdict::Confirmed}}},
    };
    for (const Scenario& scenario : scenarios)
        play(scenario);
}

// The newest record at an installer's start is told from later ones by the records before it: a record
// of the same file in the same second reads the same, and a history put in another order keeps none of
// the start's records in their order, which leaves it to the dates.
TEST_F(InstallHistoryCheckTest, TheStartOfTheNewRecordsIsFoundByTheRecordsBeforeIt)
{
    const Installer a{"/unpack/a.pkg"};
    const Installer sameOne{"/unpack/one/same.pkg"};
    const Installer sameTwo{"/unpack/two/same.pkg"};
    const History earlierRunInTheSameSecond{"old2.pkg@-3600", "old3.pkg@-3600", "same.pkg@0"};
    const History repeatedAndMoved{"old3.pkg@-3600", "same.pkg@0", "same.pkg@0"};
    const Scenario scenarios[] = {
        {"the newest record repeated, moved by a drop",
         earlierRunInTheSameSecond,
         {sameOne},
         {{repeatedAndMoved, 0, Verdict::Confirmed}}},
        {"the newest record repeated once for two installers",
         earlierRunInTheSameSecond,
         {sameOne, sameTwo},
         {{repeatedAndMoved, 0, Verdict::Confirmed}, {repeatedAndMoved, 1, Verdict::NotConfirmed}}},
        {"the newest record repeated, nothing dropped",
         earlierRunInTheSameSecond,
         {sameOne},
         {{earlierRunInTheSameSecond + History{"same.pkg@0"}, 0, Verdict::Confirmed}}},
        // The first installer's record is there before the second starts, which finds it old.
        {"the record of an installer of the same file there when the next one starts",
         kFull,
         {sameOne, {sameTwo.path, 0, kFull + History{"same.pkg@0"}}},
         {{kFull + History{"same.pkg@0", "same.pkg@0"}, 0, Verdict::Confirmed},
          {kFull + History{"same.pkg@0", "same.pkg@0"}, 1, Verdict::Confirmed}}},
        {"the same, ended the other way round and kept at its length",
         kFull,
         {sameOne, {sameTwo.path, 0, History{"old2.pkg@-3600", "old3.pkg@-3600", "same.pkg@0"}}},
         {{{"old3.pkg@-3600", "same.pkg@0", "same.pkg@0"}, 1, Verdict::Confirmed},
          {{"old3.pkg@-3600", "same.pkg@0", "same.pkg@0"}, 0, Verdict::Confirmed}}},
        {"the same with one record for both",
         kFull,
         {sameOne, {sameTwo.path, 0, kFull + History{"same.pkg@0"}}},
         {{kFull + History{"same.pkg@0"}, 0, Verdict::Confirmed},
          {kFull + History{"same.pkg@0"}, 1, Verdict::NotConfirmed}}},
        {"put newest first",
         kFull,
         {a},
         {{{"a.pkg@0", "old3.pkg@-3600", "old2.pkg@-3600", "old1.pkg@-3600"}, 0, Verdict::Confirmed}}},
        {"put newest first, the installer recorded nothing",
         kFull,
         {a},
         {{{"old3.pkg@-3600", "old2.pkg@-3600", "old1.pkg@-3600"}, 0, Verdict::NotConfirmed}}},
    };
    for (const Scenario& scenario : scenarios)
        play(scenario);
}

} // namespace
