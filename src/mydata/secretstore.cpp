#include "secretstore.h"

#include <qt6keychain/keychain.h>

namespace MyData {

QString keyName(const QString &user)
{
    return QStringLiteral("subscription-key:%1").arg(user);
}

void KeychainSecretStore::read(const QString &name, Read done)
{
    auto *job = new QKeychain::ReadPasswordJob(m_service);
    job->setKey(name);
    QObject::connect(job, &QKeychain::Job::finished, [job, done = std::move(done)] {
        if (job->error() == QKeychain::NoError)
            done(true, job->textData(), QString());
        else if (job->error() == QKeychain::EntryNotFound)
            done(false, QString(), QString());
        else
            done(false, QString(), job->errorString());
    });
    job->start(); // the job deletes itself when finished
}

void KeychainSecretStore::write(const QString &name, const QString &secret, Done done)
{
    auto *job = new QKeychain::WritePasswordJob(m_service);
    job->setKey(name);
    job->setTextData(secret);
    QObject::connect(job, &QKeychain::Job::finished, [job, done = std::move(done)] {
        done(job->error() == QKeychain::NoError, job->errorString());
    });
    job->start();
}

void KeychainSecretStore::remove(const QString &name, Done done)
{
    auto *job = new QKeychain::DeletePasswordJob(m_service);
    job->setKey(name);
    QObject::connect(job, &QKeychain::Job::finished, [job, done = std::move(done)] {
        done(job->error() == QKeychain::NoError || job->error() == QKeychain::EntryNotFound,
             job->errorString());
    });
    job->start();
}

} // namespace MyData
