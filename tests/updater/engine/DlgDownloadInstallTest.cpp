#include "DebugLog.h"
#include "FileSizeLimit.h"
#include "FolderCallFault.h"
#include "ModalDriver.h"
#include "PipedPackage.h"
#include "PlistFileView.h"
#include "StandinLog.h"
#include "StandinPrograms.h"
#include "VzipFixture.h"
#include "WorkerWindowRun.h"
#include "platform/InstallerPrograms.h"
#include "WaitBound.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <functional>
#include <iterator>
#include <memory>

#include <cerrno>

namespace {

using Installers = QVector<QPair<QByteArray, QByteArray>>;
const QVector<int> kInstalled{0, 20, 90, 100};
const QVector<int> kInstallFailed{0, 20, -1};

class InstallRun : public WorkerWindowRun
{
protected:
    void SetUp() override
    {
        WorkerWindowRun::SetUp();
        ASSERT_TRUE(StandinPrograms::place());
    }

    MODULEINFO* installModule(const QString& title, const Installers& installers)
    {
        return announcedModule(title, "/" + title + ".vzip", installPackage(installers));
    }

    // A module installed silently, so its transfer is waited for, whose transfer stops half-way.
    MODULEINFO* stallingSilentModule()
    {
        HttpRoute stalling;
        stalling.body = QByteArray(200 * 1000, 'x');
        stalling.stallAfter = 50 * 1000;
        server.setRoute("/stalling.vzip", stalling);
        MODULEINFO* silent = module("Silent", "/stalling.vzip");
        silent->SilentInstall = true;
        return silent;
    }

    static QStringList recordedPackages()
    {
        return PlistFileView::stringOfEachRecord(InstallerPrograms::installHistory(), "displayName");
    }

    static QStringList installerLines(const QString& word)
    {
        return StandinPrograms::linesWith(StandinPrograms::installerLog(), word);
    }

    // Leaves the window's ends of the installers to come later, as on a busy machine.
    static bool waitForInstallerEndsOutsideTheEventLoop(int count)
    {
        QElapsedTimer waited;
        waited.start();
        while (installerLines("end").size() < count && waited.elapsed() < kWaitBoundMs)
            QThread::msleep(20);
        return installerLines("end").size() >= count;
    }
};

// Counts the window's debug lines that contain a text; the window writes one as it takes the end of
// an installer, right before it reads the install history.
class DebugLineCounter
{
public:
    explicit DebugLineCounter(const QString& text)
    {
        s_text = text;
        s_count = 0;
        s_previous = qInstallMessageHandler(&Handle);
    }
    ~DebugLineCounter() { qInstallMessageHandler(s_previous); }
    DebugLineCounter(const DebugLineCounter&) = delete;
    DebugLineCounter& operator=(const DebugLineCounter&) = delete;

    int count() const { return s_count; }

private:
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (message.contains(s_text))
            ++s_count;
        if (s_previous)
            s_previous(type, context, message);
    }

    static inline QString s_text;
    static inline int s_count = 0;
    static inline QtMessageHandler s_previous = nullptr;
};

// The second of three modules fails in one of the ways a module can: the queue goes on, and the log
// says why.
struct SecondModuleFailure {
    const char* name;
    QVector<int> expected;
    const char* logged; // a pattern
};

class QueueFailureTest : public InstallRun, public testing::WithParamInterface<SecondModuleFailure>
{
};

} // namespace

TEST_P(QueueFailureTest, TheSecondOfThreeFailsAndTheThirdIsInstalled)
{
    const DebugLog log(env);
    const QByteArray failure = GetParam().name;
    MODULEINFO* first = installModule("First", {{"first.pkg", "package"}});
    MODULEINFO* second = nullptr;
    if (failure == "missing on the server") {
        second = module("Second", "/Second.vzip");
    } else if (failure == "MD5 mismatch") {
        second = installModule("Second", {{"second.pkg", "package"}});
        second->md5 = QCryptographicHash::hash("another package", QCryptographicHash::Md5).toHex().toStdString();
    } else {
        second = installModule("Second", {{"second.pkg", "#standin\nexit=3\n"}});
    }
    MODULEINFO* third = installModule("Third", {{"third.pkg", "package"}});
    startQueue({first, second, third});

    ASSERT_TRUE(waitForProgress("Third", 100));
    EXPECT_EQ(progressOf("First"), kInstalled);
    EXPECT_EQ(progressOf("Second"), GetParam().expected);
    EXPECT_EQ(progressOf("Third"), kInstalled);
    EXPECT_EQ(recordedPackages(), (QStringList{"first.pkg", "third.pkg"}));
    for (const char* path : {"/First.vzip", "/Second.vzip", "/Third.vzip"})
        EXPECT_EQ(server.requestsFor(path).size(), 1) << path;
    EXPECT_EQ(startedModules, (QStringList{"First", "Second", "Third"}));
    EXPECT_TRUE(log.text().contains(QRegularExpression(GetParam().logged))) << log.text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Failures, QueueFailureTest,
    testing::Values(
        SecondModuleFailure{"missing on the server", {-1}, "skip module Second: the download failed: .*status 404"},
        SecondModuleFailure{"MD5 mismatch", {-1}, "skip module Second: the package does not match its MD5: its MD5 is "},
        SecondModuleFailure{"installer exit 3", kInstallFailed,
                            "install of Second failed: .*/second\\.pkg: the installer ended with exit code 3"}));

TEST_F(InstallRun, WithoutAnInstallerProgramEveryModuleFailsAndTheQueueEnds)
{
    QFile::remove(InstallerPrograms::installerProgram());
    MODULEINFO* first = installModule("First", {{"first.pkg", "package"}});
    MODULEINFO* second = installModule("Second", {{"second.pkg", "package"}});
    startQueue({first, second});
    ASSERT_TRUE(waitForProgress("Second", -1));
    EXPECT_EQ(progressOf("First"), kInstallFailed);
    EXPECT_EQ(progressOf("Second"), kInstallFailed);

    // Outside a system root there is no Installer at all: the start fails at once.
    qunsetenv("KELVRIN_SYSTEM_ROOT");
    startQueue({installModule("Rootless", {{"rootless.pkg", "package"}})});
    ASSERT_TRUE(waitForProgress("Rootless", -1));
    EXPECT_EQ(progressOf("Rootless"), kInstallFailed);
}

TEST_F(InstallRun, TheInstallersOfOnePackageRunTogetherAndEndTheModuleOnce)
{
    struct Case {
        const char* title;
        QByteArray secondInstaller;
        QVector<int> expected;
    } cases[] = {
        {"Both", "#standin\nhold=/tmp/release-late\n", kInstalled},
        {"OneFails", "#standin\nhold=/tmp/release-late\nexit=3\n", kInstallFailed},
    };
    const QString releaseEarly = env.systemFile("/tmp/release-early");
    const QString releaseLate = env.systemFile("/tmp/release-late");
    for (const Case& c : cases) {
        installProgress.clear();
        startedModules.clear();
        QDir(downloadFolder()).removeRecursively();
        QFile::remove(StandinLog::installerLogPath());
        QFile::remove(releaseEarly);
        QFile::remove(releaseLate);
        DebugLineCounter ends("Finished install");
        MODULEINFO* pair = installModule(c.title, {{"early.pkg", "#standin\nhold=/tmp/release-early\n"},
                                                   {"late.pkg", c.secondInstaller}});
        MODULEINFO* after = module("After", "/after.vzip");
        startQueue({pair, after});

        // Both run at once, and the module waits for the later one.
        ASSERT_TRUE(QTest::qWaitFor([this] { return installerLines("start").size() == 2; }, kWaitBoundMs)) << c.title;
        IsolatedEnvironment::writeFile(releaseEarly, "");
        ASSERT_TRUE(QTest::qWaitFor([&ends] { return ends.count() == 1; }, kWaitBoundMs)) << c.title;
        EXPECT_EQ(progressOf(c.title), (QVector<int>{0, 20})) << c.title << ": ended before its second installer";
        IsolatedEnvironment::writeFile(releaseLate, "");
        ASSERT_TRUE(waitForProgress("After", -1, 30000)) << c.title;
        EXPECT_EQ(progressOf(c.title), c.expected) << c.title;
        EXPECT_EQ(startedModules, (QStringList{c.title, "After"})) << c.title;
        const QStringList log = StandinPrograms::installerLog();
        ASSERT_EQ(log.size(), 4) << c.title;
        EXPECT_EQ(log[0].section(' ', 1, 1), "start") << c.title;
        EXPECT_EQ(log[1].section(' ', 1, 1), "start") << c.title;
    }
}

// Installers that end together, all before the window takes the first end: each is confirmed by a
// record of its own, whatever the others recorded meanwhile, and no record confirms two of them.
TEST_F(InstallRun, InstallersThatEndTogetherAreEachConfirmedByARecordOfTheirOwn)
{
    const QByteArray held = "#standin\nhold=/tmp/release-together\n";
    struct Case {
        const char* title;
        Installers installers;
        QVector<int> expected;
    } cases[] = {
        {"Two", {{"one.pkg", held}, {"two.pkg", held}}, kInstalled},
        {"Three", {{"one.pkg", held}, {"two.pkg", held}, {"three.pkg", held}}, kInstalled},
        // The record of "a.pkg" also names "ba.pkg", which recorded nothing.
        {"OneUnrecorded", {{"a.pkg", held}, {"ba.pkg", held + "record=no\n"}}, kInstallFailed},
    };
    const QString release = env.systemFile("/tmp/release-together");
    for (const Case& c : cases) {
        installProgress.clear();
        QDir(downloadFolder()).removeRecursively();
        QFile::remove(StandinLog::installerLogPath());
        QFile::remove(release);
        const int count = c.installers.size();
        startQueue({installModule(c.title, c.installers)});
        ASSERT_TRUE(QTest::qWaitFor([&] { return installerLines("start").size() == count; }, kWaitBoundMs)) << c.title;

        IsolatedEnvironment::writeFile(release, "");
        ASSERT_TRUE(waitForInstallerEndsOutsideTheEventLoop(count)) << c.title;
        EXPECT_EQ(progressOf(c.title), (QVector<int>{0, 20})) << c.title << ": ended before its installers";

        ASSERT_TRUE(QTest::qWaitFor([&] { return progressOf(c.title).size() > 2; }, kWaitBoundMs)) << c.title;
        EXPECT_EQ(progressOf(c.title), c.expected) << c.title;
    }
}

// When both have recorded before the window takes either end, an installer whose name holds
// another's ("a.pkg" in "ba.pkg") takes its own record, not the other's.
TEST_F(InstallRun, AnInstallerWhoseNameHoldsAnothersTakesItsOwnRecord)
{
    const QString releaseLonger = env.systemFile("/tmp/release-longer");
    const QString releaseShorter = env.systemFile("/tmp/release-shorter");
    startQueue({installModule("Nested", {{"ba.pkg", "#standin\nhold=/tmp/release-longer\n"},
                                         {"a.pkg", "#standin\nhold=/tmp/release-shorter\n"}})});
    ASSERT_TRUE(QTest::qWaitFor([this] { return installerLines("start").size() == 2; }, kWaitBoundMs));

    // "ba.pkg" records and ends first; "a.pkg" records after it, before the window takes either end.
    IsolatedEnvironment::writeFile(releaseLonger, "");
    ASSERT_TRUE(waitForInstallerEndsOutsideTheEventLoop(1));
    IsolatedEnvironment::writeFile(releaseShorter, "");
    ASSERT_TRUE(waitForInstallerEndsOutsideTheEventLoop(2));
    EXPECT_EQ(recordedPackages(), (QStringList{"ba.pkg", "a.pkg"}));

    ASSERT_TRUE(QTest::qWaitFor([this] { return progressOf("Nested").size() > 2; }, kWaitBoundMs));
    EXPECT_EQ(progressOf("Nested"), kInstalled);
}

// A history kept at a fixed length drops its oldest records as each installer adds its own, moving the
// records already taken toward the front. Each installer of the package ends, and is taken by the
// window, before the next one records.
TEST_F(InstallRun, AHistoryOfFixedLengthConfirmsEveryInstallerOfThePackage)
{
    struct Case {
        const char* title;
        int earlierRecords; // in the history before the module starts
        int kept;           // the length the installers keep it at
        int installers;
    } cases[] = {
        {"OneDroppedPerRecord", 3, 3, 2},
        {"SeveralDroppedPerRecord", 4, 2, 2},
        {"ThreeInstallers", 3, 3, 3},
        {"SingleInstaller", 3, 3, 1},
    };
    const QString oldRecord = "<dict><key>date</key><date>%1</date><key>displayName</key><string>old-%2.pkg</string></dict>";
    for (const Case& c : cases) {
        installProgress.clear();
        QDir(downloadFolder()).removeRecursively();
        QFile::remove(StandinLog::installerLogPath());
        QString records;
        for (int i = 0; i < c.earlierRecords; ++i)
            records += oldRecord.arg(QDateTime::currentDateTimeUtc().addSecs(-3600).toString(Qt::ISODate)).arg(i);
        IsolatedEnvironment::writeFile(InstallerPrograms::installHistory(),
                                       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><array>" +
                                           records.toUtf8() + "</array></plist>\n");
        Installers installers;
        for (int i = 0; i < c.installers; ++i) {
            QFile::remove(env.systemFile(QString("/tmp/release-%1").arg(i)));
            installers.append({QString("installer-%1.pkg").arg(i).toUtf8(),
                               QString("#standin\nhold=/tmp/release-%1\nkeep=%2\n").arg(i).arg(c.kept).toUtf8()});
        }
        DebugLineCounter ends("Finished install");
        startQueue({installModule(c.title, installers)});
        ASSERT_TRUE(QTest::qWaitFor([&] { return installerLines("start").size() == c.installers; }, kWaitBoundMs))
            << c.title;

        for (int i = 0; i < c.installers; ++i) {
            IsolatedEnvironment::writeFile(env.systemFile(QString("/tmp/release-%1").arg(i)), "");
            ASSERT_TRUE(QTest::qWaitFor([&] { return ends.count() == i + 1; }, kWaitBoundMs)) << c.title;
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return progressOf(c.title).size() > 2; }, kWaitBoundMs)) << c.title;
        EXPECT_EQ(progressOf(c.title), kInstalled) << c.title;
        EXPECT_EQ(recordedPackages().size(), std::min(c.kept, c.earlierRecords + c.installers)) << c.title;
    }
}

// The history is written while the module's installer runs, with the dates of that moment: the
// 5-second tolerance of "fresh" must not be spent on a busy machine's earlier cases, nor on this
// case's download and unpacking. What it held before the installer started confirms nothing.
TEST_F(InstallRun, OnlyAFreshHistoryRecordNamingThePackageConfirmsIt)
{
    using History = std::function<QByteArray(const QDateTime& now)>;
    auto history = [](const QString& records) {
        return QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><array>%1</array></plist>\n")
            .arg(records)
            .toUtf8();
    };
    auto record = [](const QDateTime& date, const QString& name) {
        return QString("<dict><key>date</key><date>%1</date><key>displayName</key><string>%2</string></dict>")
            .arg(date.toString(Qt::ISODate), name);
    };
    auto fixed = [](const QByteArray& bytes) { return [bytes](const QDateTime&) { return bytes; }; };
    // Whatever the history says, the queue goes on: a history that cannot be read fails the module.
    const QString unreadable = "the install history cannot be read";
    const QString unconfirmed = "the install history has no fresh record of it";
    struct Case {
        const char* name;
        History history; // as the installer leaves it; null: no history file
        QVector<int> expected;
        QString logged;  // empty: installed
        History before;  // as it was when the installer started; null: no history file
    } cases[] = {
        {"missing", nullptr, kInstallFailed, unreadable, nullptr},
        {"malformed", fixed("<plist><array><dict>"), kInstallFailed, unreadable, nullptr},
        {"root not plist", fixed("<array><dict><string>checked.pkg</string></dict></array>"), kInstallFailed,
         unreadable, nullptr},
        {"empty array", fixed(history("")), kInstallFailed, unconfirmed, nullptr},
        {"empty string", fixed(history("<dict><key>displayName</key><string/></dict>")), kInstallFailed, unconfirmed,
         nullptr},
        {"newest names it", [&](const QDateTime& now) { return history(record(now, "checked.pkg")); }, kInstalled, "",
         nullptr},
        {"a later record follows it",
         [&](const QDateTime& now) { return history(record(now, "checked.pkg") + record(now, "other.pkg")); },
         kInstalled, "", nullptr},
        {"newest names it, undated", fixed(history("<dict><string>checked.pkg</string></dict>")), kInstalled, "",
         nullptr},
        {"newest names it, stale",
         [&](const QDateTime& now) { return history(record(now.addSecs(-3600), "checked.pkg")); }, kInstallFailed,
         unconfirmed, nullptr},
        {"rewritten shorter since the start",
         [&](const QDateTime& now) { return history(record(now, "checked.pkg")); }, kInstalled, "",
         [&](const QDateTime& now) { return history(record(now, "one.pkg") + record(now, "two.pkg")); }},
        {"rewritten at its length since the start, the oldest record dropped",
         [&](const QDateTime& now) { return history(record(now, "two.pkg") + record(now, "checked.pkg")); },
         kInstalled, "",
         [&](const QDateTime& now) { return history(record(now, "one.pkg") + record(now, "two.pkg")); }},
        {"only a record from before the start names it",
         [&](const QDateTime& now) { return history(record(now, "checked.pkg") + record(now, "other.pkg")); },
         kInstallFailed, unconfirmed, [&](const QDateTime& now) { return history(record(now, "checked.pkg")); }},
    };
    const DebugLog log(env);
    const QString release = env.systemFile("/tmp/release-checked");
    for (const Case& c : cases) {
        const int logBefore = log.text().size();
        installProgress.clear();
        startedModules.clear();
        QDir(downloadFolder()).removeRecursively();
        QFile::remove(StandinLog::installerLogPath());
        QFile::remove(release);
        QFile::remove(InstallerPrograms::installHistory());
        QObject caseScope;
        // A record kept from before the start keeps its date.
        QDateTime beforeStart;
        if (c.before) {
            QObject::connect(window.get(), &DlgDownload::SignalInstallProgress, &caseScope,
                             [&c, &beforeStart](const QString& title, int value) {
                                 if (title != "Checked" || value != 20)
                                     return;
                                 beforeStart = QDateTime::currentDateTimeUtc();
                                 IsolatedEnvironment::writeFile(InstallerPrograms::installHistory(),
                                                                c.before(beforeStart));
                             });
        }
        MODULEINFO* checked =
            installModule("Checked", {{"checked.pkg", "#standin\nhold=/tmp/release-checked\nrecord=no\n"}});
        MODULEINFO* next = module("Next", "/next.vzip");
        startQueue({checked, next});
        ASSERT_TRUE(QTest::qWaitFor([this] { return !installerLines("start").isEmpty(); }, kWaitBoundMs)) << c.name;
        if (c.history)
            IsolatedEnvironment::writeFile(InstallerPrograms::installHistory(),
                                           c.history(c.before ? beforeStart : QDateTime::currentDateTimeUtc()));
        else
            QFile::remove(InstallerPrograms::installHistory());
        IsolatedEnvironment::writeFile(release, "");

        ASSERT_TRUE(waitForProgress("Next", -1, 30000)) << c.name;
        EXPECT_EQ(progressOf("Checked"), c.expected) << c.name;
        const QString logged = log.text().mid(logBefore);
        const QRegularExpression failure("install of Checked failed: .*/checked\\.pkg: (.*)\n");
        EXPECT_EQ(failure.match(logged).captured(1), c.logged) << c.name << "\n" << logged.toStdString();
    }
}

// A package that cannot be installed fails its module, says why, and the queue goes on.
TEST_F(InstallRun, AFailureOfThePackageItselfIsReportedAndTheQueueGoesOn)
{
    const DebugLog log(env);
    const QByteArray noEntries = VzipFixture().file("Setup.xml", "<setup><other name=\"x.pkg\"/></setup>").package();
    struct Case {
        const char* name;
        QByteArray body;
        QVector<int> expected;
        QString logged;
    } cases[] = {
        {"not a package", "this is not a Vzip package", {0, -1}, "Uncompress Failed: "},
        {"no Setup.xml", VzipFixture().file("x.pkg", "package").package(), kInstallFailed, "lists no installer"},
        {"Setup.xml without entries", noEntries, kInstallFailed, "lists no installer"},
        {"Setup.xml is garbage", VzipFixture().file("Setup.xml", "\x01\x02<<<&&&").package(), kInstallFailed,
         "lists no installer"},
        {"Setup.xml cut short",
         VzipFixture().file("x.pkg", "package").file("Setup.xml", "<setup><file name=\"x.pkg\"/><file na").package(),
         kInstallFailed, "lists no installer"},
    };
    for (const Case& c : cases) {
        installProgress.clear();
        startedModules.clear();
        QDir(downloadFolder()).removeRecursively();
        const QString file = QString(c.name).replace(' ', '-') + ".vzip";
        MODULEINFO* broken = announcedModule(c.name, "/" + file, c.body);
        MODULEINFO* next = module("Next", "/next.vzip");
        if (c.expected.size() == 2)
            answerNextMessageBox(QMessageBox::Ok);
        startQueue({broken, next});
        ASSERT_TRUE(waitForProgress("Next", -1)) << c.name;
        EXPECT_EQ(progressOf(c.name), c.expected) << c.name;
        EXPECT_EQ(startedModules, (QStringList{c.name, "Next"})) << c.name;
        EXPECT_TRUE(log.text().contains(QRegularExpression(c.logged + ".*" + QRegularExpression::escape(file))))
            << c.name;
    }
    EXPECT_TRUE(log.text().contains("Uncompress Failed: " + downloadFolder() +
                                    "/not-a-package.vzip: not a Vzip package: it does not begin with the magic number"))
        << log.text().toStdString();
    EXPECT_TRUE(installerLines("start").isEmpty());
}

// Without a digest from the service, a package of the announced size counts as downloaded. One that
// does not unpack, or whose installer list is no good, goes, so the next run fetches the package
// again and installs it once the service has mended it; a package named from elsewhere stays where
// it is.
TEST_F(InstallRun, APackageThatIsNoGoodIsFetchedAgainByTheNextRun)
{
    const QByteArray listed = "<setup><file name=\"mended.pkg\"/></setup>";
    const auto withList = [](const QByteArray& list) {
        return VzipFixture().file("mended.pkg", "package").file("Setup.xml", list);
    };
    // Every package below is as large as the mended one, which the service announces.
    const int announcedSize = 8 * 1000;
    const QByteArray good = withList(listed).packageOfSize(announcedSize);
    ASSERT_FALSE(good.isEmpty());
    const auto flipped = [](QByteArray bytes, int at) {
        bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
        return bytes;
    };
    const int lzmaLength = static_cast<int>(qFromLittleEndian<quint32>(good.constData() + 16));
    QByteArray badProperties = good.mid(28, lzmaLength);
    badProperties[0] = static_cast<char>(9 * 5 * 5); // lc/lp/pb beyond their ranges
    const struct {
        const char* name;
        QByteArray served;
        bool warned; // the unpacking fails, under a warning
    } cases[] = {
        {"not a package", flipped(good, 0), true},
        {"checksum", flipped(good, good.size() - 1), true},
        {"contents under a good checksum", VzipFixture::assemble(badProperties, good.mid(28 + lzmaLength)), true},
        {"no Setup.xml", VzipFixture().file("mended.pkg", "package").packageOfSize(announcedSize), false},
        {"Setup.xml a folder",
         VzipFixture().folder("Setup.xml/").file("mended.pkg", "package").packageOfSize(announcedSize), false},
        {"Setup.xml cut short", withList(listed.left(28)).packageOfSize(announcedSize), false},
        {"Setup.xml not well-formed", withList("<setup><file name=\"mended.pkg\"></setup>").packageOfSize(announcedSize),
         false},
        {"Setup.xml too large",
         withList("<setup><file name=\"mended.pkg\"/>" + QByteArray(4 * 1024 * 1024, ' ') + "</setup>")
             .packageOfSize(announcedSize),
         false},
        {"Setup.xml lists no installer",
         withList("<setup><other name=\"mended.pkg\"/></setup>").packageOfSize(announcedSize), false},
        {"Setup.xml lists an installer the package lacks",
         withList("<setup><file name=\"mended.pkg\"/><file name=\"absent.pkg\"/></setup>").packageOfSize(announcedSize),
         false},
        {"Setup.xml lists more installers than a package holds",
         withList("<setup>" + QByteArray("<file name=\"mended.pkg\"/>").repeated(257) + "</setup>")
             .packageOfSize(announcedSize),
         false},
        // The package itself, in the download folder, is a file outside the package.
        {"Setup.xml lists an installer outside the package",
         withList("<setup><file name=\"mended.pkg\"/><file name=\"../../Mended.vzip\"/></setup>")
             .packageOfSize(announcedSize),
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.served.size(), good.size());
        const int requestsBefore = server.requestsFor("/Mended.vzip").size();
        installProgress.clear();
        MODULEINFO* damaged = module("Mended", "/Mended.vzip", c.served);
        damaged->size = QString("%1B").arg(good.size()).toStdString();
        if (c.warned)
            answerNextMessageBox(QMessageBox::Ok);
        startQueue({damaged});
        ASSERT_TRUE(waitForProgress("Mended", -1));
        EXPECT_EQ(progressOf("Mended"), c.warned ? (QVector<int>{0, -1}) : kInstallFailed);
        // A package left in place would fail again below, under a warning nobody answers.
        ASSERT_FALSE(QFileInfo::exists(downloadFolder() + "/Mended.vzip"));

        installProgress.clear();
        server.setFile("/Mended.vzip", good);
        startQueue({damaged});
        ASSERT_TRUE(waitForProgress("Mended", 100));
        EXPECT_EQ(server.requestsFor("/Mended.vzip").size(), requestsBefore + 2);
        ASSERT_TRUE(QFile::remove(downloadFolder() + "/Mended.vzip"));
    }
    EXPECT_EQ(recordedPackages().size(), static_cast<int>(std::size(cases)));

    for (const auto& c : {cases[1], cases[3]}) {
        SCOPED_TRACE(c.name);
        const QString named = env.root() + "/named.vzip";
        IsolatedEnvironment::writeFile(named, c.served);
        if (c.warned)
            answerNextMessageBox(QMessageBox::Ok);
        window->InstallVzip(named, downloadFolder() + "/uncompress", true, false);
        EXPECT_EQ(IsolatedEnvironment::readFile(named), c.served);
    }
}

// A disk that fills while the package is unpacked fails that module only, and is not left full.
TEST_F(InstallRun, AnUnpackingThatRunsOutOfRoomFailsItsModuleAndLeavesNothingBehind)
{
    const DebugLog log(env);
    const QByteArray weight(3 * 1000 * 1000, 'w');
    MODULEINFO* large = announcedModule("Large", "/Large.vzip",
                                        VzipFixture().file("Setup.xml", "<setup/>").file("large.bin", weight).package());
    MODULEINFO* after = installModule("After", {{"after.pkg", "package"}});
    // What the failed unpacking left, seen as it reports its end: the next module's unpacking
    // empties the unpack folders anyway.
    QStringList leftBehind;
    QObject::connect(window.get(), &DlgDownload::SignalInstallProgress, window.get(), [&](const QString& title, int value) {
        if (title != "Large" || value != -1)
            return;
        QDirIterator files(env.root(), {"large.bin", "js*_tmp"}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext())
            leftBehind.append(files.next());
    });
    answerNextMessageBox(QMessageBox::Ok);
    {
        FileSizeLimit limit(1000 * 1000);
        ASSERT_TRUE(limit.isActive());
        startQueue({large, after});
        ASSERT_TRUE(waitForProgress("After", 100, 30000));
    }
    EXPECT_EQ(progressOf("Large"), (QVector<int>{0, -1}));
    EXPECT_EQ(recordedPackages(), QStringList{"after.pkg"});
    EXPECT_TRUE(log.text().contains("jsoutfile_tmp: File too large")) << log.text().toStdString();
    EXPECT_TRUE(leftBehind.isEmpty()) << leftBehind.join('\n').toStdString();
    EXPECT_TRUE(QFileInfo::exists(downloadFolder() + "/Large.vzip")) << "the package is good, and stays for the next try";
}

// A package that fails because of this system, not of itself, stays in the download folder, and the
// next run takes it without fetching it again: want of room as the unpacker's scratch folder is made,
// an installer that fails, a user who keeps the reader open.
TEST_F(InstallRun, APackageThatFailsThroughNoFaultOfItsOwnIsKeptForTheNextRun)
{
    const DebugLog log(env);
    const struct {
        const char* name;
        int scratchFolderError; // 0: none
        bool readerKeptOpen;
        QByteArray installer;
        QVector<int> expected;
        const char* logged;
    } cases[] = {
        {"no space for the scratch folder", ENOSPC, false, "package", {0, -1}, "No space left on device"},
        {"no quota for the scratch folder", EDQUOT, false, "package", {0, -1}, "Disk quota exceeded"},
        {"an installer that ends with 3", 0, false, "#standin\nexit=3\n", kInstallFailed, "exit code 3"},
        {"the reader kept open", 0, true, "package", kInstallFailed, "Kelvrin PDF Reader was not closed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString title = QString(c.name).replace(' ', '-');
        MODULEINFO* kept = installModule(title, {{title.toUtf8() + ".pkg", c.installer}});
        installProgress.clear();
        {
            std::unique_ptr<FolderCallFault> fault;
            if (c.scratchFolderError != 0) {
                fault = std::make_unique<FolderCallFault>(env.tempDir() + "/KelvrinPagewisp", c.scratchFolderError);
                answerNextMessageBox(QMessageBox::Ok);
            }
            if (c.readerKeptOpen) {
                window->setReaderProbe([] { return true; });
                whenModalShown([](QWidget* modal) { pressButton(modal, "pushButton_cancel"); });
            }
            startQueue({kept});
            ASSERT_TRUE(waitForProgress(title, -1));
            window->setReaderProbe([] { return false; });
        }
        EXPECT_EQ(progressOf(title), c.expected);
        EXPECT_TRUE(log.text().contains(c.logged)) << log.text().toStdString();
        ASSERT_TRUE(QFileInfo::exists(downloadFolder() + "/" + title + ".vzip"));

        installProgress.clear();
        startQueue({kept});
        ASSERT_TRUE(waitForProgress(title, c.installer == "package" ? 100 : -1));
        EXPECT_EQ(server.requestsFor("/" + title + ".vzip").size(), 1);
    }
    EXPECT_EQ(log.text().count("the package is kept for the next try: the disk has no room to unpack it"), 2);
}

// Checking and unpacking read the whole package, which takes half a minute for a gigabyte: the
// windows' events go on meanwhile. The package here is a pipe that only the event loop feeds.
TEST_F(InstallRun, ThePackageIsCheckedAndUnpackedWhileTheEventLoopGoesOn)
{
    const QByteArray junk = "neither a package nor its digest";
    ASSERT_TRUE(QDir().mkpath(downloadFolder()));
    {
        // A package already in the download folder, of the announced size, whose digest is read.
        MODULEINFO* piped = module("Piped", "/Piped.vzip");
        piped->size = "0B";
        piped->md5 = QCryptographicHash::hash("the package", QCryptographicHash::Md5).toHex().toStdString();
        PipedPackage package(downloadFolder() + "/Piped.vzip", junk, 2000);
        ASSERT_TRUE(package.isMade());
        startQueue({piped});
        ASSERT_TRUE(waitForProgress("Piped", -1));
        EXPECT_TRUE(package.fedByTheEventLoop()) << "the digest was read with the event loop held up";
        EXPECT_EQ(server.requestsFor("/Piped.vzip").size(), 1);
    }
    {
        PipedPackage package(downloadFolder() + "/Unpacked.vzip", junk, 2000);
        ASSERT_TRUE(package.isMade());
        installProgress.clear();
        answerNextMessageBox(QMessageBox::Ok);
        window->InstallVzip(downloadFolder() + "/Unpacked.vzip", downloadFolder() + "/uncompress", true, false);
        EXPECT_TRUE(package.fedByTheEventLoop()) << "the package was unpacked with the event loop held up";
        EXPECT_EQ(progressOf("Piped"), (QVector<int>{0, -1}));
    }
}

TEST_F(InstallRun, ADownloadFolderThatCannotBeMadeFailsEveryModuleWithItsCause)
{
    const DebugLog log(env);
    IsolatedEnvironment::writeFile(downloadFolder(), "a file where the folder belongs");
    MODULEINFO* first = installModule("First", {{"first.pkg", "package"}});
    MODULEINFO* second = installModule("Second", {{"second.pkg", "package"}});
    startQueue({first, second});
    EXPECT_EQ(progressOf("First"), QVector<int>{-1});
    EXPECT_EQ(progressOf("Second"), QVector<int>{-1});
    EXPECT_EQ(startedModules, (QStringList{"First", "Second"}));
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_EQ(log.text().count("can not make path for store the downloads: " + downloadFolder() + ": Not a directory"), 2)
        << log.text().toStdString();
    EXPECT_TRUE(log.text().contains("skip module Second: the download folder cannot be made: Not a directory"));
}

TEST_F(InstallRun, InstallModeHandsThePackageToOpenWithoutTheFrontStep)
{
    startRun("-install");
    MODULEINFO* viaOpen = installModule("ViaOpen", {{"via-open.pkg", "package"}});
    startQueue({viaOpen});
    ASSERT_TRUE(StandinPrograms::waitForInstallerEnds(1));
    ASSERT_TRUE(waitForProgress("ViaOpen", 100));
    EXPECT_EQ(progressOf("ViaOpen"), kInstalled);
    QTest::qWait(100);
    const QStringList openLog = StandinPrograms::openLog();
    ASSERT_EQ(openLog.size(), 1);
    EXPECT_EQ(openLog[0].section(' ', 1, 1), "open");
    EXPECT_TRUE(openLog[0].endsWith("/via-open.pkg"));
}

// The install mode's packages have no title: the log names a package that fails by its path.
TEST_F(InstallRun, InstallModeNamesAFailedPackageByItsPath)
{
    const DebugLog log(env);
    startRun("-install");
    // Without an Installer, "open" has nothing to hand the package to.
    QFile::remove(InstallerPrograms::installerProgram());
    const QString package = downloadFolder() + "/Named.vzip";
    IsolatedEnvironment::writeFile(package, installPackage({{"named.pkg", "package"}}));
    DlgDownload worker(nullptr);
    QVector<int> progress;
    QObject::connect(&worker, &DlgDownload::SignalInstallProgress,
                     [&](const QString&, int value) { progress.append(value); });
    worker.InstallVzip(package, downloadFolder() + "/uncompress", true, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress.contains(-1); }, kWaitBoundMs));
    const QString failure = "install of " + QRegularExpression::escape(package) +
                            " failed: .*/named\\.pkg: the installer ended with exit code 1";
    EXPECT_TRUE(log.text().contains(QRegularExpression(failure))) << log.text().toStdString();
}

TEST_F(InstallRun, NormalModeBringsTheInstallerForwardOncePerStart)
{
    MODULEINFO* first = installModule("First", {{"first.pkg", "#standin\nhold=/tmp/release-first\n"}});
    MODULEINFO* second = installModule("Second", {{"second.pkg", "#standin\nhold=/tmp/release-second\n"}});
    startQueue({first, second});
    auto fronts = [] { return StandinPrograms::linesWith(StandinPrograms::openLog(), "front").size(); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return fronts() == 1; }, 30000));
    IsolatedEnvironment::writeFile(env.systemFile("/tmp/release-first"), "");
    ASSERT_TRUE(QTest::qWaitFor([&] { return fronts() == 2; }, kWaitBoundMs));
    IsolatedEnvironment::writeFile(env.systemFile("/tmp/release-second"), "");
    ASSERT_TRUE(waitForProgress("Second", 100));
    const QStringList openLog = StandinPrograms::openLog();
    EXPECT_EQ(StandinPrograms::linesWith(openLog, "front").size(), 2);
    EXPECT_EQ(openLog.size(), 2);
}

TEST_F(InstallRun, AHangingFrontStepIsCutOff)
{
    const QString open = InstallerPrograms::openProgram();
    QFile::remove(open);
    IsolatedEnvironment::writeFile(open, "#!/bin/sh\nexec sleep 20\n");
    QFile(open).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    window->setTimerIntervals(50, 20, 300);
    QElapsedTimer clock;
    clock.start();
    startQueue({installModule("Front", {{"front.pkg", "#standin\ndelay=100\n"}})});
    ASSERT_TRUE(waitForProgress("Front", 100));
    EXPECT_LT(clock.elapsed(), 10000);
}

TEST_F(InstallRun, TheReaderPromptRepeatsWhileTheReaderRuns)
{
    int stillRunning = 2;
    int prompts = 0;
    window->setReaderProbe([&] { return stillRunning-- > 0; });
    std::function<void(QWidget*)> retry = [&](QWidget* modal) {
        ++prompts;
        EXPECT_EQ(modal->objectName(), "DlgMessage");
        EXPECT_TRUE(modal->findChild<QLabel*>("label")->text().contains("close Kelvrin PDF Reader"));
        EXPECT_EQ(modal->findChild<QPushButton*>("pushButton_ok")->text(), "Retry");
        EXPECT_FALSE(modal->findChild<QPushButton*>("pushButton_cancel")->isHidden());
        if (prompts < 2)
            whenModalShown(retry);
        pressButton(modal, "pushButton_ok");
    };
    whenModalShown(retry);
    startQueue({installModule("Prompted", {{"prompted.pkg", "package"}})});
    ASSERT_TRUE(waitForProgress("Prompted", 100));
    EXPECT_EQ(prompts, 2);
    EXPECT_EQ(progressOf("Prompted"), kInstalled);
}

TEST_F(InstallRun, CancellingTheReaderPromptSkipsTheModule)
{
    const DebugLog log(env);
    window->setReaderProbe([] { return true; });
    MODULEINFO* cancelled = installModule("Cancelled", {{"cancelled.pkg", "package"}});
    MODULEINFO* service = installModule("Service", {{"service.pkg", "package"}});
    service->module_type = "service";
    whenModalShown([](QWidget* modal) { pressButton(modal, "pushButton_cancel"); });
    startQueue({cancelled, service});

    // A service module is installed while the reader runs: it asks nothing.
    ASSERT_TRUE(waitForProgress("Service", 100));
    EXPECT_EQ(progressOf("Cancelled"), kInstallFailed);
    EXPECT_EQ(recordedPackages(), QStringList{"service.pkg"});
    EXPECT_TRUE(log.text().contains("install of Cancelled failed: Kelvrin PDF Reader was not closed"))
        << log.text().toStdString();
}

TEST_F(InstallRun, PlugInsAreCollectedAndCopiedTogether)
{
    const QString plugins = UpdateRun::GetAppDatePath() + "SilentInstall/JavaScripts";
    IsolatedEnvironment::writeFile(plugins + "/JSkept.js", "installed before");
    MODULEINFO* first = announcedModule("First plug-in", "/JSfirst.js", "first plug-in");
    MODULEINFO* kept = announcedModule("Kept plug-in", "/JSkept.js", "newer plug-in");
    MODULEINFO* last = announcedModule("Last plug-in", "/JSlast.js", "last plug-in");
    startQueue({first, kept, last});

    ASSERT_TRUE(waitForProgress("Last plug-in", 100));
    EXPECT_EQ(progressOf("First plug-in"), QVector<int>{100});
    EXPECT_EQ(progressOf("Kept plug-in"), QVector<int>{100});
    EXPECT_EQ(IsolatedEnvironment::readFile(plugins + "/JSfirst.js"), "first plug-in");
    EXPECT_EQ(IsolatedEnvironment::readFile(plugins + "/JSkept.js"), "installed before");
    EXPECT_EQ(IsolatedEnvironment::readFile(plugins + "/JSlast.js"), "last plug-in");
    EXPECT_TRUE(QDir(downloadFolder()).entryList({"JS*"}).isEmpty());
}

TEST_F(InstallRun, APlugInBeforeAnInstalledModuleIsCopiedWhenTheQueueEnds)
{
    const QString plugins = UpdateRun::GetAppDatePath() + "SilentInstall/JavaScripts";
    MODULEINFO* plugin = announcedModule("Plug-in", "/JSplugin.js", "a plug-in");
    MODULEINFO* package = installModule("Package", {{"package.pkg", "package"}});
    startQueue({plugin, package});
    ASSERT_TRUE(waitForProgress("Plug-in", 100));
    EXPECT_EQ(progressOf("Package"), kInstalled);
    EXPECT_EQ(IsolatedEnvironment::readFile(plugins + "/JSplugin.js"), "a plug-in");
}

TEST_F(InstallRun, CopyingPlugInsLeavesAnInstalledOneAndRemovesTheDownloadAllTheSame)
{
    const QString plugins = UpdateRun::GetAppDatePath() + "SilentInstall/JavaScripts";
    IsolatedEnvironment::writeFile(plugins + "/JSone.js", "installed");
    IsolatedEnvironment::writeFile(downloadFolder() + "/JSone.js", "downloaded");
    IsolatedEnvironment::writeFile(downloadFolder() + "/JStwo.js", "downloaded two");
    EXPECT_FALSE(window->copyJSPlugin());
    EXPECT_EQ(IsolatedEnvironment::readFile(plugins + "/JSone.js"), "installed");
    EXPECT_EQ(IsolatedEnvironment::readFile(plugins + "/JStwo.js"), "downloaded two");
    EXPECT_TRUE(QDir(downloadFolder()).entryList({"JS*"}).isEmpty());
    EXPECT_TRUE(window->copyJSPlugin());
}

TEST_F(InstallRun, APlugInThatCannotBeCopiedSaysWhy)
{
    const DebugLog log(env);
    // A file where the plug-ins' folder goes.
    IsolatedEnvironment::writeFile(UpdateRun::GetAppDatePath() + "SilentInstall/JavaScripts", "in the way");
    IsolatedEnvironment::writeFile(downloadFolder() + "/JSone.js", "downloaded");
    EXPECT_FALSE(window->copyJSPlugin());
    EXPECT_TRUE(log.text().contains("copy of plug-in JSone.js failed: the folder cannot be made: "))
        << log.text().toStdString();
}

TEST_F(InstallRun, TheWindowMayGoWhileAnInstallerRuns)
{
    startQueue({installModule("Orphan", {{"orphan.pkg", "#standin\nhold=/tmp/release-orphan\n"}})});
    ASSERT_TRUE(QTest::qWaitFor([this] { return !installerLines("start").isEmpty(); }, kWaitBoundMs));
    window.reset();
    IsolatedEnvironment::writeFile(env.systemFile("/tmp/release-orphan"), "");
    ASSERT_TRUE(StandinPrograms::waitForInstallerEnds(1));
    QTest::qWait(100);
    EXPECT_EQ(recordedPackages(), QStringList{"orphan.pkg"});
    EXPECT_EQ(installProgress.size(), 2);
}

TEST_F(InstallRun, AStalledSilentTransferEndsItsModule)
{
    MODULEINFO* silent = stallingSilentModule();
    MODULEINFO* next = installModule("Next", {{"next.pkg", "package"}});
    window->setTransferTimerIntervals(300, 100);
    startQueue({silent, next});
    ASSERT_TRUE(waitForProgress("Next", 100));
    EXPECT_EQ(progressOf("Silent"), QVector<int>{-1});
}

TEST_F(InstallRun, TheWindowMayGoDuringAWaitedTransfer)
{
    MODULEINFO* silent = stallingSilentModule();
    QTimer::singleShot(200, [this] { window.reset(); });
    DlgDownload* worker = window.get();
    worker->setSelectUpdates({silent});
    worker->startShowDownload();
    EXPECT_FALSE(window);
    QTest::qWait(50);
}
