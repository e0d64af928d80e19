#include "IsolatedEnvironment.h"
#include "ReaderBundle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

struct BundleFile {
    const char* relativePath; // from the updater's own "Contents" folder
    const char* content;
};

struct BundleCase {
    const char* name;
    std::vector<BundleFile> files;
    int language;
    const char* packageType;
    const char* languageCode;
};

class Bundle : public IsolatedTest, public testing::WithParamInterface<BundleCase>
{
protected:
    QString contents() const { return bundle.updaterContents(); }

    QStringList runInBundle(int language) const
    {
        if (!bundle.install(UPDATER_APP_PROBE))
            return {"copy failed"};
        return bundle.run({"bundle", QString::number(language)});
    }

    const ReaderBundle bundle{env.root() + "/Applications"};
};

TEST_P(Bundle, PackageTypeChoosesTheLanguageTable)
{
    for (const BundleFile& file : GetParam().files)
        IsolatedEnvironment::writeFile(QDir::cleanPath(contents() + "/" + file.relativePath), file.content);

    EXPECT_EQ(runInBundle(GetParam().language),
              (QStringList{GetParam().packageType, GetParam().languageCode, ""}));
}

const char* const kChina = "<?xml version=\"1.0\"?><packagetype name=\"zh-CN\"/>";
const char* const kJapan = "<packagetype name=\"ja-JP\"></packagetype>";

INSTANTIATE_TEST_SUITE_P(
    Layouts, Bundle,
    testing::Values(
        BundleCase{"NoFile", {}, 42, "", "de-DE"},
        BundleCase{"ChinaReduced", {{"Resources/packagetype.xml", kChina}}, 42, "zh-CN", "en-US"},
        BundleCase{"ChinaChinese", {{"Resources/packagetype.xml", kChina}}, 25, "zh-CN", "zh-CN"},
        BundleCase{"JapanInTheReaderResources", {{"../../../Resources/packagetype.xml", kJapan}}, 59, "ja-JP", "ja-JP"},
        BundleCase{"FirstWinsEvenWhenBroken",
                   {{"Resources/packagetype.xml", "<packagetype name="}, {"../../../Resources/packagetype.xml", kJapan}},
                   59,
                   "",
                   "ja-JP"},
        BundleCase{"RootWithoutName", {{"Resources/packagetype.xml", "<packagetype/>"}}, 66, "", "ko-KR"},
        BundleCase{"OtherType", {{"Resources/packagetype.xml", "<x name=\"en-US\"/>"}}, 111, "en-US", "es-419"}),
    [](const testing::TestParamInfo<BundleCase>& info) { return info.param.name; });

} // namespace

namespace {

TEST(TranslationPaths, FollowThePackageTypesLanguageTable)
{
    IsolatedEnvironment env;
    const ReaderBundle bundle(env.root() + "/Applications");
    ASSERT_TRUE(bundle.install(UPDATER_APP_PROBE));
    const QString base = QFileInfo(bundle.executable()).canonicalPath() + "/../../../..";
    const struct {
        const char* packageType; // null: no package type file
        int language;
        const char* code; // null: the table has no row for the language
    } cases[] = {
        {nullptr, 42, "de-DE"},
        {nullptr, 31, "en-US"},
        {nullptr, 1000, nullptr},
        {"zh-CN", 25, "zh-CN"},
        {"zh-CN", 42, nullptr},
        {"ja-JP", 59, "ja-JP"},
        {"ja-JP", 25, nullptr},
    };
    for (const auto& c : cases) {
        const QString packageTypeFile = bundle.resources() + "/packagetype.xml";
        QFile::remove(packageTypeFile);
        if (c.packageType)
            IsolatedEnvironment::writeFile(packageTypeFile,
                                           QString("<packagetype name=\"%1\"/>").arg(c.packageType).toUtf8());
        const QString label = QString("%1 %2").arg(c.packageType ? c.packageType : "none").arg(c.language);

        const QStringList output = bundle.run({"translations", QString::number(c.language)});
        ASSERT_EQ(output.size(), 3) << label.toStdString();
        if (!c.code) {
            EXPECT_EQ(output[0], "") << label.toStdString();
            EXPECT_EQ(output[1], base) << label.toStdString();
            continue;
        }
        const QString code = c.code;
        EXPECT_EQ(output[0], base + "//lang/" + code + "/pagewisp_" + code + ".qm") << label.toStdString();
        EXPECT_EQ(output[1], base + "/lang/" + code + "/qt_" + code + ".qm") << label.toStdString();
        EXPECT_EQ(QDir::cleanPath(output[0]), QFileInfo(bundle.contents()).canonicalFilePath() + "/lang/" + code + "/pagewisp_" +
                                                  code + ".qm")
            << label.toStdString();
    }
}

} // namespace
