#pragma once

#include <QSslCertificate>
#include <QString>
#include <QTemporaryDir>

// A throwaway certificate authority and a server certificate it signed for 127.0.0.1 and
// localhost, made with the openssl command for one test. Nothing trusts the authority until a
// test says so with trustInThisProcess(), and then only that test process does.
class TestCertificates
{
public:
    bool generate();
    QString errorString() const { return m_error; }

    QString authorityPath() const;
    QString certificatePath() const;
    QString keyPath() const;

    // Adds the authority to this process's default TLS configuration (which new requests copy).
    void trustInThisProcess() const;
    // Puts the default TLS configuration back as it was before trustInThisProcess().
    static void forgetTrust();

private:
    bool run(const QStringList &arguments);

    QTemporaryDir m_dir;
    QString m_error;
};
