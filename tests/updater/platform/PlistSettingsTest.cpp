#include "BinaryPlistBuilder.h"
#include "IsolatedEnvironment.h"
#include "PlistFileView.h"
#include "platform/PlistCodec.h"
#include "platform/PlistSettings.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QPoint>
#include <QSize>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstring>

namespace {

const QChar kMiddleDot(0x00B7);

QByteArray xmlPlist(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<plist version=\"1.0\">\n" +
           body + "\n</plist>\n";
}

class PlistSettings : public IsolatedTest
{
protected:
    QString file(const char* name) const { return env.root() + "/" + name; }
};

TEST_F(PlistSettings, TopLevelKeysAreStoredRotatedAndNestedKeysAsTheyAre)
{
    const QString path = file("rotation.plist");
    {
        auto settings = openPlistSettings(path);
        settings->setValue("HKEY_CURRENT_USER/Software/Kelvrin Software/a.b" + QString(kMiddleDot) + "c", "v");
        settings->setValue("Classic", QVariantMap{{"x/y.z", "nested"}});
        settings->sync();
        ASSERT_EQ(settings->status(), QSettings::NoError);
    }
    const QString fileKey = "HKEY_CURRENT_USER.Software.Kelvrin Software.a" + QString(kMiddleDot) + "b/c";
    EXPECT_EQ(PlistFileView::topLevelKeys(path), (QStringList{"Classic", fileKey}));
    EXPECT_EQ(PlistFileView::stringAt(path, {fileKey}), "v");
    EXPECT_EQ(PlistFileView::stringAt(path, {"Classic", "x/y.z"}), "nested");
}

TEST_F(PlistSettings, ReadsAListWrittenInTheReadersOwnForm)
{
    const QString path = file("handwritten.plist");
    IsolatedEnvironment::writeFile(
        path, xmlPlist("<dict>\n"
                       "  <key>Preferences.Languages.nChooseLan</key><integer>42</integer>\n"
                       "  <key>Preferences.General.bDebugMode</key><true/>\n"
                       "  <key>a\xC2\xB7" "b/c</key><string>dotted</string>\n"
                       "  <key>Window Position</key><string>@Point(10 -20)</string>\n"
                       "  <key>Window Size</key><string>@Size(800 600)</string>\n"
                       "  <key>Escaped</key><string>@@mention</string>\n"
                       "  <key>Ratio</key><real>0.5</real>\n"
                       "  <key>Big</key><integer>8589934592</integer>\n"
                       "  <key>Stamp</key><date>2001-01-02T00:00:00Z</date>\n"
                       "  <key>Blob</key><data>AAEC</data>\n"
                       "  <key>List</key><array><string>one</string><integer>2</integer></array>\n"
                       "  <key>Map</key><dict><key>in.ner</key><string>kept</string></dict>\n"
                       "</dict>"));
    auto settings = openPlistSettings(path);
    EXPECT_EQ(settings->status(), QSettings::NoError);
    EXPECT_EQ(settings->value("Preferences/Languages/nChooseLan").toInt(), 42);
    EXPECT_EQ(settings->value("Preferences/General/bDebugMode").toBool(), true);
    EXPECT_EQ(settings->value("a.b" + QString(kMiddleDot) + "c").toString(), "dotted");
    EXPECT_EQ(settings->value("Window Position").toPoint(), QPoint(10, -20));
    EXPECT_EQ(settings->value("Window Size").toSize(), QSize(800, 600));
    EXPECT_EQ(settings->value("Escaped").toString(), "@mention");
    EXPECT_DOUBLE_EQ(settings->value("Ratio").toDouble(), 0.5);
    EXPECT_EQ(settings->value("Big").toLongLong(), 8589934592LL);
    EXPECT_EQ(settings->value("Stamp").toDateTime(), QDateTime(QDate(2001, 1, 2), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(settings->value("Blob").toByteArray(), QByteArray("\x00\x01\x02", 3));
    EXPECT_EQ(settings->value("List").toList(), (QVariantList{"one", 2}));
    EXPECT_EQ(settings->value("Map").toMap().value("in.ner").toString(), "kept");
}

TEST_F(PlistSettings, ValuesSurviveAWriteAndAReadBack)
{
    const QString path = file("roundtrip.plist");
    const QVariantMap values{
        {"text", "plain"},
        {"at", "@not a type"},
        {"number", -7},
        {"unsigned", 4294967295u},
        {"flag", false},
        {"real", 2.25},
        {"when", QDateTime(QDate(2026, 12, 10), QTime(13, 4, 5), Qt::UTC)},
        {"bytes", QByteArray("\xFF\x00z", 3)},
        {"point", QPoint(3, 4)},
        {"size", QSize(5, 6)},
        {"list", QVariantList{"a", 1, true}},
        {"map", QVariantMap{{"k", "v"}}},
    };
    {
        auto settings = openPlistSettings(path);
        for (auto entry = values.cbegin(); entry != values.cend(); ++entry)
            settings->setValue(entry.key(), entry.value());
    }
    auto settings = openPlistSettings(path);
    for (auto entry = values.cbegin(); entry != values.cend(); ++entry)
        EXPECT_EQ(settings->value(entry.key()), entry.value()) << entry.key().toStdString();
}

TEST_F(PlistSettings, ReadsBinaryLists)
{
    const QString path = file("binary.plist");
    const QByteArray binary = PlistFileView::xmlToBinary(
        xmlPlist("<dict><key>HKEY_CURRENT_USER.Software.LastDay</key><string>2026-12-11</string>"
                 "<key>Classic</key><dict><key>a/b</key><integer>3</integer></dict></dict>"));
    ASSERT_TRUE(binary.startsWith("bplist00"));
    IsolatedEnvironment::writeFile(path, binary);
    auto settings = openPlistSettings(path);
    EXPECT_EQ(settings->status(), QSettings::NoError);
    EXPECT_EQ(settings->value("HKEY_CURRENT_USER/Software/LastDay").toString(), "2026-12-11");
    EXPECT_EQ(settings->value("Classic").toMap().value("a/b").toInt(), 3);
}

QByteArray deeplyNestedXml(int depth, const QByteArray& open = "<array>")
{
    return xmlPlist("<dict><key>k</key>" + open.repeated(depth) + QByteArray("</array>").repeated(depth) + "</dict>");
}

// A binary list whose every array holds the next one; the last holds itself when `depth` is 1.
QByteArray deeplyNestedBinary(int depth)
{
    BinaryPlistBuilder list;
    for (int i = 0; i < depth; ++i)
        list.add(BinaryPlistBuilder::array({i + 1 < depth ? i + 1 : i}, 4));
    return list.build(0, 4);
}

// {"k": an array of `outer` references to one array of `inner` references to one data object of
// `size` bytes}: a few kilobytes on disk, outer * inner * size bytes once every reference is copied.
QByteArray sharedReferences(int outer, int inner, int size)
{
    BinaryPlistBuilder list;
    const int data = list.addData(size);
    const int innerArray = list.add(BinaryPlistBuilder::array(QVector<int>(inner, data), 2));
    const int outerArray = list.add(BinaryPlistBuilder::array(QVector<int>(outer, innerArray), 2));
    const int key = list.addAscii("k");
    return list.build(list.add(BinaryPlistBuilder::dictionary({key}, {outerArray}, 2)), 2);
}

// {"k": "v"} with the key or the value given as UTF-16 text.
QByteArray binaryWithUtf16(const QString& key, const QString& value)
{
    BinaryPlistBuilder list;
    const int keyObject = list.addUtf16(key);
    const int valueObject = list.addUtf16(value);
    return list.build(list.add(BinaryPlistBuilder::dictionary({keyObject}, {valueObject})));
}

QByteArray binaryWithAscii(const QByteArray& key, const QByteArray& value)
{
    BinaryPlistBuilder list;
    const int keyObject = list.addAscii(key);
    const int valueObject = list.addAscii(value);
    return list.build(list.add(BinaryPlistBuilder::dictionary({keyObject}, {valueObject})));
}

const QByteArray kGoodXml = xmlPlist("<dict><key>k</key><string>v</string></dict>");

TEST(PlistCodec, HostileOrCorruptListsAreMalformedOrRefused)
{
    using Plist::ReadStatus;
    const QByteArray binaryGood = PlistFileView::xmlToBinary(kGoodXml);
    const QByteArray nul("a\0b", 3);
    const struct {
        const char* name;
        QByteArray bytes;
        ReadStatus status;
    } cases[] = {
        {"garbage", "this is not a property list", ReadStatus::Malformed},
        {"empty", "", ReadStatus::Malformed},
        {"truncated xml", kGoodXml.left(kGoodXml.size() / 2), ReadStatus::Malformed},
        {"truncated binary", binaryGood.left(binaryGood.size() - 10), ReadStatus::Malformed},
        {"binary header only", "bplist00", ReadStatus::Malformed},
        {"binary header and garbage", "bplist00" + QByteArray(64, '\x5A'), ReadStatus::Malformed},
        {"deep xml", deeplyNestedXml(100000), ReadStatus::Refused},
        {"deep xml, blanks in the tags", deeplyNestedXml(100000, "<array >"), ReadStatus::Refused},
        {"deep xml, attributes in the tags", deeplyNestedXml(100000, "<array a=\"x\">"), ReadStatus::Refused},
        {"deep xml, closing tags hidden", deeplyNestedXml(100000, "<array><!-- </array> -->"), ReadStatus::Refused},
        {"deep xml, closing tags quoted", deeplyNestedXml(100000, "<array a=\"</array>\">"), ReadStatus::Refused},
        {"deep binary", deeplyNestedBinary(200000), ReadStatus::Refused},
        {"self-referencing binary", deeplyNestedBinary(1), ReadStatus::Refused},
        {"shared references", sharedReferences(990, 1000, 1000), ReadStatus::Refused},
        {"nul in an xml string", xmlPlist("<dict><key>k</key><string>" + nul + "</string></dict>"), ReadStatus::Refused},
        {"nul in xml character data",
         xmlPlist("<dict><key>k</key><string><![CDATA[" + nul + "]]></string></dict>"), ReadStatus::Refused},
        {"nul in an xml key", xmlPlist("<dict><key>" + nul + "</key><string>v</string></dict>"), ReadStatus::Refused},
        {"nul in a utf-16 value", binaryWithUtf16("k", QString("a") + QChar(0) + "b"), ReadStatus::Refused},
        {"nul in a utf-16 key", binaryWithUtf16(QString("a") + QChar(0) + "b", "v"), ReadStatus::Refused},
        {"nul in an ascii key", binaryWithAscii(nul, "v"), ReadStatus::Refused},
        {"nul in an ascii value", binaryWithAscii("k", nul), ReadStatus::Refused},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Plist::parseList(c.bytes).status, c.status) << c.name;
}

TEST(PlistCodec, AWritersSharedKeysAndValuesAreReadInFull)
{
    QByteArray records;
    for (int i = 0; i < 2000; ++i)
        records += "<dict><key>Name</key><string>Kelvrin PDF Reader</string><key>Enabled</key><true/>"
                   "<key>Index</key><integer>" + QByteArray::number(i) + "</integer></dict>";
    const QByteArray binary = PlistFileView::xmlToBinary(xmlPlist("<array>" + records + "</array>"));
    const auto result = Plist::parseList(binary);
    ASSERT_EQ(result.status, Plist::ReadStatus::Ok);
    const QVariantList list = result.value.toList();
    ASSERT_EQ(list.size(), 2000);
    EXPECT_EQ(list.last().toMap().value("Index").toInt(), 1999);
    EXPECT_EQ(list.last().toMap().value("Name").toString(), "Kelvrin PDF Reader");
}

// Dates reach the library's accessor as whole seconds since 2001 in 32 bits.
TEST(PlistCodec, DatesAreReadWithTheirSignAndRefusedBeyondWhatTheLibraryExpresses)
{
    BinaryPlistBuilder list;
    const double beforeEpoch = -1.5;
    quint64 bits = 0;
    std::memcpy(&bits, &beforeEpoch, sizeof bits);
    QByteArray date(1, char(0x33));
    for (int shift = 56; shift >= 0; shift -= 8)
        date.append(char(bits >> shift));
    const auto read = Plist::parseList(list.build(list.add(date)));
    ASSERT_EQ(read.status, Plist::ReadStatus::Ok);
    EXPECT_EQ(read.value.toDateTime(), QDateTime(QDate(2000, 12, 31), QTime(23, 59, 58, 500), Qt::UTC));

    EXPECT_EQ(Plist::parseList(xmlPlist("<date>4001-01-01T00:00:00Z</date>")).status, Plist::ReadStatus::Refused);
    EXPECT_FALSE(Plist::toXml(QDateTime(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC))) << "would wrap to another date";
}

TEST_F(PlistSettings, HostileOrCorruptListsReadAsAnEmptyStoreWithAnError)
{
    const QString path = file("hostile.plist");
    for (const QByteArray& bytes : {QByteArray("garbage"), deeplyNestedXml(100000), sharedReferences(990, 1000, 1000),
                                    binaryWithUtf16("k", QString("a") + QChar(0))}) {
        IsolatedEnvironment::writeFile(path, bytes);
        auto settings = openPlistSettings(path);
        EXPECT_EQ(settings->status(), QSettings::FormatError);
        EXPECT_TRUE(settings->allKeys().isEmpty());
        const PlistSettingsFile file(path);
        EXPECT_EQ(file.status(), QSettings::FormatError);
        EXPECT_FALSE(file.contains("k"));
    }
}

TEST_F(PlistSettings, AFileBeyondTheSizeBoundIsRefusedUnread)
{
    const QString path = file("huge.plist");
    QFile huge(path);
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(Plist::kMaxBytes + 1));
    huge.close();
    EXPECT_EQ(Plist::readListFile(path).status, Plist::ReadStatus::Refused);
    EXPECT_EQ(PlistSettingsFile(path).status(), QSettings::FormatError);
}

// Writing over a list that was refused, rather than found to be no list at all, would lose it.
// QSettings reports its failed read after writing, so through it nothing unread is written over.
TEST_F(PlistSettings, AWriteReplacesWhatIsNoListAndNeverWhatWasRefused)
{
    const QByteArray binaryGood = PlistFileView::xmlToBinary(kGoodXml);
    const struct {
        const char* name;
        QByteArray bytes;
        bool replaced;
    } cases[] = {
        {"garbage", "garbage", true},
        {"truncated xml", kGoodXml.left(kGoodXml.size() / 2), true},
        {"truncated binary", binaryGood.left(binaryGood.size() - 10), true},
        {"binary header and garbage", "bplist00" + QByteArray(64, '\x5A'), true},
        {"too deep", deeplyNestedXml(1000), false},
        {"shared references", sharedReferences(990, 1000, 1000), false},
        {"nul in a string", binaryWithUtf16("k", QString("a") + QChar(0)), false},
        {"not a dictionary", xmlPlist("<array><string>v</string></array>"), false},
    };
    for (const auto& c : cases) {
        const QString path = file("refused.plist");
        IsolatedEnvironment::writeFile(path, c.bytes);
        EXPECT_EQ(PlistSettingsFile(path).setValue("new", "x"), c.replaced) << c.name;
        if (c.replaced) {
            EXPECT_EQ(PlistFileView::topLevelKeys(path), QStringList{"new"}) << c.name;
        } else {
            EXPECT_EQ(IsolatedEnvironment::readFile(path), c.bytes) << c.name;
        }

        IsolatedEnvironment::writeFile(path, c.bytes);
        auto settings = openPlistSettings(path);
        settings->setValue("new", "x");
        settings->sync();
        EXPECT_NE(settings->status(), QSettings::NoError) << c.name << " through QSettings";
        EXPECT_EQ(IsolatedEnvironment::readFile(path), c.bytes) << c.name << " through QSettings, which reports failure";
    }
}

TEST_F(PlistSettings, ALargeValidListIsReadAndWrittenWhole)
{
    const QString path = file("large.plist");
    QByteArray blob(15 * 1024 * 1024, '\0');
    for (int i = 0; i < blob.size(); ++i)
        blob[i] = char(i * 7 + i / 251);
    ASSERT_TRUE(Plist::writeFile(path, QVariantMap{{"blob", blob}, {"kept", "yes"}}));
    ASSERT_GT(QFileInfo(path).size(), 20 * 1024 * 1024);

    PlistSettingsFile settings(path);
    ASSERT_EQ(settings.status(), QSettings::NoError);
    ASSERT_TRUE(settings.setValue("added", 1));
    const PlistSettingsFile reread(path);
    EXPECT_EQ(reread.value("blob").toByteArray(), blob);
    EXPECT_EQ(reread.value("kept").toString(), "yes");
    EXPECT_EQ(reread.value("added").toInt(), 1);
}

TEST_F(PlistSettings, EveryFileObjectReadsTheFileAsItIsNow)
{
    const QString path = file("current.plist");
    PlistSettingsFile first(path);
    EXPECT_EQ(first.status(), QSettings::NoError);
    ASSERT_TRUE(first.setValue("a//b/", "1"));
    EXPECT_EQ(PlistFileView::topLevelKeys(path), QStringList{"a.b"});
    ASSERT_TRUE(Plist::writeFile(path, QVariantMap{{"a.b", "2"}, {"c", "3"}}));
    EXPECT_EQ(first.value("a/b").toString(), "1");
    const PlistSettingsFile second(path);
    EXPECT_EQ(second.value("/a/b").toString(), "2");
    EXPECT_EQ(second.value("c").toString(), "3");
}

TEST_F(PlistSettings, AFailedWriteLeavesThePreviousFileByteIdentical)
{
    const QString path = file("atomic.plist");
    {
        auto settings = openPlistSettings(path);
        settings->setValue("kept", "value");
    }
    const QByteArray before = IsolatedEnvironment::readFile(path);
    ASSERT_FALSE(before.isEmpty());
    {
        auto settings = openPlistSettings(path);
        settings->setValue("unstorable", QUrl("https://example.invalid/"));
        settings->sync();
        EXPECT_EQ(settings->status(), QSettings::AccessError);
    }
    EXPECT_EQ(IsolatedEnvironment::readFile(path), before);
}

TEST_F(PlistSettings, ApplicationSettingsLiveInThePreferencesFolder)
{
    EXPECT_EQ(applicationSettingsPath("Kelvrin Software", "Kelvrin.PDF.Reader"),
              env.home() + "/Library/Preferences/com.kelvrin-software.Kelvrin.PDF.Reader.plist");
    auto settings = openApplicationSettings("Kelvrin Software", "Kelvrin.PDF.Reader");
    settings->setValue("k", "v");
    settings->sync();
    EXPECT_EQ(PlistFileView::stringAt(settings->fileName(), {"k"}), "v");
}

TEST(PlistCodec, RefusesValuesAPropertyListCannotHold)
{
    EXPECT_FALSE(Plist::toXml(QVariantMap{{"url", QUrl("https://x.invalid")}}));
    EXPECT_FALSE(Plist::toXml(QVariantMap{{"k", QString("a") + QChar(0) + "b"}})) << "would be cut short";
    EXPECT_FALSE(Plist::toXml(QVariantMap{{QString("a") + QChar(0), "v"}})) << "would be cut short";
    EXPECT_TRUE(Plist::toXml(QVariantList{QVariantMap{{"a", 1}}}));
}

} // namespace
