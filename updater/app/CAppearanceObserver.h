#pragma once

#include <QObject>

#include <memory>

class CAppearanceObserver;
class QFileSystemWatcher;

// Reads the user's appearance choice from the global defaults list and tells its observer whenever
// that list changes. It owns its watcher, so nothing is watched once it is gone.
class CAppearanceMonitor : public QObject
{
    Q_OBJECT

public:
    CAppearanceMonitor();
    ~CAppearanceMonitor() override;

    // Starts watching the global defaults list and the folder it lives in. False when neither can
    // be watched yet; the monitor still answers isDarkMode().
    bool init();
    void setObserver(CAppearanceObserver* observer);
    // "AppleInterfaceStyle" holds a string equal to "dark" in any case; anything else is light.
    bool isDarkMode() const;
    // Tells the observer the current appearance, changed or not.
    void updateDarkMode();

private:
    void onFileChanged();
    void onFolderChanged();
    // An atomic replace of the list takes the old file off the watch: put the new one on.
    void watchListFile();

    CAppearanceObserver* m_pObserver = nullptr;
    QFileSystemWatcher* m_pWatcher;
};

// What a window holds to follow the system appearance.
class CAppearanceObserver : public QObject
{
    Q_OBJECT

public:
    explicit CAppearanceObserver(QObject* parent);
    ~CAppearanceObserver() override;

    bool isDarkMode() const;

signals:
    void signal_appearanceChanged(bool darkMode);

private:
    std::unique_ptr<CAppearanceMonitor> m_pMonitor;
};
