#include "CAppearanceObserver.h"

#include "platform/CurrentUser.h"
#include "platform/PlistCodec.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

CAppearanceMonitor::CAppearanceMonitor()
    : m_pWatcher(new QFileSystemWatcher(this))
{
}

CAppearanceMonitor::~CAppearanceMonitor() = default;

bool CAppearanceMonitor::init()
{
    connect(m_pWatcher, &QFileSystemWatcher::fileChanged, this, &CAppearanceMonitor::onFileChanged);
    connect(m_pWatcher, &QFileSystemWatcher::directoryChanged, this, &CAppearanceMonitor::onFolderChanged);
    const QString folder = QFileInfo(globalPreferencesPath()).absolutePath();
    const bool folderWatched = QFileInfo::exists(folder) && m_pWatcher->addPath(folder);
    watchListFile();
    return folderWatched || !m_pWatcher->files().isEmpty();
}

void CAppearanceMonitor::setObserver(CAppearanceObserver* observer)
{
    m_pObserver = observer;
}

bool CAppearanceMonitor::isDarkMode() const
{
    const std::optional<QVariant> list = Plist::readFile(globalPreferencesPath());
    if (!list || list->type() != QVariant::Map)
        return false;
    const QVariant style = list->toMap().value("AppleInterfaceStyle");
    return style.type() == QVariant::String && style.toString().compare("dark", Qt::CaseInsensitive) == 0;
}

void CAppearanceMonitor::updateDarkMode()
{
    if (m_pObserver)
        emit m_pObserver->signal_appearanceChanged(isDarkMode());
}

void CAppearanceMonitor::onFileChanged()
{
    watchListFile();
    updateDarkMode();
}

void CAppearanceMonitor::onFolderChanged()
{
    // Other lists in the same folder change too; only a list that appeared or was replaced counts.
    if (m_pWatcher->files().contains(globalPreferencesPath()) || !QFileInfo::exists(globalPreferencesPath()))
        return;
    watchListFile();
    updateDarkMode();
}

void CAppearanceMonitor::watchListFile()
{
    const QString path = globalPreferencesPath();
    if (QFileInfo::exists(path) && !m_pWatcher->files().contains(path))
        m_pWatcher->addPath(path);
}

CAppearanceObserver::CAppearanceObserver(QObject* parent)
    : QObject(parent)
    , m_pMonitor(std::make_unique<CAppearanceMonitor>())
{
    m_pMonitor->init();
    m_pMonitor->setObserver(this);
}

CAppearanceObserver::~CAppearanceObserver() = default;

bool CAppearanceObserver::isDarkMode() const
{
    return m_pMonitor->isDarkMode();
}
