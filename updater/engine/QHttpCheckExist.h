#pragma once

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;

// Fetches a URL once and tells whether the answer is the update service's short reply that the
// item is not available.
class QHttpCheckExist : public QObject
{
    Q_OBJECT
public:
    QHttpCheckExist(QObject* parent, QString url);

    // Waits for the whole answer, at most 90 seconds; the answer is then in isNotAvailable().
    bool checkExit();
    bool isNotAvailable() const { return m_bNotAvailable; }

    // Test seam: the bound that is 90 seconds in a real run.
    void setTimeoutInterval(int timeoutMs) { m_timeoutMs = timeoutMs; }

public slots:
    void readyRead();

private:
    bool isShortReply(QNetworkReply* reply) const;

    QUrl m_url;
    QNetworkAccessManager* m_manager;
    QPointer<QNetworkReply> m_reply;
    bool m_bNotAvailable = false;
    bool m_bSawNotAvailable = false;
    int m_hopLengthCount = 0;
    int m_timeoutMs;
};
