#include "remindersecrets.h"

#include "reminderssettings.h"

#include <QEventLoop>

#include <memory>

namespace Reminders {

void readSecrets(MyData::SecretStore &store,
                 std::function<void(const Secrets &, const QString &error)> done)
{
    auto secrets = std::make_shared<Secrets>();
    auto errors = std::make_shared<QString>();
    store.read(QLatin1String(kMailSecret), [&store, secrets, errors, done](bool found,
                                                                            const QString &secret,
                                                                            const QString &error) {
        secrets->mailPassword = secret;
        secrets->mailPasswordFound = found;
        *errors = error;
        store.read(QLatin1String(kSmsSecret),
                   [secrets, errors, done](bool found, const QString &secret, const QString &error) {
                       secrets->smsKey = secret;
                       secrets->smsKeyFound = found;
                       if (errors->isEmpty())
                           *errors = error;
                       done(*secrets, *errors);
                   });
    });
}

Secrets readSecretsNow(MyData::SecretStore &store, QString *error)
{
    QEventLoop loop;
    Secrets out;
    bool finished = false;
    readSecrets(store, [&](const Secrets &s, const QString &e) {
        out = s;
        if (error)
            *error = e;
        finished = true;
        loop.quit();
    });
    if (!finished)
        loop.exec();
    return out;
}

} // namespace Reminders
