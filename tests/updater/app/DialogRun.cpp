#include "DialogRun.h"

#include <QCoreApplication>
#include <QStandardItemModel>

void DialogTestApp::ShowDownloadDlg(std::string title, bool& flag, bool a, bool b, bool c,
                                    CReaderModuleManager* engine)
{
    if (downloadList)
        downloadList(title, engine);
    else
        UpdaterApp::ShowDownloadDlg(std::move(title), flag, a, b, c, engine);
}

DialogRun::~DialogRun()
{
    m_app.reset();
    theApp = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void DialogRun::startRun(const QString& commandLine)
{
    auto parsed = std::make_unique<CSetup_CommandLine>();
    ASSERT_TRUE(parsed->ProcessCmdLine(commandLine)) << commandLine.toStdString();
    m_app = std::make_unique<DialogTestApp>(parsed.get(), nullptr);
    theApp = m_app.get();
    m_commandLine = std::move(parsed);
    m_engine = new CReaderModuleManager(QString::fromStdString(m_commandLine->GetUpdaterType()), nullptr);
    m_app->setEngine(m_engine);
}

MODULEINFO* DialogRun::offer(const std::string& type, const std::string& title, const std::string& size,
                             bool ocrPack)
{
    if (!m_app)
        startRun();
    MODULEINFO source;
    source.name = title.empty() ? type : title;
    source.module_type = type;
    source.title = title;
    source.size = size;
    source.description = "About " + title;
    source.version = "12.1.4";
    MODULEINFO* record = m_engine->CloneAvailableModuleInfo(&source);
    record->bOcrPack = ocrPack;
    return record;
}

QString DialogRun::describe(const QStandardItemModel* model, const QModelIndex& parent)
{
    QStringList rows;
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex name = model->index(row, 0, parent);
        QString text = name.data().toString();
        const QString size = model->index(row, 1, parent).data().toString();
        if (!size.isEmpty())
            text += " (" + size + ")";
        if (model->rowCount(name) > 0)
            text += "[" + describe(model, name) + "]";
        rows.append(text);
    }
    return rows.join("|");
}
