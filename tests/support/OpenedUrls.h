#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

// While it lives, every web address the code under test opens through QDesktopServices::openUrl is
// recorded here instead of reaching a browser.
class OpenedUrls : public QObject
{
    Q_OBJECT

public:
    OpenedUrls();
    ~OpenedUrls() override;

    const QList<QUrl>& urls() const { return m_urls; }

public slots:
    void open(const QUrl& url);

private:
    QList<QUrl> m_urls;
};
