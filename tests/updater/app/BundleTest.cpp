#include "IsolatedEnvironment.h"
#include "ReaderBundle.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

struct BundleFile {
    const char* relativePath; // from the bundle's "Contents" folder
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
    QString contents() const { return bundle.contents(); }

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
        BundleCase{"JapanBesideTheBundle", {{"../../../Resources/packagetype.xml", kJapan}}, 59, "ja-JP", "ja-JP"},
        BundleCase{"FirstWinsEvenWhenBroken",
                   {{"Resources/packagetype.xml", "<packagetype name="}, {"../../../Resources/packagetype.xml", kJapan}},
                   59,
                   "",
                   "ja-JP"},
        BundleCase{"RootWithoutName", {{"Resources/packagetype.xml", "<packagetype/>"}}, 66, "", "ko-KR"},
        BundleCase{"OtherType", {{"Resources/packagetype.xml", "<x name=\"en-US\"/>"}}, 111, "en-US", "es-419"}),
    [](const testing::TestParamInfo<BundleCase>& info) { return info.param.name; });

} // namespace
