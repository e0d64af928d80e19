#include "IsolatedEnvironment.h"
#include "PlistFileView.h"
#include "platform/PlistCodec.h"
#include "platform/PlistSettings.h"

#include <QDateTime>
#include <QPoint>
#include <QSize>
#include <QUrl>

#include <gtest/gtest.h>

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

QByteArray deeplyNestedXml(int depth)
{
    return xmlPlist("<dict><key>k</key>" + QByteArray("<array>").repeated(depth) +
                    QByteArray("</array>").repeated(depth) + "</dict>");
}

// A binary list whose every array holds the next one: header, objects, offset table, trailer.
QByteArray deeplyNestedBinary(int depth)
{
    QByteArray bytes = "bplist00";
    QVector<quint32> offsets;
    for (int i = 0; i < depth; ++i) {
        offsets.append(bytes.size());
        bytes.append(char(0xA1));
        bytes.append(char(0)).append(char(0)).append(char(0)).append(char(0));
        const quint32 next = i + 1 < depth ? quint32(i + 1) : quint32(i);
        bytes[bytes.size() - 4] = char(next >> 24);
        bytes[bytes.size() - 3] = char(next >> 16);
        bytes[bytes.size() - 2] = char(next >> 8);
        bytes[bytes.size() - 1] = char(next);
    }
    const quint64 tableOffset = bytes.size();
    for (quint32 offset : offsets)
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.append(char(offset >> shift));
    QByteArray trailer(32, '\0');
    trailer[6] = 4;
    trailer[7] = 4;
    for (int i = 0; i < 8; ++i) {
        trailer[8 + i] = char(quint64(depth) >> (56 - 8 * i));
        trailer[24 + i] = char(tableOffset >> (56 - 8 * i));
    }
    return bytes + trailer;
}

TEST_F(PlistSettings, HostileOrCorruptListsReadAsAnEmptyStoreWithAnError)
{
    const QByteArray good = xmlPlist("<dict><key>k</key><string>v</string></dict>");
    const QByteArray binaryGood = PlistFileView::xmlToBinary(good);
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"garbage", "this is not a property list"},
        {"truncated xml", good.left(good.size() / 2)},
        {"truncated binary", binaryGood.left(binaryGood.size() - 10)},
        {"binary header only", "bplist00"},
        {"not a dictionary", xmlPlist("<array><string>v</string></array>")},
        {"deep xml", deeplyNestedXml(100000)},
        {"deep binary", deeplyNestedBinary(200000)},
        {"self-referencing binary", deeplyNestedBinary(1)},
        {"huge", QByteArray(17 * 1024 * 1024, ' ') + good},
    };
    for (const auto& c : cases) {
        const QString path = file("hostile.plist");
        IsolatedEnvironment::writeFile(path, c.bytes);
        auto settings = openPlistSettings(path);
        EXPECT_EQ(settings->status(), QSettings::FormatError) << c.name;
        EXPECT_TRUE(settings->allKeys().isEmpty()) << c.name;
    }
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
    EXPECT_TRUE(Plist::toXml(QVariantList{QVariantMap{{"a", 1}}}));
}

} // namespace
