// The widget library's translation against Qt's own: the first load of a module, lookups after it,
// and translating a large form; beside them QTranslator loading the .qm that lrelease builds from
// the same Linguist file, and QCoreApplication::translate of the same sources.
#include "AUILibConfig.h"
#include "EncipheredFile.h"
#include "Translator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kEntries = 10000;
constexpr int kFormStrings = 2000;

QString SourceText(int i)
{
    return QStringLiteral("Source text number %1").arg(i);
}

QString TranslatedText(int i)
{
    // A third of the messages in Chinese.
    return i % 3 == 0 ? QStringLiteral("\u7ffb\u8bd1\u6587\u672c %1").arg(i) : QStringLiteral("Übersetzter Text %1").arg(i);
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray StringFile(const char* language, int entries)
{
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Strings language=\"%1\">\n<StringTable>\n")
                       .arg(QLatin1String(language));
    for (int i = 0; i < entries; ++i)
        text += QStringLiteral("<string id=\"key%1\">%2</string>\n").arg(i).arg(TranslatedText(i));
    text += QStringLiteral("</StringTable>\n</Strings>\n");
    return text.toUtf8();
}

// Messages for the form's lines first (line i + 3 holds source i), then as many more as asked.
QByteArray LinguistFile(const QString& module, int messages)
{
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
                                  "<TS version=\"2.1\" language=\"de-DE\">\n<context>\n<name>DlgLarge</name>\n");
    for (int i = 0; i < messages; ++i) {
        text += QStringLiteral("<message>\n<location filename=\"../%1/ui/large.ui\" line=\"%2\"/>\n"
                               "<source>%3</source>\n<translation>%4</translation>\n</message>\n")
                    .arg(module)
                    .arg(i + 3)
                    .arg(SourceText(i), TranslatedText(i));
    }
    text += QStringLiteral("</context>\n</TS>\n");
    return text.toUtf8();
}

QByteArray Form()
{
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n");
    for (int i = 0; i < kFormStrings; ++i)
        text += QStringLiteral("    <string>%1</string>\n").arg(SourceText(i));
    text += QStringLiteral("</ui>\n");
    return text.toUtf8();
}

// One working directory with a module "m<size>" per Linguist file size, and the .qm of the largest.
class Fixture
{
public:
    Fixture()
    {
        const std::wstring root = m_folder.path().toStdWString() + L"/";
        AUILib::SetWorkingDirPath(root);
        AUILib::SetCurrentLanguage(L"de-DE", false);
        for (int size : {1000, kEntries}) {
            const std::wstring module = L"m" + std::to_wstring(size);
            WriteFile(QString::fromStdWString(AUILib::GetStringsFilePath(module, false)), StringFile("de-DE", kEntries));
            WriteFile(QString::fromStdWString(AUILib::GetStringsFilePath(module, true)), StringFile("en-US", kEntries));
            WriteFile(QString::fromStdWString(AUILib::GetTranslationFilePath(module)),
                      LinguistFile(QString::fromStdWString(module), size));
            writeEncipheredForm(QString::fromStdWString(AUILib::GetUiDirPath(module) + L"large.ui.zr"));
        }
        m_qm = m_folder.filePath("large.qm");
        const QString ts = QString::fromStdWString(AUILib::GetTranslationFilePath(L"m10000"));
        if (QProcess::execute(QStringLiteral(KELVRIN_LRELEASE), {QStringLiteral("-silent"), ts, QStringLiteral("-qm"), m_qm}) != 0)
            qFatal("lrelease failed");
    }

    QString FormPath(int size) const
    {
        return QString::fromStdWString(AUILib::GetUiDirPath(L"m" + std::to_wstring(size)) + L"large.ui.zr");
    }
    QString QmPath() const { return m_qm; }

private:
    static void writeEncipheredForm(const QString& path) { WriteFile(path, encipheredBytes(Form())); }

    QTemporaryDir m_folder;
    QString m_qm;
};

Fixture* g_fixture = nullptr;

void FirstLoadOfAModule(benchmark::State& state)
{
    const std::wstring module = L"m" + std::to_wstring(state.range(0));
    for (auto _ : state) {
        AUILib::Translator::GetInstance().ResetStringsTable();
        benchmark::DoNotOptimize(static_cast<std::wstring>(AUILib::TrString(module, L"key1", L"")));
    }
}
BENCHMARK(FirstLoadOfAModule)->Arg(1000)->Arg(kEntries)->Unit(benchmark::kMillisecond);

void LookupsAfterTheFirstLoad(benchmark::State& state)
{
    const std::wstring module = L"m" + std::to_wstring(state.range(0));
    AUILib::Translator::GetInstance().ResetStringsTable();
    AUILib::TrString(module, L"key0", L"");
    std::vector<std::wstring> keys;
    for (int i = 0; i < kEntries; ++i)
        keys.push_back(L"key" + std::to_wstring(i));
    for (auto _ : state) {
        for (const std::wstring& key : keys)
            benchmark::DoNotOptimize(static_cast<std::wstring>(AUILib::TrString(module, key, L"")));
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(LookupsAfterTheFirstLoad)->Arg(1000)->Arg(kEntries)->Unit(benchmark::kMillisecond);

void TranslateTheLargeForm(benchmark::State& state)
{
    const std::wstring form = g_fixture->FormPath(static_cast<int>(state.range(0))).toStdWString();
    AUILib::Translator::GetInstance().ResetStringsTable();
    if (AUILib::Translator::GetInstance().TranslateUIFile(form).find(L"\u7ffb\u8bd1") == std::wstring::npos)
        state.SkipWithError("the form was not translated");
    for (auto _ : state)
        benchmark::DoNotOptimize(AUILib::Translator::GetInstance().TranslateUIFile(form));
}
BENCHMARK(TranslateTheLargeForm)->Arg(1000)->Arg(kEntries)->Unit(benchmark::kMillisecond);

void QtLoadsTheQm(benchmark::State& state)
{
    for (auto _ : state) {
        QTranslator translator;
        if (!translator.load(g_fixture->QmPath()))
            state.SkipWithError("the .qm did not load");
        benchmark::DoNotOptimize(translator.isEmpty());
    }
}
BENCHMARK(QtLoadsTheQm)->Unit(benchmark::kMillisecond);

void QtTranslatesTheSources(benchmark::State& state)
{
    QTranslator translator;
    translator.load(g_fixture->QmPath());
    QCoreApplication::installTranslator(&translator);
    std::vector<QByteArray> sources;
    for (int i = 0; i < kEntries; ++i)
        sources.push_back(SourceText(i).toUtf8());
    if (QCoreApplication::translate("DlgLarge", sources[3].constData()) != TranslatedText(3))
        state.SkipWithError("no translation");
    for (auto _ : state) {
        for (const QByteArray& source : sources)
            benchmark::DoNotOptimize(QCoreApplication::translate("DlgLarge", source.constData()));
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
    QCoreApplication::removeTranslator(&translator);
}
BENCHMARK(QtTranslatesTheSources)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    Fixture fixture;
    g_fixture = &fixture;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
