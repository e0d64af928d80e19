#pragma once

#include <QSslCertificate>
#include <QSslKey>
#include <QString>

// The certificates that the build makes for loopback HTTPS (see make-test-certificates.sh).
namespace TestCertificates {

QString folder();
QSslCertificate authority();
// `trusted`: signed by the test authority; otherwise by an authority that nobody trusts.
QSslCertificate serverCertificate(bool trusted);
QSslKey serverKey(bool trusted);

// Makes the process-wide default TLS configuration trust the test authority and nothing else.
void trustTestAuthority();
// Trusts the authority in `pemFile` the same way; false when it cannot be read.
bool trustAuthorityFile(const QString& pemFile);

} // namespace TestCertificates
