#pragma once

#include "secretstore.h"

#include <QCoreApplication>

#include <map>

// The keyring of the tests: a map, answering on the next turn of the event loop as a real
// keyring does.
class FakeSecrets : public MyData::SecretStore {
public:
    void read(const QString &name, Read done) override
    {
        const auto it = values.find(name);
        const bool found = it != values.end();
        const QString secret = found ? it->second : QString();
        QMetaObject::invokeMethod(qApp, [=] { done(found, secret, QString()); },
                                  Qt::QueuedConnection);
    }
    void write(const QString &name, const QString &secret, Done done) override
    {
        if (!refusal.isEmpty()) {
            done(false, refusal);
            return;
        }
        values[name] = secret;
        done(true, QString());
    }
    void remove(const QString &name, Done done) override
    {
        values.erase(name);
        done(true, QString());
    }
    std::map<QString, QString> values;
    QString refusal; // set: every write is refused with it, as a locked keyring refuses
};
