// Building a window from a form: the widget library's Dialog from an enciphered form translated
// under de-DE, against Qt's QUiLoader::load of the same plain form with a QTranslator of the same
// translations installed (the .qm that lrelease builds). The form has 300 widgets of registered
// classes and 600 translatable strings.
//
// Peak memory: `auilib_form_bench --peak=dialog` and `--peak=quiloader` build the window once in a
// fresh process and print the growth of the peak resident set that the build causes, in KiB.
#include "AUILibConfig.h"
#include "Dialog.h"
#include "EncipheredFile.h"
#include "Translator.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QUiLoader>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kPages = 30;
constexpr int kButtonsPerPage = 9; // 30 pages and 270 buttons: 300 widgets

struct FormText
{
    QByteArray form;
    QByteArray linguist;
};

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Each widget has two translatable strings, each on a line of its own, and the Linguist file a
// message for each of those lines.
FormText MakeForm()
{
    QStringList lines = {QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"), QStringLiteral("<ui version=\"4.0\">"),
                         QStringLiteral(" <class>DlgLarge</class>"),
                         QStringLiteral(" <widget class=\"QDialog\" name=\"DlgLarge\">"),
                         QStringLiteral("  <layout class=\"QVBoxLayout\" name=\"outer\">")};
    QString messages;
    int strings = 0;
    const auto translatable = [&](const QString& property, const QString& indent) {
        const QString source = QStringLiteral("Source text %1").arg(strings);
        const QString translation = QStringLiteral("Übersetzter Text %1").arg(strings++);
        lines << indent + QStringLiteral("<property name=\"%1\">").arg(property);
        lines << indent + QStringLiteral(" <string>%1</string>").arg(source);
        messages += QStringLiteral("<message>\n<location filename=\"large.ui\" line=\"%1\"/>\n<source>%2</source>\n"
                                   "<translation>%3</translation>\n</message>\n")
                        .arg(lines.size())
                        .arg(source, translation);
        lines << indent + QStringLiteral("</property>");
    };
    for (int page = 0; page < kPages; ++page) {
        lines << QStringLiteral("   <item>");
        lines << QStringLiteral("    <widget class=\"QWidget\" name=\"page%1\">").arg(page);
        translatable(QStringLiteral("toolTip"), QStringLiteral("     "));
        translatable(QStringLiteral("whatsThis"), QStringLiteral("     "));
        lines << QStringLiteral("     <layout class=\"QHBoxLayout\" name=\"row%1\">").arg(page);
        for (int button = 0; button < kButtonsPerPage; ++button) {
            lines << QStringLiteral("      <item>");
            lines << QStringLiteral("       <widget class=\"QPushButton\" name=\"button%1_%2\">").arg(page).arg(button);
            translatable(QStringLiteral("text"), QStringLiteral("        "));
            translatable(QStringLiteral("toolTip"), QStringLiteral("        "));
            lines << QStringLiteral("       </widget>") << QStringLiteral("      </item>");
        }
        lines << QStringLiteral("     </layout>") << QStringLiteral("    </widget>") << QStringLiteral("   </item>");
    }
    lines << QStringLiteral("  </layout>") << QStringLiteral(" </widget>") << QStringLiteral("</ui>");
    const QString linguist = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
                                            "<TS version=\"2.1\" language=\"de-DE\">\n<context>\n<name>DlgLarge</name>\n")
        + messages + QStringLiteral("</context>\n</TS>\n");
    return {lines.join(QLatin1Char('\n')).toUtf8() + "\n", linguist.toUtf8()};
}

// The form enciphered as module "bench"'s, its translations in place, and the .qm beside them.
class Fixture
{
public:
    Fixture()
    {
        AUILib::SetWorkingDirPath(m_folder.path().toStdWString() + L"/");
        AUILib::SetCurrentLanguage(L"de-DE", false);
        const FormText text = MakeForm();
        m_form = text.form;
        m_formPath = AUILib::GetUiDirPath(L"bench") + L"large.ui.zr";
        WriteFile(QString::fromStdWString(m_formPath), encipheredBytes(text.form));
        const QString ts = QString::fromStdWString(AUILib::GetTranslationFilePath(L"bench"));
        WriteFile(ts, text.linguist);
        m_qm = m_folder.filePath(QStringLiteral("large.qm"));
        if (QProcess::execute(QStringLiteral(KELVRIN_LRELEASE), {QStringLiteral("-silent"), ts, QStringLiteral("-qm"), m_qm})
            != 0)
            qFatal("lrelease failed");
    }

    const std::wstring& FormPath() const { return m_formPath; }
    const QByteArray& PlainForm() const { return m_form; }
    const QString& QmPath() const { return m_qm; }

private:
    QTemporaryDir m_folder;
    std::wstring m_formPath;
    QByteArray m_form;
    QString m_qm;
};

Fixture* g_fixture = nullptr;

const QString kLastText = QStringLiteral("Übersetzter Text 598");

// The last button of the form, translated.
void CheckBuilt(QWidget* window)
{
    const auto* last = window ? window->findChild<QPushButton*>(QStringLiteral("button29_8")) : nullptr;
    if (!last || last->text() != kLastText)
        qFatal("the form was not built or not translated");
}

void BuildDialog()
{
    AUILib::Dialog dialog(g_fixture->FormPath());
    CheckBuilt(dialog.GetWndPtr());
    delete dialog.GetWndPtr();
}

// With a QTranslator installed, or without.
class QtLoader
{
public:
    QtLoader() { m_translator.load(g_fixture->QmPath()); }
    ~QtLoader() { QCoreApplication::removeTranslator(&m_translator); }

    void Install() { QCoreApplication::installTranslator(&m_translator); }

    void Build()
    {
        QByteArray form = g_fixture->PlainForm();
        QBuffer buffer(&form);
        QUiLoader loader;
        std::unique_ptr<QWidget> window(loader.load(&buffer));
        CheckBuilt(window.get());
    }

private:
    QTranslator m_translator;
};

void DialogFromTranslatedForm(benchmark::State& state)
{
    BuildDialog();
    for (auto _ : state)
        BuildDialog();
}
BENCHMARK(DialogFromTranslatedForm)->Unit(benchmark::kMillisecond);

void DialogFromTranslatedFormFirstLoad(benchmark::State& state)
{
    for (auto _ : state) {
        AUILib::Translator::GetInstance().ResetStringsTable();
        BuildDialog();
    }
}
BENCHMARK(DialogFromTranslatedFormFirstLoad)->Unit(benchmark::kMillisecond);

void QUiLoaderWithTranslator(benchmark::State& state)
{
    QtLoader loader;
    loader.Install();
    loader.Build();
    for (auto _ : state)
        loader.Build();
}
BENCHMARK(QUiLoaderWithTranslator)->Unit(benchmark::kMillisecond);

void QUiLoaderWithTranslatorFirstLoad(benchmark::State& state)
{
    for (auto _ : state) {
        QtLoader loader;
        loader.Install();
        loader.Build();
    }
}
BENCHMARK(QUiLoaderWithTranslatorFirstLoad)->Unit(benchmark::kMillisecond);

long PeakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int MeasurePeak(const char* which)
{
    QtLoader loader;
    loader.Install();
    const long before = PeakKiB();
    if (std::strcmp(which, "dialog") == 0)
        BuildDialog();
    else
        loader.Build();
    std::printf("%s peak growth: %ld KiB\n", which, PeakKiB() - before);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    Fixture fixture;
    g_fixture = &fixture;
    if (argc == 2 && std::strncmp(argv[1], "--peak=", 7) == 0)
        return MeasurePeak(argv[1] + 7);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
