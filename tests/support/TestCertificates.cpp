#include "TestCertificates.h"

#include <QFile>
#include <QList>
#include <QSslConfiguration>

namespace TestCertificates {
namespace {

QByteArray readPem(const QString& name)
{
    QFile file(folder() + "/" + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("test certificate missing: %s", qPrintable(file.fileName()));
    return file.readAll();
}

} // namespace

QString folder()
{
    return QStringLiteral(KELVRIN_TEST_CERT_DIR);
}

QSslCertificate authority()
{
    return QSslCertificate(readPem("test-authority.pem"));
}

QSslCertificate serverCertificate(bool trusted)
{
    return QSslCertificate(readPem(trusted ? "server.pem" : "untrusted-server.pem"));
}

QSslKey serverKey(bool trusted)
{
    return QSslKey(readPem(trusted ? "server.key" : "untrusted-server.key"), QSsl::Ec);
}

void trustTestAuthority()
{
    trustAuthorityFile(folder() + "/test-authority.pem");
}

bool trustAuthorityFile(const QString& pemFile)
{
    const QList<QSslCertificate> authorities = QSslCertificate::fromPath(pemFile);
    if (authorities.isEmpty())
        return false;
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setCaCertificates(authorities);
    QSslConfiguration::setDefaultConfiguration(configuration);
    return true;
}

} // namespace TestCertificates
