#pragma once

#include <QObject>
#include <QString>

#include <functional>

// Where the subscription key is kept: the desktop's keyring, never the practice's database or
// folder. Every call answers through its callback, on the thread's event loop, since the
// keyring may ask the person to unlock it.
namespace MyData {

class SecretStore {
public:
    virtual ~SecretStore() = default;
    // found is false when nothing is stored (or the keyring cannot be reached: error says so).
    using Read = std::function<void(bool found, const QString &secret, const QString &error)>;
    using Done = std::function<void(bool ok, const QString &error)>;
    virtual void read(const QString &name, Read done) = 0;
    virtual void write(const QString &name, const QString &secret, Done done) = 0;
    virtual void remove(const QString &name, Done done) = 0;
};

// The desktop's keyring through QtKeychain (the Secret Service on Linux desktops), under the
// service name given: the e-books' by default.
class KeychainSecretStore : public SecretStore {
public:
    explicit KeychainSecretStore(QString service = QLatin1String(kService))
        : m_service(std::move(service))
    {}
    void read(const QString &name, Read done) override;
    void write(const QString &name, const QString &secret, Done done) override;
    void remove(const QString &name, Done done) override;

    static constexpr char kService[] = "Orvanta e-books (myDATA)";

private:
    QString m_service;
};

// The name the key is kept under: one per user of the service.
QString keyName(const QString &user);

} // namespace MyData
