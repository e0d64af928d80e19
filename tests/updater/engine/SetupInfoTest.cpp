#include "DebugLog.h"
#include "IsolatedEnvironment.h"
#include "ReadableXmlVariants.h"
#include "engine/DlgDownload.h"

#include <QDir>

#include <memory>

namespace {

class SetupInfoTest : public IsolatedTest
{
protected:
    QVector<_SetupInfo*> parse(const QByteArray& setupXml)
    {
        IsolatedEnvironment::writeFile(folder() + "/Setup.xml", setupXml);
        QVector<_SetupInfo*> entries;
        window.ParseSetupInfo(folder(), entries);
        for (_SetupInfo* entry : entries)
            owned.emplace_back(entry);
        return entries;
    }
    QString folder() const { return env.root() + "/unpacked"; }

    DlgDownload window{nullptr};
    std::vector<std::unique_ptr<_SetupInfo>> owned;
};

} // namespace

TEST_F(SetupInfoTest, FileElementsBecomeEntriesInOrder)
{
    const QVector<_SetupInfo*> entries = parse(
        "<setup>"
        "<file name=\"a.pkg\" parameter=\"-q\" iscommon=\"TRUE\"/>"
        "<other name=\"ignored.pkg\"/>"
        "<x:file xmlns:x=\"urn:x\" name=\"b.pkg\" iscommon=\"true\"/>"
        "<file name=\"c.pkg\" iscommon=\"yes\"/>"
        "<file name=\"d.pkg\"/>"
        "</setup>");
    ASSERT_EQ(entries.size(), 4);
    const QString base = folder() + "/";
    EXPECT_EQ(entries[0]->name, base + "a.pkg");
    EXPECT_EQ(entries[0]->parameter, "-q");
    EXPECT_EQ(entries[1]->name, base + "b.pkg");
    EXPECT_EQ(entries[3]->name, base + "d.pkg");
    EXPECT_EQ(entries[3]->parameter, "");
    const bool common[] = {true, true, false, false};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(entries[i]->iscommon, common[i]) << i;
}

TEST_F(SetupInfoTest, NamesThatLeaveTheUnpackFolderAreSkipped)
{
    const QVector<_SetupInfo*> entries = parse(
        "<setup>"
        "<file name=\"../outside.pkg\"/>"
        "<file name=\"sub/../../outside.pkg\"/>"
        "<file name=\"..\"/>"
        "<file name=\"\"/>"
        "<file name=\"/absolute.pkg\"/>"
        "<file name=\"sub/../inside.pkg\"/>"
        "</setup>");
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]->name, folder() + "//absolute.pkg");
    EXPECT_EQ(entries[1]->name, folder() + "/sub/../inside.pkg");
}

TEST_F(SetupInfoTest, HostileListsGiveNoEntries)
{
    const QByteArray deep = QByteArray("<a>").repeated(200000) + "<file name=\"x.pkg\"/>";
    const QByteArray huge = "<setup>" + QByteArray("<file name=\"x.pkg\"/>").repeated(300000) + "</setup>";
    const QByteArray cases[] = {"", "\x01\x02<<<&&&", deep, huge};
    for (const QByteArray& setupXml : cases)
        EXPECT_TRUE(parse(setupXml).isEmpty()) << setupXml.left(40).toStdString();
}

// Taken as far as it could be read, a list cut short would install its first packages and count
// the module as installed.
TEST_F(SetupInfoTest, AListThatIsNotWellFormedGivesNoEntriesAndIsLogged)
{
    const QByteArray cases[] = {
        "<setup><file name=\"a.pkg\"/><file name=\"b.pkg\"/><fi",
        "<setup><file name=\"a.pkg\"/><file name=\"b.pkg\"/>",
        "<setup><file name=\"a.pkg\"/></x><file name=\"b.pkg\"/></setup>",
        "<setup><file name=\"a.pkg\"/><file name=b.pkg/></setup>",
    };
    DebugLog log(env);
    const QString logLine = "Not a well-formed XML document: " + folder() + "/Setup.xml";
    int logged = 0;
    for (const QByteArray& setupXml : cases) {
        EXPECT_TRUE(parse(setupXml).isEmpty()) << setupXml.toStdString();
        EXPECT_EQ(log.text().count(logLine), ++logged) << setupXml.toStdString();
    }
    EXPECT_EQ(parse("<setup><file name=\"a.pkg\"/></setup>\n<fi").size(), 1) << "what follows the root is not read";
}

TEST_F(SetupInfoTest, AListIsReadWhateverStandsBeforeItsRootAndInTheEncodingItDeclares)
{
    DebugLog log(env);
    for (const XmlVariant& variant :
         readableVariants("<setup><file name=\"a.pkg\" extra=\"-\"/><file name=\"b.pkg\" parameter=\"-q\"/></setup>")) {
        const QVector<_SetupInfo*> entries = parse(variant.document);
        ASSERT_EQ(entries.size(), 2) << variant.name;
        EXPECT_EQ(entries[0]->name, folder() + "/a.pkg") << variant.name;
        EXPECT_EQ(entries[1]->parameter, "-q") << variant.name;
    }
    EXPECT_FALSE(log.text().contains("Not a well-formed XML document")) << log.text().toStdString();
}

TEST_F(SetupInfoTest, AMissingListGivesNoEntriesAndAnEmptyFolderLeavesTheListAlone)
{
    QVector<_SetupInfo*> entries;
    window.ParseSetupInfo(env.root() + "/nothing-here", entries);
    EXPECT_TRUE(entries.isEmpty());
    EXPECT_TRUE(QDir(env.root() + "/nothing-here").exists());

    _SetupInfo kept;
    entries.append(&kept);
    window.ParseSetupInfo(QString(), entries);
    EXPECT_EQ(entries.size(), 1);
}
